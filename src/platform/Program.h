#pragma once

#include <QString>

#include <chrono>
#include <functional>

class QDialog;
class QEvent;
class QWidget;

namespace platform {

// Gives the application the program's name, version, look and what screen readers need;
// main() calls it first.
void PrepareApplication();

// Lets the user interface process pending events (repaint, input, other windows), on a time
// slice: it processes them when at least YieldSlice has passed since the end of its last
// yield, and otherwise returns after a clock read. A run's first call (see NestedRun) always
// yields, so whatever was queued before the run is handled before its first step. Long loops
// call it once per step and then check whether they must stop.
void DoEvents();
constexpr std::chrono::milliseconds YieldSlice{1};

// The clock DoEvents() reads for its slice; an empty one restores the steady clock. Tests put
// the yields at defined steps with a clock of their own.
using YieldClock = std::function<std::chrono::steady_clock::time_point()>;
void SetYieldClock(YieldClock clock);

// Ends the program: every event loop stops, every window closes without running its
// own closing handlers, and ProgramEnding() is true from then on. No event loop of the
// process runs again afterwards.
void EndProgram();
bool ProgramEnding();
// A new main window starts a new program session (tests create several in one process).
void BeginProgram();

// Shows a window modally with its own event loop and returns when it has closed. The window
// is deleted afterwards, so the next showing creates it afresh. Returns at once when the
// program is ending. The loop ends only when the window closes: minimising it or moving it
// to another workspace leaves it open. Its owner, the window that showed it, then becomes
// the program's active window again.
void ShowModal(QWidget *window, QWidget *owner = nullptr);

// Shows a dialog as ShowModal does, for an owner that reads the dialog's values: `accepted`
// runs when the dialog was closed by accept(), before it is deleted and before the owner
// becomes active again; never when the program is ending.
void ShowDialog(QDialog *dialog, QWidget *owner, const std::function<void()> &accepted);

// True when the event makes the window the program's active window from within the
// program: its first showing, and the closing of a window it showed with ShowModal.
// Returning from another application, a restore from the task bar or a message box
// closing are none of these. Never true while the program is ending.
bool BecameActive(QWidget *window, QEvent *event);

// The number of runs (tabulation or plot) that one window may have on the stack at once.
// Each press of the run's button during a run starts a nested run; past this bound the
// press is ignored, so the stack stays bounded however fast the button is pressed.
constexpr int MaxNestedRuns = 4;

// Counts one run on the stack for as long as it lives; not admitted (and not counted)
// when MaxNestedRuns runs are on the stack already. An admitted run starts here: the next
// DoEvents() yields at once.
class NestedRun
{
public:
    explicit NestedRun(int &depth);
    ~NestedRun();
    bool admitted() const { return m_admitted; }
    NestedRun(const NestedRun &) = delete;
    NestedRun &operator=(const NestedRun &) = delete;

private:
    int &m_depth;
    bool m_admitted;
};

// The application-wide busy pointer while an instance lives.
class BusyPointer
{
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

// A modal message box with the critical icon, a single OK button and the given title;
// a CR LF in the text breaks the line.
void MsgBoxCritical(QWidget *parent, const QString &text, const QString &title);

// The program's title, shown by message boxes that give none of their own.
QString AppTitle();
// The title of the program's own messages.
QString MessageTitle();

} // namespace platform
