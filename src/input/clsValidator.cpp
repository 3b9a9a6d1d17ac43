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

// Keeps the digits and the first point in their order; a kind-1 text that held a minus
// anywhere gets one in front. The text is written back every time.
void clsValidator::RunCheck()
{
    if (!m_box || (m_kind != 1 && m_kind != 2))
        return;
    const QString s = m_box->text();
    QString result;
    result.reserve(s.size() + 1);
    if (m_kind == 1 && s.contains(QLatin1Char('-')))
        result += QLatin1Char('-');
    bool pointSeen = false;
    for (const QChar c : s) {
        if (c == QLatin1Char('.')) {
            if (!pointSeen)
                result += c;
            pointSeen = true;
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            result += c;
        }
    }
    m_box->setTextKeepCaret(result);
}

std::optional<double> CleanToNumber(clsValidator &validator, platform::TextBox *box)
{
    validator.SetCheck(box, 1);
    box->setText(validator.GetTxtBox()->text());
    if (box->text().isEmpty())
        return std::nullopt;
    return platform::LeadingNumber(box->text());
}
