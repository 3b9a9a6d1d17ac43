#pragma once

#include <QString>
#include <QStringList>

namespace testing {

// The text of each page of a PDF file, as poppler's pdftotext reads it (in the page's layout).
// Fails the test when the tool is missing or cannot read the file.
QStringList PdfPages(const QString &path);

} // namespace testing
