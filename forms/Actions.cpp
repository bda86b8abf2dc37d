// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/Actions.h"

#include <QAction>
#include <QPushButton>

QAction* MakeAction(QObject* parent, const char* caption, const char* name,
                    QKeySequence::StandardKey shortcut) {
    auto* action = new QAction(QString::fromLatin1(caption), parent);
    action->setObjectName(QString::fromLatin1(name));
    if (shortcut != QKeySequence::UnknownKey)
        action->setShortcuts(shortcut);
    return action;
}

void BindButton(QPushButton* button, QAction* action) {
    button->setEnabled(action->isEnabled());
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::enabledChanged, button, &QWidget::setEnabled);
}
