// A one-line text box whose every way in passes a filter: typed keys one by one, and pasted,
// dropped or composed text as a whole. A refused paste or drop leaves the text untouched.
#pragma once

#include <QLineEdit>

#include <functional>

class FilteredTextBox : public QLineEdit {
    Q_OBJECT
  public:
    // Receives the character code of a typed key; setting it to 0 discards the key.
    using KeyPressHandler = std::function<void(int& keyAscii)>;
    // Receives text about to be inserted by any other route; false refuses it whole. The check
    // tells the user why itself.
    using TextCheck = std::function<bool(const QString& text)>;

    explicit FilteredTextBox(QWidget* parent = nullptr);

    void SetFilter(KeyPressHandler onKeyPress, TextCheck onInsert);

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

    KeyPressHandler onKeyPress_;
    TextCheck onInsert_;
};
