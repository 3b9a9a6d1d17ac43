#pragma once

#include <QString>

class QWidget;

namespace platform {

// Gives screen readers what Qt's own accessibility does not: the drawing area is an image
// (its name and description say what is drawn), and a frame that shows a table as labels
// (Frame::showTable) is read as that table. PrepareApplication() calls it.
void InstallAccessibility();

// Tells a screen reader that a run in the window has ended: the window's accessible name
// becomes its caption followed by the summary, and screen readers speak a change of the
// active window's name. The caption shown does not change.
void AnnounceRunEnd(QWidget *window, const QString &summary);
// Gives the window its caption back as its accessible name, so that the next summary (even
// an equal one) is heard as a change; a run calls it when it starts.
void ClearAnnouncement(QWidget *window);

// "1 point", "2 points": a count with its noun, for texts a screen reader speaks.
QString Counted(long long count, const char *singular, const char *plural);

} // namespace platform
