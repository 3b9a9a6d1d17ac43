// The on-screen keypad and editing buttons: each acts on the current entry box, the
// field that last lost the focus (clicking a key takes the focus from the field first).
#include "main/frmMain.h"

#include "platform/TextBox.h"

#include <QPushButton>

void frmMain::txtFunc1_LostFocus()
{
    m_currentEntryBox = txtFunc1;
}

void frmMain::txtFunc2_LostFocus()
{
    m_currentEntryBox = txtFunc2;
}

void frmMain::txtFunc3_LostFocus()
{
    m_currentEntryBox = txtFunc3;
}

namespace {

// Replaces the selection of the box with the text and gives the box the focus.
void insertIntoBox(platform::TextBox *box, const QString &text)
{
    box->setSelText(text);
    box->SetFocus();
}

} // namespace

void frmMain::cmdNumbers_Click(int Index)
{
    if (m_currentEntryBox)
        insertIntoBox(m_currentEntryBox, QString::number(Index));
}

void frmMain::cmdPeriod_Click()
{
    if (m_currentEntryBox)
        insertIntoBox(m_currentEntryBox, QStringLiteral("."));
}

void frmMain::cmdOperators_Click(int Index)
{
    if (!m_currentEntryBox)
        return;
    const QString caption = cmdOperators[Index]->text();
    if (caption == QLatin1String("%"))
        insertIntoBox(m_currentEntryBox, QStringLiteral(" Mod "));
    else if (caption == QLatin1String("Neg"))
        insertIntoBox(m_currentEntryBox, QStringLiteral("-"));
    else
        insertIntoBox(m_currentEntryBox, caption);
}

void frmMain::cmdArgument_Click()
{
    if (!m_currentEntryBox)
        return;
    if (isRangeField(m_currentEntryBox)) {
        m_currentEntryBox->SetFocus();
        return;
    }
    insertIntoBox(m_currentEntryBox, QStringLiteral("X"));
}

void frmMain::cmdIntrinsic_Click(int Index)
{
    if (!m_currentEntryBox)
        return;
    if (isRangeField(m_currentEntryBox)) {
        m_currentEntryBox->SetFocus();
        return;
    }
    // The function button keeps the focus after inserting its name.
    m_currentEntryBox->setSelText(cmdIntrinsic[Index]->text() + QLatin1Char('('));
}

void frmMain::cmdClear_Click()
{
    if (!m_currentEntryBox)
        return;
    m_currentEntryBox->setText(QString());
    m_currentEntryBox->SetFocus();
}

void frmMain::cmdBS_Click()
{
    platform::TextBox *box = m_currentEntryBox;
    if (!box || box->text().isEmpty())
        return;
    const int s = box->SelStart();
    if (box->SelLength() > 0) {
        box->setSelText(QString());
    } else if (s > 0) {
        QString t = box->text();
        t.remove(s - 1, 1);
        box->setText(t);
        box->setSelStart(static_cast<short>(s - 1));
    }
    box->SetFocus();
}

void frmMain::cmdDelete_Click()
{
    platform::TextBox *box = m_currentEntryBox;
    if (!box || box->text().isEmpty())
        return;
    const int s = box->SelStart();
    if (box->SelLength() > 0) {
        box->setSelText(QString());
    } else if (s < box->text().size()) {
        QString t = box->text();
        t.remove(s, 1);
        box->setText(t);
        box->setSelStart(static_cast<short>(s));
    }
    box->SetFocus();
}
