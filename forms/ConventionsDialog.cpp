// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/ConventionsDialog.h"

#include "forms/Settings.h"
#include "pipeline/ConventionKeys.h"
#include "platform/Platform.h"
#include "records/Messages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

#include <string>

namespace {

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// "true node" as a choice: "True node".
QString Choice(std::string_view name) {
    QString text = Latin1(name);
    text[0] = text[0].toUpper();
    return text;
}

template <class T> T* Named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLineEdit* UserBox(const char* name, const char* placeholder, int characters, QWidget* parent) {
    auto* box = Named(new QLineEdit(parent), name);
    box->setPlaceholderText(QString::fromLatin1(placeholder));
    box->setMaxLength(characters + 4);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(QString(characters + 1, QChar('0'))) + 12);
    return box;
}

// The position of the user's own ayanamsa in the list, after the named ones.
constexpr int kUserRow = static_cast<int>(kNamedAyanamsas.size());

} // namespace

ConventionsDialog::ConventionsDialog(const Conventions& conventions, bool precise, QWidget* parent)
    : QDialog(parent), precise_(precise), chosen_(conventions) {
    setObjectName("ConventionsDialog");
    setWindowTitle("Conventions");
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setModal(true);

    auto* form = new QFormLayout(this);
    form->setSizeConstraint(QLayout::SetFixedSize);
    auto* lblClassic = Named(new QLabel(QString::fromLatin1(kClassicKeepsItsOwn), this), "lblClassic");
    lblClassic->setWordWrap(true);
    lblClassic->setVisible(!precise);
    form->addRow(lblClassic);

    cboAyanamsa = Named(new QComboBox(this), "cboAyanamsa");
    for (const AyanamsaWords& words : kNamedAyanamsas)
        cboAyanamsa->addItem(Latin1(words.name));
    cboAyanamsa->addItem("Your own");
    cboAyanamsa->setCurrentIndex(
        conventions.ayanamsa == Ayanamsa::User ? kUserRow : static_cast<int>(conventions.ayanamsa));
    form->addRow("&Ayanamsa:", cboAyanamsa);

    auto* user = new QHBoxLayout();
    txtUserDegrees = UserBox("txtUserDegrees", "DD", 2, this);
    txtUserMinutes = UserBox("txtUserMinutes", "MM", 2, this);
    txtUserSeconds = UserBox("txtUserSeconds", "SS.ss", 9, this);
    txtUserDate = UserBox("txtUserDate", "YYYY-MM-DD", 10, this);
    user->addWidget(txtUserDegrees);
    user->addWidget(new QLabel(QString::fromUtf8("\u00B0"), this));
    user->addWidget(txtUserMinutes);
    user->addWidget(new QLabel("'", this));
    user->addWidget(txtUserSeconds);
    user->addWidget(new QLabel("\"  on", this));
    user->addWidget(txtUserDate);
    user->addStretch(1);
    auto* lblUser = Named(new QLabel("Your &own:", this), "lblUser");
    lblUser->setBuddy(txtUserDegrees);
    form->addRow(lblUser, user);
    if (conventions.ayanamsa == Ayanamsa::User) {
        const UserAyanamsa& u = conventions.user;
        txtUserDegrees->setText(QString::number(u.degrees));
        txtUserMinutes->setText(QString::number(u.minutes));
        txtUserSeconds->setText(QString::fromStdString(u.SecondsText()));
        txtUserDate->setText(QString::fromStdString(u.DateText()));
    }
    const QString userTip = "Your own ayanamsa: its value at 0h universal time of the date, from which it "
                            "moves with precession.";
    for (QLineEdit* box : {txtUserDegrees, txtUserMinutes, txtUserSeconds, txtUserDate})
        box->setToolTip(userTip);

    cboNode = Named(new QComboBox(this), "cboNode");
    for (const NodeWords& words : kNodes)
        cboNode->addItem(Choice(words.name));
    cboNode->setCurrentIndex(static_cast<int>(conventions.node));
    form->addRow("&Node:", cboNode);

    cboPeriodYear = Named(new QComboBox(this), "cboPeriodYear");
    for (const PeriodYearWords& words : kPeriodYears)
        cboPeriodYear->addItem(Choice(words.name));
    cboPeriodYear->setCurrentIndex(static_cast<int>(conventions.year));
    form->addRow("&Period year:", cboPeriodYear);

    ashtakavargaPlacesList = Named(new QComboBox(this), "ashtakavargaPlacesList");
    for (const AshtakavargaPlacesWords& words : kAshtakavargaPlaces)
        ashtakavargaPlacesList->addItem(Latin1(words.name));
    ashtakavargaPlacesList->setCurrentIndex(static_cast<int>(conventions.ashtakavarga));
    ashtakavargaPlacesList->setToolTip(QString::fromLatin1(kPlacesTip));
    form->addRow("A&shtakavarga places:", ashtakavargaPlacesList);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Named(buttons->button(QDialogButtonBox::Ok), "cmdOK");
    Named(buttons->button(QDialogButtonBox::Cancel), "cmdCancel");
    connect(buttons, &QDialogButtonBox::accepted, this, &ConventionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);

    if (!precise) {
        for (QWidget* choice :
             std::initializer_list<QWidget*>{cboAyanamsa, txtUserDegrees, txtUserMinutes, txtUserSeconds,
                                             txtUserDate, cboNode, cboPeriodYear}) {
            choice->setEnabled(false);
            choice->setToolTip(QString::fromLatin1(kClassicKeepsItsOwn));
        }
    } else {
        connect(cboAyanamsa, &QComboBox::currentIndexChanged, this, &ConventionsDialog::FollowAyanamsa);
        FollowAyanamsa();
    }
}

void ConventionsDialog::FollowAyanamsa() {
    const bool own = cboAyanamsa->currentIndex() == kUserRow;
    for (QLineEdit* box : {txtUserDegrees, txtUserMinutes, txtUserSeconds, txtUserDate})
        box->setEnabled(own);
}

std::optional<Conventions> ConventionsDialog::Read() {
    Conventions read = chosen_;
    read.ashtakavarga = static_cast<AshtakavargaPlaces>(ashtakavargaPlacesList->currentIndex());
    read.node = static_cast<LunarNode>(cboNode->currentIndex());
    read.year = static_cast<PeriodYear>(cboPeriodYear->currentIndex());
    const int row = cboAyanamsa->currentIndex();
    if (row != kUserRow) {
        read.ayanamsa = kNamedAyanamsas[static_cast<std::size_t>(row)].ayanamsa;
        read.user = {};
        return read;
    }
    const auto refuse = [](const char* message, QLineEdit* box) -> std::optional<Conventions> {
        platform::ShowMessage(QString::fromUtf8(message), platform::MessageIcon::Error);
        box->setFocus();
        box->selectAll();
        return std::nullopt;
    };
    // Field by field, in the order they stand, so that the message and the cursor name the first one
    // wrong; the forms are those the companion's key takes, so that what the dialog keeps it reads alike.
    const auto matches = [](QLineEdit* box, const char* pattern) {
        const QRegularExpression form(QRegularExpression::anchoredPattern(QString::fromLatin1(pattern)));
        return form.match(box->text().trimmed()).hasMatch();
    };
    UserAyanamsa user;
    if (!matches(txtUserDegrees, R"(\d{1,2})"))
        return refuse(msg::kUserDegrees, txtUserDegrees);
    user.degrees = txtUserDegrees->text().trimmed().toInt();
    if (user.degrees < kLeastUserAyanamsa || user.degrees > kMostUserAyanamsa)
        return refuse(msg::kUserDegrees, txtUserDegrees);
    if (!matches(txtUserMinutes, R"(\d{1,2})") || txtUserMinutes->text().trimmed().toInt() > 59)
        return refuse(msg::kUserMinutes, txtUserMinutes);
    user.minutes = txtUserMinutes->text().trimmed().toInt();
    if (!matches(txtUserSeconds, R"(\d{1,2}(\.\d{1,6})?)") ||
        txtUserSeconds->text().trimmed().toDouble() >= 60)
        return refuse(msg::kUserSeconds, txtUserSeconds);
    user.seconds = txtUserSeconds->text().trimmed().toDouble();
    // 40 degrees and some minutes.
    if (!user.Plausible())
        return refuse(msg::kUserDegrees, txtUserDegrees);
    if (!matches(txtUserDate, R"(\d{4}-\d{1,2}-\d{1,2})"))
        return refuse(msg::kUserDateForm, txtUserDate);
    const QStringList date = txtUserDate->text().trimmed().split('-');
    user.year = date[0].toInt();
    user.month = date[1].toInt();
    user.day = date[2].toInt();
    if (!UserDateReal(user))
        return refuse(msg::kUserNoSuchDate, txtUserDate);
    if (!UserYearKnown(user))
        return refuse(msg::kUserDateYears, txtUserDate);
    // The companion's reader has the last word, so that the dialog keeps nothing it would refuse.
    const std::string key = std::string(kUserAyanamsaKey) + ":" + std::to_string(user.degrees) + ":" +
                            std::to_string(user.minutes) + ":" +
                            txtUserSeconds->text().trimmed().toStdString() + "@" +
                            txtUserDate->text().trimmed().toStdString();
    if (ReadAyanamsaKey(key, read))
        return refuse(msg::kUserDegrees, txtUserDegrees);
    return read;
}

void ConventionsDialog::accept() {
    // Under the classic calculation only the ashtakavarga's places were offered.
    if (!precise_) {
        chosen_.ashtakavarga = static_cast<AshtakavargaPlaces>(ashtakavargaPlacesList->currentIndex());
    } else {
        const std::optional<Conventions> read = Read();
        if (!read)
            return;
        chosen_ = *read;
    }
    QDialog::accept();
}

std::optional<Conventions> ChooseConventions(QWidget* parent, const CalculationChoice& current) {
    ConventionsDialog dialog(current.conventions, current.calculation == Calculation::Precise, parent);
    platform::Os().ShowModal(dialog);
    if (dialog.result() != QDialog::Accepted || dialog.Chosen() == current.conventions)
        return std::nullopt;
    if (!Settings().setConventions(dialog.Chosen()))
        platform::ShowMessage(QString::fromLatin1(msg::kChoiceNotKept), platform::MessageIcon::Error);
    return dialog.Chosen();
}
