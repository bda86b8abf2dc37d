// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/FilteredTextBox.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

FilteredTextBox::FilteredTextBox(QWidget* parent) : QLineEdit(parent) {}

void FilteredTextBox::SetFilter(KeyFilter onKey, TextCheck onInsert) {
    onKey_ = std::move(onKey);
    onInsert_ = std::move(onInsert);
}

int FilteredTextBox::CharacterCode(const QKeyEvent& event) {
    const int key = event.key();
    // Tab and Shift+Tab move the focus before any box sees them as characters.
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return -1;
    const Qt::KeyboardModifiers mods = event.modifiers();
    // Ctrl with a letter types a control character whatever text the system attached to it.
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return key - Qt::Key_A + 1;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Delete:
        return -1;
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty())
        return -1;
    return static_cast<int>(text.at(0).unicode());
}

void FilteredTextBox::SetLengthLimit(int maxChars, std::function<void()> onRefused) {
    maxChars_ = maxChars;
    onTooLong_ = std::move(onRefused);
    setMaxLength(32767); // QLineEdit's largest; it must never cut before the limit refuses
}

bool FilteredTextBox::Accepts(const QString& text) const {
    return !onInsert_ || onInsert_(text);
}

bool FilteredTextBox::Fits(qsizetype added, qsizetype replaced) const {
    if (maxChars_ < 0 || text().size() - replaced + added <= maxChars_)
        return true;
    if (onTooLong_)
        onTooLong_();
    return false;
}

void FilteredTextBox::PasteChecked() {
    if (isReadOnly())
        return;
    const QString pasted = QGuiApplication::clipboard()->text(QClipboard::Clipboard);
    if (Accepts(pasted) && Fits(pasted.size(), selectedText().size()))
        paste();
}

void FilteredTextBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste) && CharacterCode(*event) < 0) {
        // Shift+Insert: a paste without a character of its own.
        PasteChecked();
        event->accept();
        return;
    }
    int code = CharacterCode(*event);
    if (code >= 0 && onKey_) {
        onKey_(code);
        if (code == 0) {
            event->accept();
            return;
        }
    }
    // A key that types a character (not backspace, delete or a control key) adds one.
    if (code >= 32 && code != 127 && !isReadOnly() && !Fits(event->text().size(), selectedText().size())) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void FilteredTextBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's paste item is the one wired to paste(); it is rewired to the checked paste.
    for (QAction* action : menu->actions()) {
        // Both ways of wiring are undone, whichever the menu used.
        const bool byName = disconnect(action, SIGNAL(triggered()), this, SLOT(paste()));
        const bool byPointer = disconnect(action, &QAction::triggered, this, &QLineEdit::paste);
        if (byName || byPointer)
            connect(action, &QAction::triggered, this, &FilteredTextBox::PasteChecked);
    }
    menu->popup(event->globalPos());
}

void FilteredTextBox::dropEvent(QDropEvent* event) {
    if (event->mimeData() && event->mimeData()->hasText()) {
        const QString dropped = event->mimeData()->text();
        // Text moved within the box leaves its length as it was.
        const bool moved = event->source() == this && event->dropAction() == Qt::MoveAction;
        if (!Accepts(dropped) || !Fits(dropped.size(), moved ? dropped.size() : 0)) {
            event->ignore();
            return;
        }
    }
    QLineEdit::dropEvent(event);
}

void FilteredTextBox::mouseReleaseEvent(QMouseEvent* event) {
    // The middle button pastes the X11 selection.
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        const QString selection = QGuiApplication::clipboard()->text(QClipboard::Selection);
        if (!Accepts(selection) || !Fits(selection.size(), 0)) {
            event->accept();
            return;
        }
    }
    QLineEdit::mouseReleaseEvent(event);
}

void FilteredTextBox::inputMethodEvent(QInputMethodEvent* event) {
    const QString commit = event->commitString();
    const qsizetype replaced =
        event->replacementLength() > 0 ? event->replacementLength() : selectedText().size();
    if (!commit.isEmpty() && (!Accepts(commit) || !Fits(commit.size(), replaced))) {
        QInputMethodEvent withoutCommit(event->preeditString(), event->attributes());
        QLineEdit::inputMethodEvent(&withoutCommit);
        event->accept();
        return;
    }
    QLineEdit::inputMethodEvent(event);
}
