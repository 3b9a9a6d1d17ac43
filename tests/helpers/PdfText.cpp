#include "helpers/PdfText.h"

#include <QProcess>
#include <QTest>

namespace testing {

QStringList PdfPages(const QString &path)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!tool.waitForFinished(60000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        QTest::qFail(qPrintable(QStringLiteral("pdftotext could not read %1: %2 %3")
                                    .arg(path, tool.errorString(), QString::fromUtf8(tool.readAllStandardError()))),
                     __FILE__, __LINE__);
        return {};
    }
    // Every page ends with a form feed.
    QStringList pages = QString::fromUtf8(tool.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

} // namespace testing
