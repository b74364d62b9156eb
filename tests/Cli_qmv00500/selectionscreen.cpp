#include "Cli_qmv00500/selectionscreen.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "host/hostconfig.h"
#include "platform/dbgrid.h"
#include "server/httptransport.h"

namespace qmv::test {

namespace {

FieldDef textField(const QString& name, int size)
{
    FieldDef f;
    f.name = name;
    f.size = size;
    return f;
}

DataPacket packetOf(const QList<std::pair<QString, int>>& columns, const QList<QStringList>& rows)
{
    DataPacket packet;
    for (const auto& [name, size] : columns)
        packet.fields << textField(name, size);
    for (const QStringList& values : rows) {
        Row row;
        for (const QString& v : values)
            row << QVariant(v);
        packet.rows << row;
    }
    return packet;
}

}  // namespace

SelectionScreen::SelectionScreen(Server server, bool moduFili, const QString& branch)
    : database_(std::make_unique<appserver::test::TestDatabase>(appserver::test::sqliteDriver))
{
    appserver::test::seedFixture(*database_);
    HostConfig config;
    config.branchCode = branch;
    config.branchName = QStringLiteral("Cozinha Teste");
    config.moduFili = moduFili;
    config.dbDriver = QStringLiteral("QSQLITE");
    config.dbName = database_->config().sqliteFile;
    std::unique_ptr<Transport> transport;
    if (server != Server::Recording) {
        server_ = std::make_unique<appserver::test::TestServer>(database_->config());
        config.serverPort = server_->port();
    }
    if (server == Server::RealRecorded) {
        auto recording = std::make_unique<RecordingTransport>(std::make_unique<HttpTransport>());
        transport_ = recording.get();
        transport = std::move(recording);
    } else if (server == Server::Recording) {
        auto recording = std::make_unique<RecordingTransport>();
        transport_ = recording.get();
        transport = std::move(recording);
    }
    setHostConfig(config);
    form_ = TfrmFotoMontManual::create(nullptr, std::move(transport));
    form_->dbgPadrao->setFocus();  // the screen opens with the focus outside the panel
    form_->show();
    QApplication::setActiveWindow(form_);
    if (!QTest::qWaitForWindowActive(form_))
        ADD_FAILURE() << "the screen did not become active";
}

SelectionScreen::~SelectionScreen()
{
    delete form_;
    setHostConfig(HostConfig());
}

void SelectionScreen::enter(QWidget& field)
{
    field.setFocus(Qt::MouseFocusReason);
}

void SelectionScreen::type(QLineEdit& field, const QString& text)
{
    enter(field);
    field.selectAll();
    if (text.isEmpty())
        field.del();
    else
        QTest::keyClicks(&field, text);
}

void SelectionScreen::leavePanel()
{
    form_->dbgPadrao->setFocus(Qt::TabFocusReason);
}

QWidget* SelectionScreen::focus() const
{
    return QApplication::focusWidget();
}

void SelectionScreen::typeKey(const QString& company, const QString& manual, const QString& service)
{
    type(*form_->selection().rows().medCdCia, company);
    type(*form_->selection().rows().medCdManCia, manual);
    type(*form_->selection().rows().medCdServico, service);
}

DataPacket servicePacket(const QList<QStringList>& rows)
{
    return packetOf({{QStringLiteral("SERVICO"), 18}, {QStringLiteral("CDSERVICO"), 25},
                     {QStringLiteral("CDCLASSE"), 4}, {QStringLiteral("CDCICLO"), 4},
                     {QStringLiteral("DSSERVICO"), 35}, {QStringLiteral("SGCLASSE"), 5},
                     {QStringLiteral("IDCICLO"), 10}},
                    rows);
}

DataPacket subGroupPacket(const QList<QStringList>& rows)
{
    return packetOf({{QStringLiteral("CDSUBGRU"), 10}, {QStringLiteral("CDSUBARV"), 20},
                     {QStringLiteral("DSSUBGRU"), 50}, {QStringLiteral("NRORDSUMA"), 3}},
                    rows);
}

}  // namespace qmv::test
