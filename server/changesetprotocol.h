#pragma once
// How an editable dataset sends its pending change from its after-post (and after-delete) handler:
// nothing when the change count is zero; otherwise the delta goes to the dataset's Set... method (under
// the busy indicator, kind 1, where the site shows one), the result is checked, and the change log is
// merged when the dataset logs changes. On any failure the indicator is hidden, every pending update
// of the dataset is cancelled (the screen shows the last state known to be on the server) and the
// failure propagates to the action that posted. UI thread only.
#include <functional>

#include "platform/packet.h"
#include "platform/remoteresult.h"

class QWidget;

namespace qmv {

class DataSet;
class TNetConnection;

class ChangeSetProtocol {
public:
    using SetMethod = std::function<RemoteResult(const ChangeSet& delta)>;

    ChangeSetProtocol(DataSet& dataSet, SetMethod setMethod);
    // For the sites that send under the busy indicator: the host's main form it is shown over.
    ChangeSetProtocol& withBusyIndicator(QWidget* mainForm);
    void send() const;

private:
    DataSet& dataSet_;
    SetMethod setMethod_;
    bool busy_ = false;
    QWidget* mainForm_ = nullptr;
};

// The five editable datasets with their Set... methods. SetSubGruSeMa also takes the null-field list
// of the current record; equipment, products/recipes and instructions are sent under the indicator.
void sendSubGruSeMa(TNetConnection& conn, DataSet& cdsSubGruSeMa);
void sendFotoSeMa(TNetConnection& conn, DataSet& cdsFotoSeMa);
void sendFotoSubMa(TNetConnection& conn, DataSet& cdsFotoSubMa, QWidget* mainForm);
void sendEquiSubSeMa(TNetConnection& conn, DataSet& cdsEquiSubSeMa, QWidget* mainForm);
void sendProRecSeMa(TNetConnection& conn, DataSet& cdsProRecSeMa, QWidget* mainForm);

}  // namespace qmv
