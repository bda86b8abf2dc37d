// SPDX-License-Identifier: AGPL-3.0-or-later
// The About box: the program's name, version and what it does.
#pragma once

#include <QDialog>

class AboutDialog : public QDialog {
    Q_OBJECT
  public:
    // Its parts are named picIcon, lblTitle, lblDescription, lblCredits and cmdOK.
    explicit AboutDialog(QWidget* parent = nullptr);
};
