#include "platform/TextBox.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include <algorithm>

namespace platform {

TextBox::TextBox(QWidget *parent)
    : QLineEdit(parent)
{
    setMaxLength(32767);
}

short TextBox::SelStart() const
{
    return static_cast<short>(hasSelectedText() ? selectionStart() : cursorPosition());
}

void TextBox::setSelStart(short start)
{
    setCursorPosition(std::clamp<int>(start, 0, static_cast<int>(text().size())));
}

short TextBox::SelLength() const
{
    return static_cast<short>(selectedText().size());
}

void TextBox::setSelText(const QString &inserted)
{
    const int start = SelStart();
    QString t = text();
    t.replace(start, SelLength(), inserted);
    // The box never holds more than its limit, as with typing.
    if (t.size() > maxLength())
        return;
    setText(t);
    setCursorPosition(start + static_cast<int>(inserted.size()));
}

void TextBox::setTextKeepCaret(const QString &newText)
{
    if (newText == text())
        return;  // nothing to write: the caret and the selection stay as they are
    const int caret = SelStart();
    setText(newText);
    setCursorPosition(std::min<int>(caret, static_cast<int>(newText.size())));
}

void TextBox::SetFocus()
{
    setFocus(Qt::OtherFocusReason);
}

void TextBox::focusOutEvent(QFocusEvent *event)
{
    const int start = SelStart();
    const int length = SelLength();
    QLineEdit::focusOutEvent(event);
    // QLineEdit drops the selection on focus-out; put it back so it stays usable.
    if (length > 0)
        setSelection(start, length);
    else
        setCursorPosition(start);
    emit LostFocus();
}

bool TextBox::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Save) || key->matches(QKeySequence::Print)) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

} // namespace platform
