#include "calc/modGrid.h"

#include "platform/Equations.h"
#include "platform/FlexGrid.h"

#include <QPointer>

#include <algorithm>
#include <string>

namespace modGrid {

namespace {

int CellRow = 0;
int CellCol = 0;
// The pending text: a QString, or Latin-1 characters kept in a buffer that is reused.
QString CellText;
std::string CellLatin1;
bool CellIsLatin1 = false;

constexpr int ColumnWidth = 1600;
// X, then one column for each equation.
constexpr int Columns = 1 + platform::EquationCount;

// Cleared by itself when the grid is destroyed.
QPointer<platform::FlexGrid> g_grid;

platform::FlexGrid *grid()
{
    return g_grid.data();
}

} // namespace

void UseGrid(platform::FlexGrid *grid)
{
    g_grid = grid;
}

void SetGridRows(int count)
{
    if (platform::FlexGrid *g = grid()) {
        // Widened first: count + 2 must not overflow for any count.
        const long long rows = static_cast<long long>(count) + 2;
        g->setRows(static_cast<int>(std::clamp<long long>(rows, 1, ReadingLimit + 2)));
    }
}

void SetCell(int row, int col, const QString &text)
{
    CellRow = row;
    CellCol = col;
    CellText = text;
    CellIsLatin1 = false;
}

void SetCell(int row, int col, QLatin1StringView text)
{
    CellRow = row;
    CellCol = col;
    CellLatin1.assign(text.data(), static_cast<std::size_t>(text.size()));
    CellIsLatin1 = true;
}

short GridAction(short action)
{
    if (action == 1)
        SetupGrid();
    else if (action == 2)
        WriteCell();
    return 0;
}

void SetupGrid()
{
    platform::FlexGrid *g = grid();
    if (!g)
        return;
    g->setCols(Columns);
    for (int c = 0; c < Columns; ++c)
        g->setColWidth(c, ColumnWidth);
    g->setTextMatrix(0, 0, QLatin1String(platform::ValuesCaption));
    for (int c = 1; c < Columns; ++c)
        g->setTextMatrix(0, c, platform::ResultCaption(c - 1));
}

void WriteCell()
{
    platform::FlexGrid *g = grid();
    if (g && CellIsLatin1)
        g->setTextMatrix(CellRow, CellCol, QLatin1StringView(CellLatin1.data(), static_cast<qsizetype>(CellLatin1.size())));
    else if (g)
        g->setTextMatrix(CellRow, CellCol, CellText);
}

} // namespace modGrid
