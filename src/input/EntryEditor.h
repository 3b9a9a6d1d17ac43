#pragma once

#include <QPointer>
#include <QString>

namespace platform {
class TextBox;
}

namespace input {

// What the keypad and the editing buttons do to the current entry box: the field that last
// lost the focus (clicking a key takes the focus from the field first). Without a current
// box every key does nothing.
class EntryEditor
{
public:
    // A range field takes numbers only: the X and function keys just give it the focus back.
    enum class Field { Range, Equation };

    // The box the keys act on from now on.
    void setCurrent(platform::TextBox *box, Field field);

    // Replaces the selection with the text and gives the box the focus.
    void insert(const QString &text);
    // An operator key's caption as inserted: " Mod " for "%", a minus for "Neg".
    void insertOperator(const QString &caption);
    // "X" into an equation.
    void insertArgument();
    // "Name(" into an equation; the function key keeps the focus.
    void insertFunction(const QString &name);
    // Empties the box.
    void clear();
    // Removes the selection, else the character before the caret (BS) or after it (DEL).
    void backspace();
    void deleteForward();

private:
    enum class Side { Before, After };
    void erase(Side side);
    // The box when it holds an equation; a range field just gets the focus back.
    platform::TextBox *equationBox();

    QPointer<platform::TextBox> m_box;
    Field m_field = Field::Equation;
};

} // namespace input
