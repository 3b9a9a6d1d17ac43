#include "info/InfoDialog.h"

#include "platform/Controls.h"

#include <QKeyEvent>
#include <QLabel>
#include <QWindow>

InfoDialog::InfoDialog(const QString &name, const QString &caption, int clientWidthTwips,
                       int clientHeightTwips, bool escapeCloses)
    : QDialog(nullptr, platform::FixedDialogFlags)
    , m_escapeCloses(escapeCloses)
{
    setObjectName(name);
    platform::SetupForm(this, caption, clientWidthTwips, clientHeightTwips);
    setFixedSize(size());
}

bool InfoDialog::event(QEvent *event)
{
    // For an empty title the toolkit writes the program's name into the title bar; a blank
    // native title keeps the bar empty while the window's own title stays empty.
    if (event->type() == QEvent::Show && windowTitle().isEmpty() && windowHandle())
        windowHandle()->setTitle(QStringLiteral(" "));
    return QDialog::event(event);
}

void InfoDialog::keyPressEvent(QKeyEvent *event)
{
    if (!m_escapeCloses) {
        // Without a cancel button Esc does nothing. Without a default button an Enter that
        // reaches the dialog does nothing either: QDialog would press the first button that
        // ever had the focus, though a focused button presses itself before this.
        const bool enter = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier
            && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter);
        if (event->matches(QKeySequence::Cancel) || enter) {
            event->accept();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void SetSingleBorder(QLabel *label)
{
    label->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
}
