#pragma once

#include <QString>

class QWidget;

namespace platform {

// Lets the user interface process pending events (repaint, input, other windows).
// Long loops call it once per step and then check whether they must stop.
void DoEvents();

// Ends the program: every event loop stops, every window closes without running its
// own closing handlers, and ProgramEnding() is true from then on. No event loop of the
// process runs again afterwards.
void EndProgram();
bool ProgramEnding();
// A new main window starts a new program session (tests create several in one process).
void BeginProgram();

// Shows a window modally with its own event loop and returns when it has closed. The window
// is deleted afterwards, so the next showing creates it afresh. Returns at once when the
// program is ending.
void ShowModal(QWidget *window);

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

} // namespace platform
