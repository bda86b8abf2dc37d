// SPDX-License-Identifier: AGPL-3.0-or-later
// A one-line text box whose every way in passes a filter: typed keys one by one, and pasted,
// dropped or composed text as a whole. A refused paste or drop leaves the text untouched. A length
// limit is checked the same way, before the text changes, so text is refused rather than cut.
#pragma once

#include <QLineEdit>

#include <functional>

class FilteredTextBox : public QLineEdit {
    Q_OBJECT
  public:
    // Receives the character code of a typed key; setting it to 0 discards the key.
    using KeyFilter = std::function<void(int& code)>;
    // Receives text about to be inserted by any other route; false refuses it whole. The check
    // tells the user why itself.
    using TextCheck = std::function<bool(const QString& text)>;

    explicit FilteredTextBox(QWidget* parent = nullptr);

    void SetFilter(KeyFilter onKey, TextCheck onInsert);
    // Refuses any key, paste, drop or composition that would make the text longer than `maxChars`
    // characters, calling `onRefused` to tell the user. QLineEdit's own limit is kept above it, so
    // it never cuts first.
    void SetLengthLimit(int maxChars, std::function<void()> onRefused);

    // The character a key event types, as a code (control characters included: Enter 13, Ctrl+V
    // 22), or -1 when the key types nothing (arrows, Home, Delete, Tab).
    static int CharacterCode(const QKeyEvent& event);

    // Pastes the clipboard if the filter allows its text.
    void PasteChecked();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

  private:
    bool Accepts(const QString& text) const;
    // Whether the text may grow by `added` characters in place of `replaced` ones; tells the user
    // when not.
    bool Fits(qsizetype added, qsizetype replaced) const;

    KeyFilter onKey_;
    TextCheck onInsert_;
    int maxChars_ = -1;
    std::function<void()> onTooLong_;
};
