// SPDX-License-Identifier: AGPL-3.0-or-later
// The length limit of the entry form's text fields: every way in refuses text that would pass it,
// with the message, before the text changes; nothing is ever cut.
#include "support/FormTestSupport.h"

#include "records/Messages.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QMimeData>

namespace {

const QString kTooLong = QString::fromUtf8(msg::kTextTooLong);

void Compose(QWidget* target, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(target, &event);
}

} // namespace

TEST_F(FormTest, TextFieldsRefuseTextBeyondTheLimitByEveryRoute) {
    const int limit = static_cast<int>(kMaxTextLength);
    const QString almost(limit - 2, 'a');
    const struct {
        const char* route;
        std::function<void(FilteredTextBox*, const QString&)> insert;
    } routes[] = {
        {"paste",
         [](FilteredTextBox* box, const QString& text) {
             QGuiApplication::clipboard()->setText(text);
             box->PasteChecked();
         }},
        {"drop", [](FilteredTextBox* box, const QString& text) { DropText(box, text); }},
        {"compose", [](FilteredTextBox* box, const QString& text) { Compose(box, text); }},
        {"typing", [](FilteredTextBox* box, const QString& text) { QTest::keyClicks(box, text); }},
    };
    for (FilteredTextBox* box :
         {Box(*form, "txtName"), Box(*form, "txtCity"), Box(*form, "txtState"), Box(*form, "txtCountry")}) {
        for (const auto& r : routes) {
            const std::string what = box->objectName().toStdString() + " " + r.route;
            box->setText(almost);
            box->setFocus();
            box->end(false);
            fake.messages.clear();
            // Three letters where two fit: refused whole (typing keeps what fitted), with the message.
            r.insert(box, "bcd");
            const QString expected = QString(r.route) == "typing" ? almost + "bc" : almost;
            EXPECT_EQ(box->text(), expected) << what;
            EXPECT_EQ(fake.MessageTexts(), QStringList{kTooLong}) << what;
            EXPECT_EQ(QApplication::focusWidget(), box) << what;
            // Up to the limit goes in whole and says nothing.
            box->setText(almost);
            box->end(false);
            fake.messages.clear();
            r.insert(box, "bc");
            EXPECT_EQ(box->text().size(), limit) << what; // a drop goes in where it lands
            EXPECT_TRUE(box->text().contains("bc")) << what;
            EXPECT_TRUE(fake.messages.empty()) << what;
        }
        // Text that replaces a selection counts without it.
        box->setText(almost + "xy");
        box->setSelection(0, 5);
        QGuiApplication::clipboard()->setText("Hello");
        box->PasteChecked();
        EXPECT_EQ(box->text(), "Hello" + QString(limit - 7, 'a') + "xy");
        // A paste far beyond the field's own limit is refused, never cut to it.
        box->clear();
        fake.messages.clear();
        QGuiApplication::clipboard()->setText(QString(40000, 'z'));
        box->PasteChecked();
        EXPECT_TRUE(box->text().isEmpty());
        EXPECT_EQ(fake.MessageTexts(), QStringList{kTooLong});
    }
}
