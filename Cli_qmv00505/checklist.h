#pragma once
// The check list of the equipment inclusion dialog: IDCHECK holds "S" for a ticked row and "N" for
// an unticked one. Works on the dataset alone; UI thread only.

namespace qmv {

class DataSet;

// Ticks an unticked current row and unticks a ticked one; nothing on an empty list, and a row with
// any other value is left as it is.
void toggleCheck(DataSet& list);

// Unticks every row when the current row is ticked, else ticks every row (other values included),
// with the bound controls suspended; always ends on the first row with the controls resumed.
void markAll(DataSet& list);

}  // namespace qmv
