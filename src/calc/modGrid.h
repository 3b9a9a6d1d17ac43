#pragma once

#include <QString>

// The only code that touches the main window's result grid. A cell is written in two
// steps: SetCell records it, GridAction(2) writes it.
namespace modGrid {

// Row count := count + 2 (the header row plus count + 1 reading rows).
void SetGridRows(int count);
// Records the pending cell; writes nothing.
void SetCell(int row, int col, const QString &text);
// 1: SetupGrid, 2: WriteCell, anything else: nothing. Always 0.
short GridAction(short action);
// Four columns of 1600 twips and the header row; rows below the header are untouched.
void SetupGrid();
// Writes the pending cell; it stays recorded.
void WriteCell();

} // namespace modGrid
