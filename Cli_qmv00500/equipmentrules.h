#pragma once
// The rules of an equipment row of the current sub-group that need no window: the keys it takes
// from the sub-group at every post, and the quantity it must carry. UI thread only.

namespace qmv {

class DataSet;

// CDFILIAL, CDCIA, CDESPEPROD and CDPRODUTO of the equipment row being posted, from the current
// sub-group record, whatever the packet held.
void takeSubGroupKeys(DataSet& equipment, const DataSet& subGroups);

// False for a zero quantity; an empty one reads as zero. Negative quantities pass.
bool quantityGiven(const DataSet& equipment);

}  // namespace qmv
