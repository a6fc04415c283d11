#pragma once

class QTableView;

namespace dravin {

// What every grid of the program shares: rows 20 pixels high, and column titles with
// narrow margins, so that the designed titles fit the designed column widths.
void applyGridLook(QTableView* grid);

}  // namespace dravin
