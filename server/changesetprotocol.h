#pragma once
// How an editable dataset sends its pending change from its after-post (and after-delete) handler:
// nothing when the change count is zero; otherwise the delta goes to the dataset's Set... method (under
// the busy indicator, kind 1, where the site shows one), the result is checked, and the change log is
// merged when the dataset logs changes. On any failure the indicator is hidden and the failure
// propagates to the action that posted. When no verdict came back (nothing sent, or the answer lost)
// the record goes back to edit holding what the user typed, and the message says which of the two
// happened in the user's words; a refusal from the server cancels the dataset's pending updates and
// reloads what the server holds, where the site says how. UI thread only.
#include <QString>
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

    using Reload = std::function<void()>;

    // `subject` names what changed as the user knows it, after "A alteração": "do sub-grupo".
    ChangeSetProtocol(DataSet& dataSet, SetMethod setMethod, QString subject);
    // For the sites that send under the busy indicator: the host's main form it is shown over.
    ChangeSetProtocol& withBusyIndicator(QWidget* mainForm);
    ChangeSetProtocol& withReloadOnRefusal(Reload reload);
    void send() const;

private:
    void refused() const;

    DataSet& dataSet_;
    SetMethod setMethod_;
    QString subject_;
    Reload reload_;
    bool busy_ = false;
    QWidget* mainForm_ = nullptr;
};

// What the user is told when a change got no verdict from the server.
QString unsentChangeMessage(Delivery delivery, const QString& subject);

// The five editable datasets with their Set... methods. SetSubGruSeMa also takes the null-field list
// of the current record; equipment, products/recipes and instructions are sent under the indicator.
// `reload`, when given, runs after a refusal to show what the server holds.
void sendSubGruSeMa(TNetConnection& conn, DataSet& cdsSubGruSeMa, const ChangeSetProtocol::Reload& reload = {});
void sendFotoSeMa(TNetConnection& conn, DataSet& cdsFotoSeMa, const ChangeSetProtocol::Reload& reload = {});
void sendFotoSubMa(TNetConnection& conn, DataSet& cdsFotoSubMa, QWidget* mainForm,
                   const ChangeSetProtocol::Reload& reload = {});
void sendEquiSubSeMa(TNetConnection& conn, DataSet& cdsEquiSubSeMa, QWidget* mainForm,
                     const ChangeSetProtocol::Reload& reload = {});
void sendProRecSeMa(TNetConnection& conn, DataSet& cdsProRecSeMa, QWidget* mainForm,
                    const ChangeSetProtocol::Reload& reload = {});

}  // namespace qmv
