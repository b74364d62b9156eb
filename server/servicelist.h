#pragma once
// The dataset that GetServManual loads: a manual's services with their class and cycle, the code,
// name, class and cycle shown in its list. UI thread only.
class QObject;

namespace qmv {

class DataSet;

// Named cdsServManual, owned by `owner`.
DataSet* makeServiceList(QObject* owner);

}  // namespace qmv
