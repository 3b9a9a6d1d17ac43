#pragma once

#include <QGroupBox>
#include <QList>
#include <QPointer>
#include <QRect>

class QLabel;

namespace platform {

// A frame: an etched rectangle with its caption written over the top edge, children
// placed relative to the frame's own top-left corner.
class Frame : public QGroupBox
{
    Q_OBJECT

public:
    explicit Frame(const QString &caption, QWidget *parent = nullptr);
    // Where the caption is written over the top edge, on the frame's own background.
    QRect captionRect() const;

    // Makes the frame show a table drawn as labels: a header label over each column and one
    // multi-line label per column, whose lines are the column's cells. Screen readers then
    // read the frame as that table, row by row with the headers, and not the labels.
    void showTable(const QList<QLabel *> &headers, const QList<QLabel *> &columns);
    bool showsTable() const { return !m_columns.isEmpty(); }

    // The table as its labels show it now. Its rows are the lines that hold text in any
    // column (a blank first line, as under a header, is no row).
    int tableColumnCount() const;
    int tableRowCount() const;
    QString tableHeader(int column) const;
    QString tableCell(int row, int column) const;
    // Where a cell or a header stands on the screen.
    QRect tableCellRect(int row, int column) const;
    QRect tableHeaderRect(int column) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<int> tableLines() const;

    QList<QPointer<QLabel>> m_headers;
    QList<QPointer<QLabel>> m_columns;
};

} // namespace platform
