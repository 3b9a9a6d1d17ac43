#include "platform/FileOutput.h"

#include "platform/Program.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QStandardPaths>

namespace platform {

QAction *AddContextItem(QWidget *control, const char *name, const QString &caption, QKeySequence::StandardKey key,
                        Qt::ShortcutContext context)
{
    auto *action = new QAction(caption, control);
    action->setObjectName(QLatin1String(name));
    if (key != QKeySequence::UnknownKey) {
        action->setShortcut(key);
        action->setShortcutContext(context);
    }
    control->addAction(action);
    return action;
}

namespace {

// The folder of the last save in this session; the save dialog starts there, at first in the
// documents folder (the home folder where there is none).
QString &lastFolder()
{
    static QString folder = [] {
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return QDir(documents).exists() ? documents : QDir::homePath();
    }();
    return folder;
}

QString filterOf(const FileType &type)
{
    return QStringLiteral("%1 (*.%2)").arg(type.name, type.suffix);
}

void appendField(QByteArray &out, const QString &field, QChar separator)
{
    const bool quoted = field.contains(separator) || field.contains(QLatin1Char('"'))
                        || field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'));
    if (!quoted) {
        out += field.toUtf8();
        return;
    }
    QString doubled = field;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    out += '"' + doubled.toUtf8() + '"';
}

} // namespace

QByteArray TableText(const std::vector<QStringList> &rows, TableFormat format)
{
    const QChar separator = format == TableFormat::Csv ? QLatin1Char(',') : QLatin1Char('\t');
    const QByteArray lineEnd = format == TableFormat::Csv ? "\r\n" : "\n";
    QByteArray out;
    for (const QStringList &row : rows) {
        for (qsizetype c = 0; c < row.size(); ++c) {
            if (c > 0)
                out += separator.toLatin1();
            appendField(out, row[c], separator);
        }
        out += lineEnd;
    }
    return out;
}

bool SaveFile(QWidget *parent, const QString &path, const std::function<bool(QIODevice &)> &write)
{
    QSaveFile file(path);
    QString reason;
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString();
    } else if (!write(file) || file.error() != QFileDevice::NoError) {
        reason = file.errorString();  // before the cancel, which has its own
        file.cancelWriting();
    } else if (!file.commit()) {
        reason = file.errorString();
    } else {
        return true;
    }
    if (reason.isEmpty() || reason == QLatin1String("Unknown error"))
        reason = QStringLiteral("The data could not be written");
    MsgBoxCritical(parent,
                   QStringLiteral("The file %1 could not be saved:\r\n%2.").arg(QDir::toNativeSeparators(path), reason),
                   MessageTitle());
    return false;
}

bool AskSaveFile(QWidget *parent, const QString &suggestedName, const std::vector<FileType> &types, QString &path,
                 int &type)
{
    QStringList filters;
    for (const FileType &t : types)
        filters << filterOf(t);
    auto *dialog = new QFileDialog(parent, QStringLiteral("Save As"), lastFolder());
    dialog->setObjectName(QStringLiteral("saveFileDialog"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilters(filters);
    dialog->selectNameFilter(filters.value(0));
    dialog->setDefaultSuffix(types.empty() ? QString() : types.front().suffix);
    dialog->selectFile(suggestedName);
    // A name typed without a suffix gets the one of the filter chosen.
    QObject::connect(dialog, &QFileDialog::filterSelected, dialog, [dialog, filters, &types](const QString &filter) {
        const qsizetype i = filters.indexOf(filter);
        if (i >= 0)
            dialog->setDefaultSuffix(types[static_cast<size_t>(i)].suffix);
    });
    bool chosen = false;
    ShowDialog(dialog, nullptr, [&] {
        const QStringList files = dialog->selectedFiles();
        if (files.isEmpty())
            return;
        path = files.front();
        type = static_cast<int>(filters.indexOf(dialog->selectedNameFilter()));
        const QString suffix = QFileInfo(path).suffix();
        for (size_t i = 0; i < types.size(); ++i)
            if (suffix.compare(types[i].suffix, Qt::CaseInsensitive) == 0)
                type = static_cast<int>(i);
        if (type < 0)
            type = 0;
        lastFolder() = QFileInfo(path).absolutePath();
        chosen = true;
    });
    return chosen;
}

void PrintWithDialog(QWidget *parent, QPageLayout::Orientation orientation, const PagePainter &paint)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(orientation);
    auto *dialog = new QPrintDialog(&printer, parent);
    dialog->setObjectName(QStringLiteral("printDialog"));
    ShowDialog(dialog, nullptr, [&] {
        if (paint(printer))
            return;
        const QString file = printer.outputFileName();
        MsgBoxCritical(parent,
                       file.isEmpty() ? QStringLiteral("The printer %1 could not print.").arg(printer.printerName())
                                      : QStringLiteral("The file %1 could not be saved.").arg(QDir::toNativeSeparators(file)),
                       MessageTitle());
    });
}

void PreviewWithDialog(QWidget *parent, QPageLayout::Orientation orientation, const PagePainter &paint)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(orientation);
    auto *dialog = new QPrintPreviewDialog(&printer, parent);
    dialog->setObjectName(QStringLiteral("printPreviewDialog"));
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [&paint](QPrinter *target) { paint(*target); });
    ShowDialog(dialog, nullptr, {});
}

} // namespace platform
