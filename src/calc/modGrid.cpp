#include "calc/modGrid.h"

#include "platform/FlexGrid.h"

#include <QPointer>

#include <algorithm>
#include <array>
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
constexpr std::array<const char *, 4> Headers = {"X Values", "Y1 Values", "Y2 Values", "Y3 Values"};

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
        g->setRows(static_cast<int>(std::clamp<long long>(rows, 1, 10002)));
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
    g->setCols(static_cast<int>(Headers.size()));
    for (int c = 0; c < static_cast<int>(Headers.size()); ++c)
        g->setColWidth(c, ColumnWidth);
    for (int c = 0; c < static_cast<int>(Headers.size()); ++c)
        g->setTextMatrix(0, c, QLatin1String(Headers[c]));
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
