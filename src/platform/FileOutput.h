#pragma once

#include <QByteArray>
#include <QKeySequence>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QAction;
class QIODevice;
class QPagedPaintDevice;
class QWidget;

namespace platform {

// An item of a control's context menu (copy, save, print); its key, if any, works in the
// given context.
QAction *AddContextItem(QWidget *control, const char *name, const QString &caption, QKeySequence::StandardKey key,
                        Qt::ShortcutContext context);

// Tables as text files: CSV as RFC 4180 has it (commas, CR LF line ends), or tab-separated
// text (tabs, LF line ends). Either way a field that holds the separator, a quote or a line
// break is quoted, its quotes doubled; the text is UTF-8 without a byte order mark.
enum class TableFormat { Csv, Tsv };
QByteArray TableText(const std::vector<QStringList> &rows, TableFormat format);

// Writes a file safely: `write` fills a temporary file beside it, which then replaces the
// file in one rename, so a write that fails half-way never leaves half a file where a good
// one stood. `write` returns false when it could not write everything. On any failure the
// user sees a message naming the file and the reason, nothing on disk changes, and the
// answer is false.
bool SaveFile(QWidget *parent, const QString &path, const std::function<bool(QIODevice &)> &write);

// A kind of file a save dialog offers: "CSV" and "csv" make the filter "CSV (*.csv)".
struct FileType {
    QString name;
    QString suffix;
};

// Asks for the file to save to with Qt's file dialog (the desktop's own where there is one),
// starting in the folder of the last save. True when the user chose a file: `path` is the
// file and `type` the index of its type, by its suffix where that names one of the types,
// else the filter chosen (whose suffix the dialog adds to a name that has none).
bool AskSaveFile(QWidget *parent, const QString &suggestedName, const std::vector<FileType> &types, QString &path,
                 int &type);

// Printing through Qt's print dialog, or its print preview (from which one can print too):
// `paint` draws the pages onto the printer and returns false when the printer refused them
// (a printer gone, an output file that cannot be written), which the user is then told.
using PagePainter = std::function<bool(QPagedPaintDevice &)>;
void PrintWithDialog(QWidget *parent, QPageLayout::Orientation orientation, const PagePainter &paint);
void PreviewWithDialog(QWidget *parent, QPageLayout::Orientation orientation, const PagePainter &paint);

} // namespace platform
