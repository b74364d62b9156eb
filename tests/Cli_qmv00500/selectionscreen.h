#pragma once
// The main screen opened for selection tests: the host configured on a seeded throw-away database
// (the lookups read it), the screen created over a recording transport or the real application
// server, shown and active, with the focus outside the selection panel. Test thread only.
#include <QString>
#include <memory>

#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "appserver/serverfixture.h"
#include "support/recordingtransport.h"
#include "support/scriptedui.h"

namespace qmv::test {

class SelectionScreen {
public:
    // RealRecorded: the real server, with every call also recorded by transport().
    enum class Server { Recording, Real, RealRecorded };
    // The host's branch is `branch`; moduFili fixes it.
    explicit SelectionScreen(Server server, bool moduFili = false,
                             const QString& branch = QStringLiteral("0001"));
    ~SelectionScreen();

    TfrmFotoMontManual& form() const { return *form_; }
    RecordingTransport& transport() const { return *transport_; }  // not for Server::Real
    ScriptedUi& ui() { return ui_; }
    appserver::test::TestDatabase& database() const { return *database_; }

    // The person's moves: into a field of the panel, typing, and on to a control outside it.
    void enter(QWidget& field);
    void type(QLineEdit& field, const QString& text);
    void leavePanel();
    QWidget* focus() const;

    // A complete key typed field by field: company, manual, service, each validated on its exit.
    void typeKey(const QString& company, const QString& manual, const QString& service);

private:
    ScriptedUi ui_;
    std::unique_ptr<appserver::test::TestDatabase> database_;
    std::unique_ptr<appserver::test::TestServer> server_;
    RecordingTransport* transport_ = nullptr;
    TfrmFotoMontManual* form_ = nullptr;
};

// A GetServManual packet: rows of SERVICO, CDSERVICO, CDCLASSE, CDCICLO, DSSERVICO, SGCLASSE, IDCICLO.
DataPacket servicePacket(const QList<QStringList>& rows);
// A GetSubGruSeMa packet with the given sub-group codes (CDSUBGRU, CDSUBARV, DSSUBGRU, NRORDSUMA).
DataPacket subGroupPacket(const QList<QStringList>& rows);

}  // namespace qmv::test
