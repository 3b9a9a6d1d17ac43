#pragma once

#include <QString>

class QWidget;

namespace platform {

// Gives screen readers what Qt's own accessibility does not: the drawing area is an image
// (its name and description say what is drawn), and a frame that shows a table as labels
// (Frame::showTable) is read as that table. PrepareApplication() calls it.
void InstallAccessibility();

// Tells a screen reader that a run in the window has ended: a notification with the
// summary is shown to it (screen readers speak a notification when it appears); nothing
// changes on the screen.
void AnnounceRunEnd(QWidget *window, const QString &summary);

// "1 point", "2 points": a count with its noun, for texts a screen reader speaks.
QString Counted(long long count, const char *singular, const char *plural);

} // namespace platform
