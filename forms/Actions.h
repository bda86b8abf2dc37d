// SPDX-License-Identifier: AGPL-3.0-or-later
// One QAction per command: the menu item, the tool button and the push buttons of a command all
// trigger it and are enabled with it, and its shortcut works wherever its window has the focus.
#pragma once

#include <QKeySequence>

class QAction;
class QObject;
class QPushButton;

// A command's action, with the caption its menu item shows and the object name tests find it by.
QAction* MakeAction(QObject* parent, const char* caption, const char* name,
                    QKeySequence::StandardKey shortcut = QKeySequence::UnknownKey);

// Makes the push button stand for the action: a click triggers it, and the button is enabled and
// disabled with it. The button keeps its own caption and access key.
void BindButton(QPushButton* button, QAction* action);
