#pragma once

#include "platform/Fonts.h"
#include "platform/Twips.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QWidget>

#include <initializer_list>
#include <utility>

class QGroupBox;
class QLabel;
class QMainWindow;
class QPushButton;
class QRadioButton;

namespace platform {

class TextBox;

// Where a control sits in its container, in twips.
struct TwipsBox {
    int left, top, width, height;
};

// A fixed dialog: a title bar with a close box, no minimise or maximise box, not resizable.
// CustomizeWindowHint makes window managers leave out the boxes the flags do not name.
constexpr Qt::WindowFlags FixedDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint
    | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// Names and places a control: objectName, geometry from twips, font.
template <class W>
W *Place(W *widget, const QString &name, TwipsBox box, const QFont &font)
{
    widget->setObjectName(name);
    widget->setGeometry(TwipsRect(box.left, box.top, box.width, box.height));
    widget->setFont(font);
    return widget;
}

QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &caption, TwipsBox box,
                        const QFont &font = DefaultFont());
QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &caption, TwipsBox box,
                  const QFont &font = DefaultFont());
// A frame: a group box whose caption may be empty (no caption line is drawn then).
QGroupBox *MakeFrame(QWidget *parent, const QString &name, const QString &caption, TwipsBox box,
                     const QFont &captionFont = DefaultFont());
// Makes a frame (of MakeFrame) that draws a table as labels, a header label and a multi-line
// column label per column, read by screen readers as that table (see Frame::showTable).
void ShowTable(QGroupBox *frame, const QList<QLabel *> &headers, const QList<QLabel *> &columns);
TextBox *MakeTextBox(QWidget *parent, const QString &name, TwipsBox box,
                     const QFont &font = DefaultFont(), Qt::Alignment alignment = Qt::AlignLeft);
// Names each field after the label beside it for screen readers ("Start:" names it "Start")
// and makes the label its buddy.
void LabelFields(std::initializer_list<std::pair<QLabel *, QWidget *>> fields);
QRadioButton *MakeOption(QWidget *parent, const QString &name, const QString &caption, TwipsBox box,
                         const QFont &font = DefaultFont());

// The name of element i of a control array: "name(i)".
QString ArrayName(const char *name, int index);

// Moves a top-level window's outer frame to the screen position in twips. Also before the
// window is mapped (in its first Show), where a plain move would leave the placement to
// the window manager.
void MoveForm(QWidget *form, int leftTwips, int topTwips);

// Gives a top-level window a fixed client area in twips and the program's look.
void SetupForm(QWidget *form, const QString &caption, int clientWidthTwips, int clientHeightTwips);

// A main window: sizable, a minimize but no maximize button, the given background, and a
// client widget (returned) for the controls. Call FinishMainWindow once the menus exist.
QWidget *PrepareMainWindow(QMainWindow *form, const QColor &background);
// Caption, icon and size: the client area in twips plus the menu bar.
void FinishMainWindow(QMainWindow *form, const QString &caption, int clientWidthTwips,
                      int clientHeightTwips);

// Disconnects the window's text boxes from it: boxes lose the focus while they are
// destroyed, and by then no handler of the window may run.
void ReleaseTextBoxes(QWidget *form);

} // namespace platform
