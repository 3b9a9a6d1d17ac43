#include "info/InfoDialog.h"

#include "platform/Controls.h"

#include <QKeyEvent>
#include <QLabel>

InfoDialog::InfoDialog(const QString &name, const QString &caption, int clientWidthTwips,
                       int clientHeightTwips, bool escapeCloses)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                           | Qt::WindowCloseButtonHint)
    , m_escapeCloses(escapeCloses)
{
    setObjectName(name);
    platform::SetupForm(this, caption, clientWidthTwips, clientHeightTwips);
    setFixedSize(size());
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

void SetBackColor(QWidget *control, const QColor &colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, colour);
    control->setPalette(palette);
    control->setAutoFillBackground(true);
}

void SetForeColor(QWidget *control, const QColor &colour)
{
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, colour);
    control->setPalette(palette);
}

void SetSingleBorder(QLabel *label)
{
    label->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
}
