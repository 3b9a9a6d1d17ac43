// The main window's range fields: cleaned to a number each time the user leaves one.
#include "main/frmMain.h"

#include "input/clsValidator.h"
#include "platform/TextBox.h"

void frmMain::cleanRangeField(platform::TextBox *box, short kind)
{
    if (m_validator) {
        m_validator->SetCheck(box, kind);
        box->setTextKeepCaret(m_validator->GetTxtBox()->text());
    }
    m_currentEntryBox = box;
}

void frmMain::txtFrom_LostFocus()
{
    cleanRangeField(txtFrom, 1);
}

void frmMain::txtTo_LostFocus()
{
    cleanRangeField(txtTo, 1);
}

void frmMain::txtInc_LostFocus()
{
    cleanRangeField(txtInc, 2);
}

bool frmMain::isRangeField(const platform::TextBox *box) const
{
    return box == txtFrom || box == txtTo || box == txtInc;
}
