// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/AboutDialog.h"

#include "forms/Icons.h"
#include "records/Messages.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutDialog");
    setWindowTitle(msg::kCaption);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    setModal(true);

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName("picIcon");
    picIcon->setPixmap(AppIcon().pixmap(48, 48));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* lblTitle = new QLabel(msg::kCaption, this);
    lblTitle->setObjectName("lblTitle");
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    auto* lblDescription = new QLabel(msg::kAboutDescription, this);
    lblDescription->setObjectName("lblDescription");
    lblDescription->setTextFormat(Qt::PlainText); // keeps the two blanks before "in"
    lblDescription->setWordWrap(true);
    lblDescription->setFixedWidth(340);

    auto* lblCredits = new QLabel(QString::fromLatin1(msg::kAboutCredits), this);
    lblCredits->setObjectName("lblCredits");
    lblCredits->setTextFormat(Qt::PlainText);
    lblCredits->setWordWrap(true);
    lblCredits->setFixedWidth(340);

    auto* cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(18, 18, 18, 14);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(10);
    grid->addWidget(picIcon, 0, 0, 2, 1);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblDescription, 1, 1);
    grid->addWidget(lblCredits, 2, 1);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    grid->addLayout(buttons, 3, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}
