#include "input/EntryEditor.h"

#include "platform/TextBox.h"

namespace input {

void EntryEditor::setCurrent(platform::TextBox *box, Field field)
{
    m_box = box;
    m_field = field;
}

void EntryEditor::insert(const QString &text)
{
    if (!m_box)
        return;
    m_box->setSelText(text);
    m_box->SetFocus();
}

void EntryEditor::insertOperator(const QString &caption)
{
    if (caption == QLatin1String("%"))
        insert(QStringLiteral(" Mod "));
    else if (caption == QLatin1String("Neg"))
        insert(QStringLiteral("-"));
    else
        insert(caption);
}

platform::TextBox *EntryEditor::equationBox()
{
    if (m_box && m_field == Field::Range) {
        m_box->SetFocus();
        return nullptr;
    }
    return m_box.data();
}

void EntryEditor::insertArgument()
{
    if (equationBox())
        insert(QStringLiteral("X"));
}

void EntryEditor::insertFunction(const QString &name)
{
    if (platform::TextBox *box = equationBox())
        box->setSelText(name + QLatin1Char('('));
}

void EntryEditor::clear()
{
    if (!m_box)
        return;
    m_box->setText(QString());
    m_box->SetFocus();
}

void EntryEditor::backspace()
{
    erase(Side::Before);
}

void EntryEditor::deleteForward()
{
    erase(Side::After);
}

void EntryEditor::erase(Side side)
{
    platform::TextBox *box = m_box.data();
    if (!box || box->text().isEmpty())
        return;
    const int caret = box->SelStart();
    // The character removed: the one before the caret or the one after it.
    const int at = side == Side::Before ? caret - 1 : caret;
    if (box->SelLength() > 0) {
        box->setSelText(QString());
    } else if (at >= 0 && at < box->text().size()) {
        QString t = box->text();
        t.remove(at, 1);
        box->setText(t);
        box->setSelStart(static_cast<short>(at));
    }
    box->SetFocus();
}

} // namespace input
