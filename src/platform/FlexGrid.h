#pragma once

#include "platform/Display.h"
#include "platform/FileOutput.h"

#include <QAbstractTableModel>
#include <QBasicTimer>
#include <QLatin1StringView>
#include <QTableView>

#include <cstdint>
#include <vector>

class QPagedPaintDevice;

namespace platform {

// A plain table of text cells. Program row 0 is the header row, shown as the horizontal
// header; program row r >= 1 is model row r - 1.
class StringTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit StringTableModel(int rows, int cols, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Sizes in program rows (header included). Remaining cells keep their texts.
    int rows() const { return m_rows; }
    int cols() const { return m_cols; }
    void setRows(int rows);
    void setCols(int cols);

    QString text(int row, int col) const;
    // Stores the text at once. The views hear of it within one frame (DisplayFrameMs), in one
    // notice for all the cells written meanwhile: a run writes thousands of cells a second,
    // and a notice per cell costs more than the write while no screen shows more than a
    // frame's worth of them.
    void setText(int row, int col, const QString &text);
    void setText(int row, int col, QLatin1StringView text);

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    // A cell's text: a short Latin-1 text (every number a run writes) is held in place, so
    // writing it takes no heap text; any other text is a QString.
    class Cell
    {
    public:
        QString text() const
        {
            return m_inPlace ? QString::fromLatin1(m_latin1, m_size) : m_text;
        }
        void set(const QString &text)
        {
            m_text = text;
            m_inPlace = false;
        }
        void set(QLatin1StringView text);

    private:
        static constexpr int InPlace = 21;
        QString m_text;
        char m_latin1[InPlace] = {};
        std::uint8_t m_size = 0;
        bool m_inPlace = false;
    };

    void noteChanged(int row, int col);
    // Sends the notice of the cells written since the last one (before any change of shape).
    void flushChanges();

    Cell &cell(int row, int col) { return m_cells[static_cast<size_t>(row) * m_cols + col]; }
    const Cell &cell(int row, int col) const { return m_cells[static_cast<size_t>(row) * m_cols + col]; }
    // Stores a written cell and tells of it.
    template <typename Text> void write(int row, int col, const Text &text);

    int m_rows;
    int m_cols;
    std::vector<Cell> m_cells;  // m_rows * m_cols, row-major, header row first

    // The model cells written since the last notice: rows first to last, columns left to right.
    bool m_changed = false;
    QBasicTimer m_noticeTimer;
    int m_firstRow = 0, m_lastRow = 0, m_leftCol = 0, m_rightCol = 0;
};

// The result grid: Rows, Cols, ColWidth and TextMatrix as the program uses them.
// Writes outside the grid are ignored rather than trusted.
class FlexGrid : public QTableView
{
    Q_OBJECT

public:
    explicit FlexGrid(QWidget *parent = nullptr);

    int Rows() const { return m_model.rows(); }
    void setRows(int rows);
    int Cols() const { return m_model.cols(); }
    void setCols(int cols);
    // Column width in twips.
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    QString TextMatrix(int row, int col) const { return m_model.text(row, col); }
    void setTextMatrix(int row, int col, const QString &text) { m_model.setText(row, col, text); }
    void setTextMatrix(int row, int col, QLatin1StringView text) { m_model.setText(row, col, text); }

    StringTableModel *tableModel() { return &m_model; }

    // Copies the selected cells as tab-separated lines (Ctrl+C, and "Copy" in the context
    // menu beside "Select All").
    void copySelection() const;

    // Every row of the grid as shown, the header row first.
    std::vector<QStringList> allRows() const;
    // Writes every row of the grid as CSV or tab-separated text. False, after a message naming
    // the file and the reason, when it could not be written; a file that stood there before
    // is then left as it was.
    bool SaveTable(const QString &path, TableFormat format);
    // Prints every row in the grid's font, the header row on top of every page; columns as
    // wide as their widest text, narrowed together where the page is too narrow for them.
    // False when the device cannot be painted on.
    bool PrintTable(QPagedPaintDevice &device) const;

    // The context menu's "Save As…", "Print Preview…" and "Print…" (Ctrl+S and Ctrl+P while
    // the grid has the focus), through Qt's file and print dialogs.
    void saveTableAs();
    void previewTable();
    void printTable();

protected:
    // A cell whose text does not fit its column shows the whole text as a tooltip.
    bool viewportEvent(QEvent *event) override;

private:

    StringTableModel m_model;
};

} // namespace platform
