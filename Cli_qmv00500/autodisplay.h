#pragma once
// One step of the automatic display over a list: forward one row a step until a move past the last
// row fails, then one step to turn round; backward the same way to the first row. The direction
// (0 forward, 1 backward; any other value stops the walk) is the caller's to keep between steps.
// A closed or empty list moves nothing and only turns round. UI thread only, as the list.
namespace qmv {

class DataSet;

constexpr int kAutoDisplayForward = 0;
constexpr int kAutoDisplayBackward = 1;

// Moves the list at most one row and returns the direction for the next step.
int autoDisplayStep(DataSet& list, int direction);

}  // namespace qmv
