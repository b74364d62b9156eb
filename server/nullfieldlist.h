#pragma once
// The null-field list that SetSubGruSeMa takes with its change set: "_" and the name of every field of
// the current record whose value is null, in field order, calculated fields included (so a sub-group
// record, whose calculated OBS is never given a value, always yields a list ending in "_OBS").
// UI thread only.
#include <QString>

namespace qmv {

class DataSet;

QString nullFieldList(const DataSet& dataSet);

}  // namespace qmv
