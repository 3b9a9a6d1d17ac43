#pragma once

#include <QLatin1StringView>
#include <QString>

namespace platform {
class FlexGrid;
}

// The only code that writes the result grid. A cell is written in two steps: SetCell
// records it, GridAction(2) writes it.
namespace modGrid {

// The most steps a tabulation run takes from Start: the grid then holds the header row and
// ReadingLimit + 1 reading rows, and never more.
inline constexpr int ReadingLimit = 10000;

// The grid written to; the main window hands over its own. Without one nothing is written.
void UseGrid(platform::FlexGrid *grid);

// Row count := count + 2 (the header row plus count + 1 reading rows).
void SetGridRows(int count);
// Records the pending cell; writes nothing.
void SetCell(int row, int col, const QString &text);
// The same for a Latin-1 text, which is copied (the runs' cells: no heap text per cell).
void SetCell(int row, int col, QLatin1StringView text);
// 1: SetupGrid, 2: WriteCell, anything else: nothing. Always 0.
short GridAction(short action);
// A column of 1600 twips for X and for each equation, and the header row; rows below the header are untouched.
void SetupGrid();
// Writes the pending cell; it stays recorded.
void WriteCell();

} // namespace modGrid
