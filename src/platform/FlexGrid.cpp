#include "platform/FlexGrid.h"

#include "platform/Twips.h"

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QHeaderView>
#include <QAction>
#include <QHelpEvent>
#include <QStyle>
#include <QToolTip>
#include <QKeySequence>
#include <QTimerEvent>

#include <algorithm>
#include <cstring>

namespace platform {

StringTableModel::StringTableModel(int rows, int cols, QObject *parent)
    : QAbstractTableModel(parent)
    , m_rows(std::max(rows, 1))
    , m_cols(std::max(cols, 0))
    , m_cells(static_cast<size_t>(m_rows) * m_cols)
{
}

int StringTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows - 1;
}

int StringTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant StringTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows - 1 || index.column() >= m_cols)
        return {};
    if (role == Qt::DisplayRole)
        return cell(index.row() + 1, index.column()).text();
    return {};
}

QVariant StringTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_cols)
        return {};
    if (role == Qt::DisplayRole)
        return cell(0, section).text();
    return {};
}

void StringTableModel::setRows(int rows)
{
    rows = std::max(rows, 1);  // the header row always exists
    if (rows == m_rows)
        return;
    flushChanges();
    if (rows < m_rows) {
        beginRemoveRows({}, rows - 1, m_rows - 2);
        m_rows = rows;
        m_cells.resize(static_cast<size_t>(m_rows) * m_cols);
        endRemoveRows();
    } else {
        beginInsertRows({}, m_rows - 1, rows - 2);
        m_rows = rows;
        m_cells.resize(static_cast<size_t>(m_rows) * m_cols);
        endInsertRows();
    }
}

void StringTableModel::setCols(int cols)
{
    cols = std::max(cols, 0);
    if (cols == m_cols)
        return;
    flushChanges();
    std::vector<Cell> cells(static_cast<size_t>(m_rows) * cols);
    const int kept = std::min(cols, m_cols);
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < kept; ++c)
            cells[static_cast<size_t>(r) * cols + c] = std::move(cell(r, c));
    beginResetModel();
    m_cols = cols;
    m_cells = std::move(cells);
    endResetModel();
}

QString StringTableModel::text(int row, int col) const
{
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
        return {};
    return cell(row, col).text();
}

void StringTableModel::Cell::set(QLatin1StringView text)
{
    if (text.size() > InPlace) {
        set(QString(text));
        return;
    }
    std::memcpy(m_latin1, text.data(), static_cast<size_t>(text.size()));
    m_size = static_cast<std::uint8_t>(text.size());
    m_inPlace = true;
    if (!m_text.isNull())
        m_text = QString();
}

void StringTableModel::setText(int row, int col, const QString &text)
{
    write(row, col, text);
}

void StringTableModel::setText(int row, int col, QLatin1StringView text)
{
    write(row, col, text);
}

template <typename Text>
void StringTableModel::write(int row, int col, const Text &text)
{
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols)
        return;
    cell(row, col).set(text);
    if (row == 0)
        emit headerDataChanged(Qt::Horizontal, col, col);
    else
        noteChanged(row - 1, col);
}

void StringTableModel::noteChanged(int row, int col)
{
    if (m_changed) {
        m_firstRow = std::min(m_firstRow, row);
        m_lastRow = std::max(m_lastRow, row);
        m_leftCol = std::min(m_leftCol, col);
        m_rightCol = std::max(m_rightCol, col);
        return;
    }
    m_changed = true;
    m_firstRow = m_lastRow = row;
    m_leftCol = m_rightCol = col;
    m_noticeTimer.start(DisplayFrameMs, this);
}

void StringTableModel::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_noticeTimer.timerId())
        flushChanges();
    else
        QAbstractTableModel::timerEvent(event);
}

void StringTableModel::flushChanges()
{
    m_noticeTimer.stop();
    if (!m_changed)
        return;
    m_changed = false;
    // Rows or columns may have gone since the cells were written.
    const int lastRow = std::min(m_lastRow, rowCount() - 1);
    const int rightCol = std::min(m_rightCol, columnCount() - 1);
    if (m_firstRow <= lastRow && m_leftCol <= rightCol)
        emit dataChanged(index(m_firstRow, m_leftCol), index(lastRow, rightCol), {Qt::DisplayRole});
}

FlexGrid::FlexGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(100, 4)
{
    setModel(&m_model);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(false);
    // Tab and Shift+Tab leave the grid in the window's tab order; arrow keys move between cells.
    setTabKeyNavigation(false);

    auto makeAction = [this](const char *name, const QString &caption, QKeySequence::StandardKey key) {
        return AddContextItem(this, name, caption, key, Qt::WidgetShortcut);
    };
    connect(makeAction("copyCells", QStringLiteral("Copy"), QKeySequence::Copy), &QAction::triggered, this,
            &FlexGrid::copySelection);
    connect(makeAction("selectAllCells", QStringLiteral("Select All"), QKeySequence::SelectAll),
            &QAction::triggered, this, &QTableView::selectAll);
    connect(makeAction("saveTable", QStringLiteral("Save As\u2026"), QKeySequence::Save), &QAction::triggered, this,
            &FlexGrid::saveTableAs);
    connect(makeAction("previewTable", QStringLiteral("Print Preview\u2026"), QKeySequence::UnknownKey),
            &QAction::triggered, this, &FlexGrid::previewTable);
    connect(makeAction("printTable", QStringLiteral("Print\u2026"), QKeySequence::Print), &QAction::triggered, this,
            &FlexGrid::printTable);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void FlexGrid::setRows(int rows)
{
    m_model.setRows(rows);
}

void FlexGrid::setCols(int cols)
{
    m_model.setCols(cols);
}

int FlexGrid::ColWidth(int col) const
{
    return PixelsToTwips(columnWidth(col));
}

void FlexGrid::setColWidth(int col, int twips)
{
    if (col >= 0 && col < m_model.cols())
        setColumnWidth(col, TwipsToPixels(twips));
}

bool FlexGrid::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QTableView::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString text = index.data().toString();
    const QRect cell = visualRect(index);
    // The room the view leaves for the text: the cell less its margins on both sides.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    if (index.isValid() && fontMetrics().horizontalAdvance(text) > cell.width() - 2 * margin)
        QToolTip::showText(help->globalPos(), text, viewport(), cell);
    else
        QToolTip::hideText();
    return true;
}

// Copies the selected cells as tab-separated lines, so a table pastes into a spreadsheet.
// When whole columns are selected (by their header), the header row comes first.
void FlexGrid::copySelection() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return;
    int top = m_model.rows(), bottom = -1, left = m_model.cols(), right = -1;
    for (const QModelIndex &i : selected) {
        top = std::min(top, i.row());
        bottom = std::max(bottom, i.row());
        left = std::min(left, i.column());
        right = std::max(right, i.column());
    }
    bool wholeColumns = true;
    for (int c = left; c <= right && wholeColumns; ++c)
        wholeColumns = selectionModel()->isColumnSelected(c, {});
    const int firstRow = wholeColumns ? 0 : top + 1;  // program rows; 0 is the header
    QString text;
    for (int r = firstRow; r <= bottom + 1; ++r) {
        for (int c = left; c <= right; ++c) {
            if (c > left)
                text += QLatin1Char('\t');
            if (r == 0 || selectionModel()->isSelected(m_model.index(r - 1, c)))
                text += m_model.text(r, c);
        }
        text += QLatin1Char('\n');
    }
    QApplication::clipboard()->setText(text);
}

std::vector<QStringList> FlexGrid::allRows() const
{
    std::vector<QStringList> rows(static_cast<size_t>(m_model.rows()));
    for (int r = 0; r < m_model.rows(); ++r)
        for (int c = 0; c < m_model.cols(); ++c)
            rows[static_cast<size_t>(r)] << m_model.text(r, c);
    return rows;
}

bool FlexGrid::SaveTable(const QString &path, TableFormat format)
{
    const QByteArray text = TableText(allRows(), format);
    return SaveFile(window(), path, [&](QIODevice &file) { return file.write(text) == text.size(); });
}

bool FlexGrid::PrintTable(QPagedPaintDevice &device) const
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const std::vector<QStringList> rows = allRows();
    // The grid's font at the size it has on the screen, in points, so the printer scales it.
    QFont font = this->font();
    if (font.pointSizeF() <= 0)
        font.setPointSizeF(QFontInfo(font).pixelSize() * 72.0 / logicalDpiY());
    font = QFont(font, &device);
    painter.setFont(font);
    painter.setPen(QPen(Qt::black, device.logicalDpiX() / 200.0));  // lines of about an eighth of a millimetre
    const QFontMetricsF metrics(font, &device);
    const qreal padding = metrics.averageCharWidth();
    const qreal rowHeight = metrics.height() * 1.4;
    const QRectF page(QPointF(0, 0), device.pageLayout().paintRectPixels(device.logicalDpiX()).size());

    // Each column as wide as its widest text; all narrowed by one factor to fit the page.
    std::vector<qreal> widths(static_cast<size_t>(m_model.cols()), 0);
    for (const QStringList &row : rows)
        for (qsizetype c = 0; c < row.size(); ++c)
            widths[static_cast<size_t>(c)] =
                std::max(widths[static_cast<size_t>(c)], metrics.horizontalAdvance(row[c]) + 2 * padding);
    qreal total = 0;
    for (qreal w : widths)
        total += w;
    if (total > page.width())
        for (qreal &w : widths)
            w *= page.width() / total;

    auto drawRow = [&](const QStringList &row, qreal top, bool header) {
        qreal left = 0;
        for (qsizetype c = 0; c < row.size(); ++c) {
            const QRectF cell(left, top, widths[static_cast<size_t>(c)], rowHeight);
            painter.drawRect(cell);
            const QString text = metrics.elidedText(row[c], Qt::ElideRight, cell.width() - 2 * padding);
            painter.drawText(cell.adjusted(padding, 0, -padding, 0),
                             (header ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter | Qt::TextSingleLine, text);
            left += cell.width();
        }
    };

    const int rowsPerPage = std::max(1, static_cast<int>(page.height() / rowHeight) - 1);
    size_t next = 1;
    do {
        if (next > 1)
            device.newPage();
        drawRow(rows.front(), 0, true);
        qreal top = rowHeight;
        for (int i = 0; i < rowsPerPage && next < rows.size(); ++i, ++next, top += rowHeight)
            drawRow(rows[next], top, false);
    } while (next < rows.size());
    return painter.end();
}

void FlexGrid::saveTableAs()
{
    // In the order of TableFormat.
    static const std::vector<FileType> types = {{QStringLiteral("CSV"), QStringLiteral("csv")},
                                                {QStringLiteral("Tab-separated text"), QStringLiteral("tsv")}};
    QString path;
    int type = 0;
    if (AskSaveFile(window(), QStringLiteral("table.csv"), types, path, type))
        SaveTable(path, static_cast<TableFormat>(type));
}

void FlexGrid::previewTable()
{
    PreviewWithDialog(window(), QPageLayout::Portrait, [this](QPagedPaintDevice &device) { return PrintTable(device); });
}

void FlexGrid::printTable()
{
    PrintWithDialog(window(), QPageLayout::Portrait, [this](QPagedPaintDevice &device) { return PrintTable(device); });
}

} // namespace platform
