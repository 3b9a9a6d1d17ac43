#pragma once

#include <QLineEdit>

namespace platform {

// A single-line text box with the caret and selection operations the windows use.
// Unlike a plain QLineEdit it keeps its caret and selection when it loses the focus,
// so a keypad button can act on what the user had selected.
class TextBox : public QLineEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);

    // Caret position: the number of characters in front of the caret (or the selection).
    short SelStart() const;
    void setSelStart(short start);
    short SelLength() const;
    // Replaces the selection (or inserts at the caret); the caret ends after the new text.
    void setSelText(const QString &text);
    void SetFocus();
    // Replaces the whole text, keeping the caret where it stood (or at the end if shorter);
    // the same text again leaves the caret and the selection untouched.
    void setTextKeepCaret(const QString &text);

signals:
    // Raised when the focus leaves the box, before the control receiving it reacts.
    void LostFocus();

protected:
    void focusOutEvent(QFocusEvent *event) override;
    // The window's save and print keys do nothing while a field has the focus, as the
    // field's own keys take precedence over the window's.
    bool event(QEvent *event) override;
};

} // namespace platform
