#include "platform/Program.h"

#include "platform/AppIcon.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace platform {

namespace {

bool g_ending = false;

// Quits a modal window's event loop when the window is hidden or destroyed.
class ModalWatcher : public QObject
{
public:
    ModalWatcher(QWidget *window, QEventLoop *loop)
        : QObject(window), m_loop(loop)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Hide)
            m_loop->quit();
        return false;
    }

private:
    QEventLoop *m_loop;
};

} // namespace

void DoEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void EndProgram()
{
    if (g_ending)
        return;
    g_ending = true;
    QApplication::restoreOverrideCursor();
    // Closing handlers check ProgramEnding() and do nothing of their own.
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (w->isVisible())
            w->hide();
    }
    QCoreApplication::exit(0);
}

bool ProgramEnding()
{
    return g_ending;
}

void BeginProgram()
{
    g_ending = false;
}

void ShowModal(QWidget *window)
{
    QPointer<QWidget> guard(window);
    if (g_ending) {
        delete window;
        return;
    }
    if (window->windowIcon().isNull())
        window->setWindowIcon(AppIcon());
    if (auto *dialog = qobject_cast<QDialog *>(window)) {
        dialog->exec();
    } else {
        QEventLoop loop;
        new ModalWatcher(window, &loop);
        QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
        window->setWindowModality(Qt::ApplicationModal);
        window->show();
        window->activateWindow();
        if (!g_ending)
            loop.exec();
    }
    // The window's own loops have unwound by now: deleting it is safe.
    delete guard.data();
}

BusyPointer::BusyPointer()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyPointer::~BusyPointer()
{
    QApplication::restoreOverrideCursor();
}

void MsgBoxCritical(QWidget *parent, const QString &text, const QString &title)
{
    if (g_ending)
        return;
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QMessageBox box(QMessageBox::Critical, title.isEmpty() ? AppTitle() : title, shown,
                    QMessageBox::Ok, parent);
    box.exec();
}

QString AppTitle()
{
    return QStringLiteral("Tarnwick");
}

} // namespace platform
