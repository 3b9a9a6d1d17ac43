#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class QMessageBox;

namespace testing {

// Waits (polling the event loop) for the next modal widget other than the ones already
// open, then runs the action on it. Returns at once; the action runs from the event loop,
// typically while the code under test sits in the modal's exec(). A modal that does not
// open and become active within the timeout fails the test and closes what is open.
void OnNextModal(std::function<void(QWidget *)> action, int timeoutMs = 30000);
// Waits (polling the event loop, whichever loop runs) until the condition holds, then runs
// the action; a condition that never holds within the timeout fails the test.
void When(std::function<bool()> condition, std::function<void()> action, int timeoutMs = 30000);
// Drops every wait that has not acted yet (call from a test's cleanup()).
void CancelPendingModals();

// What a message box showed, and a helper that records it and presses OK.
struct ShownMessage {
    bool shown = false;
    QString title;
    QString text;
    int icon = 0;
    int buttons = 0;
};
void AnswerNextMessage(ShownMessage *record);

// Clicks a widget as a user would: press (which moves the focus), then release.
void Click(QWidget *widget);

// The ways a user closes a window: its "cmdExit" button, its "mnuExit" menu item, its close
// box. AddClosingRows adds the column "how" and a row for each; CloseBy closes that way.
void AddClosingRows();
void CloseBy(const QString &how, QWidget *window);

// The object names of the controls in the window that cut their text off: a label whose text
// does not fit it, a button whose caption does not fit it, or a control that sticks out of its
// container.
QStringList CutTexts(QWidget *window);

// The object names of the controls whose text does not read against what lies behind it
// (contrast below platform::ReadableContrast) in the window as drawn, each with the contrast
// measured: labels, frame captions, buttons, fields, menu bar items, the grid's headers and cells.
QStringList UnreadableTexts(QWidget *window);

// Each window of the program by name, made as it opens.
struct WindowMaker {
    const char *name;
    std::function<QWidget *()> make;
};
QList<WindowMaker> ProgramWindows();

// The object names of the controls in the window that take the focus but give a screen
// reader no name.
QStringList UnnamedControls(QWidget *window);

// The names of the widgets the Tab key visits, in order, starting at the given one.
QStringList TabOrder(QWidget *first);

// The text a control shows: a label's or a button's text, a frame's title, a field's text;
// empty for any other control.
QString Caption(const QWidget *control);

} // namespace testing
