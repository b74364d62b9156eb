#pragma once
// Linking the ticked equipment of the inclusion dialog's check list to the current sub-group, one
// remote call per step (there is no batch call). UI thread only.

namespace qmv {

class DataSet;
class TNetConnection;

// Filters the list to its ticked rows and, for each, asks GetEquipAux whether the sub-group already
// has the equipment (loaded into aux) and links it with InsereEquip (quantity 1) when it has not.
// The filter stays on afterwards. On a failure the filter is switched off again, so the whole list
// shows with its ticks, and the failure propagates; what was linked before it stays linked.
void insertTickedEquipment(TNetConnection& conn, DataSet& list, DataSet& aux, const DataSet& subGroups);

}  // namespace qmv
