#include "input/clsValidator.h"

#include "platform/Conversions.h"
#include "platform/TextBox.h"

clsValidator::~clsValidator()
{
    m_box = nullptr;
}

void clsValidator::SetCheck(platform::TextBox *txtBox, short iTypeOfCheck)
{
    m_box = txtBox;
    m_kind = iTypeOfCheck;
}

platform::TextBox *clsValidator::GetTxtBox()
{
    RunCheck();
    return m_box;
}

// The text is written back every time; an unchanged text keeps the caret and selection.
void clsValidator::RunCheck()
{
    if (!m_box || (m_kind != 1 && m_kind != 2))
        return;
    m_box->setTextKeepCaret(platform::CleanNumber(m_box->text(), m_kind));
}

std::optional<double> CleanToNumber(clsValidator &validator, platform::TextBox *box)
{
    validator.SetCheck(box, 1);
    box->setText(validator.GetTxtBox()->text());
    if (box->text().isEmpty())
        return std::nullopt;
    return platform::LeadingNumber(box->text());
}
