#include "platform/Program.h"

#include "platform/Accessibility.h"
#include "platform/AppIcon.h"
#include "platform/AppInfo.h"

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QMessageBox>
#include <QPixmapCache>
#include <QPointer>
#include <QWidget>

#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace platform {

namespace {

// Event processing (Qt's drawing among it) can leave the upper halves of the processor's
// vector registers in use. Until they are cleared, every call into the math library's vector
// code (sin, pow, ...) pays a state transition; on our machines that made a plot's samples
// twice as slow. Clearing them after each pass of event processing costs one instruction.
#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) void zeroUpperVectors()
{
    _mm256_zeroupper();
}
#endif

void clearUpperVectors()
{
#if defined(__x86_64__) || defined(__i386__)
    // The instruction exists only on processors with AVX.
    static const bool hasAvx = (__builtin_cpu_init(), __builtin_cpu_supports("avx"));
    if (hasAvx)
        zeroUpperVectors();
#endif
}

bool g_ending = false;

// DoEvents()'s time slice: when its last yield ended, and whether the next call yields at once.
YieldClock g_yieldClock;
std::chrono::steady_clock::time_point g_lastYieldEnd;
bool g_yieldAtOnce = true;

std::chrono::steady_clock::time_point yieldClockNow()
{
    return g_yieldClock ? g_yieldClock() : std::chrono::steady_clock::now();
}

// Quits a modal window's event loop when the window closes: a hide by the program (close()
// hides the window), not one by the window manager (minimising, another workspace), which
// arrives as a spontaneous hide. It lives on the stack beside the loop, so it never
// outlives the loop it ends.
class ModalWatcher : public QObject
{
public:
    ModalWatcher(QWidget *window, QEventLoop &loop)
        : m_window(window), m_loop(loop)
    {
        window->installEventFilter(this);
    }
    ~ModalWatcher() override
    {
        if (m_window)
            m_window->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Hide && !event->spontaneous())
            m_loop.quit();
        return false;
    }

private:
    QPointer<QWidget> m_window;
    QEventLoop &m_loop;
};

// Sent to a window when a window it showed with ShowModal has closed.
QEvent::Type ownerActivateEvent()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

constexpr const char *ActivatedProperty = "platformActivated";

} // namespace

void PrepareApplication()
{
    QApplication::setApplicationName(AppTitle());
    QApplication::setApplicationVersion(QStringLiteral(TARNWICK_VERSION));
    QApplication::setStyle(QStringLiteral("Fusion"));
    InstallAccessibility();
}

void DoEvents()
{
    // A pass of event processing costs a system call even when nothing is pending; a run's
    // thousands of steps share one pass per slice, still far inside one screen frame.
    if (!g_yieldAtOnce && yieldClockNow() - g_lastYieldEnd < YieldSlice)
        return;
    g_yieldAtOnce = false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    clearUpperVectors();
    g_lastYieldEnd = yieldClockNow();
}

void SetYieldClock(YieldClock clock)
{
    g_yieldClock = std::move(clock);
    g_yieldAtOnce = true;
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

namespace {

void showModal(QWidget *window, QWidget *owner, const std::function<void()> &accepted)
{
    QPointer<QWidget> guard(window);
    if (g_ending) {
        delete window;
        return;
    }
    if (window->windowIcon().isNull())
        window->setWindowIcon(AppIcon());
    if (auto *dialog = qobject_cast<QDialog *>(window)) {
        if (dialog->exec() == QDialog::Accepted && accepted && guard && !g_ending)
            accepted();
    } else {
        QEventLoop loop;
        ModalWatcher watcher(window, loop);
        QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
        window->setWindowModality(Qt::ApplicationModal);
        window->show();
        window->activateWindow();
        if (!g_ending && window->isVisible())
            loop.exec();
    }
    // The window's own loops have unwound by now: deleting it is safe.
    delete guard.data();
    // The style keeps its drawings of controls keyed by palette. The closed window's palettes
    // went with it, so its drawings could never be used again and would pile up with every
    // opening; the windows still open are drawn afresh at their next paint.
    QPixmapCache::clear();
    if (owner && !g_ending) {
        owner->activateWindow();
        QEvent activate(ownerActivateEvent());
        QCoreApplication::sendEvent(owner, &activate);
    }
}

} // namespace

void ShowModal(QWidget *window, QWidget *owner)
{
    showModal(window, owner, {});
}

void ShowDialog(QDialog *dialog, QWidget *owner, const std::function<void()> &accepted)
{
    showModal(dialog, owner, accepted);
}

bool BecameActive(QWidget *window, QEvent *event)
{
    if (g_ending)
        return false;
    if (event->type() == ownerActivateEvent())
        return true;
    // Only the program's own first show counts; a restore from the task bar is spontaneous.
    if (event->type() != QEvent::Show || event->spontaneous() || window->property(ActivatedProperty).toBool())
        return false;
    window->setProperty(ActivatedProperty, true);
    return true;
}

NestedRun::NestedRun(int &depth)
    : m_depth(depth), m_admitted(depth < MaxNestedRuns)
{
    if (!m_admitted)
        return;
    ++m_depth;
    g_yieldAtOnce = true;
}

NestedRun::~NestedRun()
{
    if (m_admitted)
        --m_depth;
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

QString MessageTitle()
{
    return MakerName();
}

} // namespace platform
