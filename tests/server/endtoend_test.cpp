// Every catalogue method through the real client (connection, HTTP transport, result check, dataset
// load, change-set protocol) against the real application server on a seeded throw-away database:
// SQLite always, PostgreSQL when QMV_TEST_PG names one.
#include <gtest/gtest.h>

#include "appserver/serverfixture.h"
#include "host/abort.h"
#include "host/checkresultserv.h"
#include "platform/dataset.h"
#include "server/catalogue.h"
#include "server/changesetprotocol.h"
#include "server/loadresult.h"
#include "server/remotecall.h"
#include "server/tnetconnection.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

using namespace std::chrono_literals;

const QString kBranch = QStringLiteral("0001");
const QString kCia = QStringLiteral("0001");
const QString kManual = QStringLiteral("0001");
const QString kService = QStringLiteral("0000001001");
const QString kClass = QStringLiteral("0001");
const QString kCycle = QStringLiteral("0001");

QStringList column(DataSet& dataSet, const QString& name)
{
    QStringList values;
    for (dataSet.first(); !dataSet.eof(); dataSet.next())
        values << dataSet.fieldByName(name).asString();
    return values;
}

class EndToEnd : public appserver::test::DriverTest {
protected:
    void SetUp() override
    {
        DriverTest::SetUp();
        if (IsSkipped())
            return;
        net = makeConnection();
    }
    void TearDown() override
    {
        net.reset();
        DriverTest::TearDown();
    }

    std::unique_ptr<TNetConnection> makeConnection() const
    {
        auto conn = std::make_unique<TNetConnection>();
        conn->setObjectName(QStringLiteral("netFotoMantMan"));
        conn->setServerName(kServerName);
        const int port = server_->port();
        conn->beforeConnect = [port](TNetConnection& c) {
            c.setPort(port);
            c.setHost(QStringLiteral("127.0.0.1"));
        };
        conn->connect();
        return conn;
    }

    // The sub-groups of the fixture's service, as the main screen loads them (with its calculated OBS).
    void loadSubGroups(DataSet& cds, TNetConnection& conn, const QString& photo = QStringLiteral("2"),
                       const QString& instructions = QStringLiteral("2"))
    {
        if (cds.fieldCount() == 0)
            cds.addField({QStringLiteral("OBS"), FieldKind::Calculated, 1});
        const QString stCdCia = kCia, stCdManCia = kManual, serviceKey = kService + kClass + kCycle;
        loadResult(cds, GetSubGruSeMa(conn, kBranch, stCdCia, stCdManCia, serviceKey, photo, instructions));
    }

    QStringList reloaded(const std::function<RemoteResult()>& call, const QString& field)
    {
        DataSet cds;
        loadResult(cds, call());
        return column(cds, field);
    }

    // Posts, reporting what the user was shown when the post was refused.
    void post(DataSet& dataSet)
    {
        try {
            dataSet.post();
        } catch (const Abort&) {
            ADD_FAILURE() << "post refused: " << ui.errors.join('\n').toStdString();
        }
    }

    ScriptedUi ui;
    std::unique_ptr<TNetConnection> net;
};

TEST_P(EndToEnd, GetSubGruSeMaLoadsTheServiceAndAppliesBothFilters)
{
    DataSet cds;
    loadSubGroups(cds, *net);
    EXPECT_EQ(column(cds, QStringLiteral("CDSUBGRU")), QStringList({"S1", "S2", "S3"}));
    EXPECT_EQ(column(cds, QStringLiteral("SGCIA")).value(0), QStringLiteral("CIA1"));
    loadSubGroups(cds, *net, QStringLiteral("0"), QStringLiteral("2"));
    EXPECT_EQ(column(cds, QStringLiteral("CDSUBGRU")), QStringList({"S1"}));
    loadSubGroups(cds, *net, QStringLiteral("1"), QStringLiteral("2"));
    EXPECT_EQ(column(cds, QStringLiteral("CDSUBGRU")), QStringList({"S2", "S3"}));
    loadSubGroups(cds, *net, QStringLiteral("2"), QStringLiteral("0"));
    EXPECT_EQ(column(cds, QStringLiteral("CDSUBGRU")), QStringList({"S1", "S3"}));
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('\n').toStdString();
}

TEST_P(EndToEnd, LookupOrListMethodsListAllForAnEmptyCodeAndMatchAGivenOne)
{
    EXPECT_EQ(reloaded([&] { return GetServManual(*net, kCia, kBranch, kManual, QString()); },
                       QStringLiteral("CDSERVICO")),
              QStringList({"0000001001", "0000001001", "0000001002"}));
    EXPECT_EQ(reloaded([&] { return GetServManual(*net, kCia, kBranch, kManual, "0000001002"); },
                       QStringLiteral("CDCICLO")),
              QStringList({"0002"}));
    EXPECT_TRUE(reloaded([&] { return GetServManual(*net, kCia, kBranch, kManual, "0000009999"); },
                         QStringLiteral("CDSERVICO"))
                    .isEmpty());

    const QString stCdCia = kCia, stCdClasse = kClass, stCdCiclo = kCycle;
    EXPECT_EQ(reloaded([&] {
                  return GetSubGruPrin(*net, kBranch, stCdCia, kManual, kService, stCdClasse, stCdCiclo, "S1", "");
              }, QStringLiteral("CDSUBGRU")),
              QStringList({"S2", "S3"}));
    EXPECT_EQ(reloaded([&] {
                  return GetSubGruPrin(*net, kBranch, stCdCia, kManual, kService, stCdClasse, stCdCiclo, "S1",
                                       "3.01.003");
              }, QStringLiteral("DSSUBGRU")),
              QStringList({"Sobremesa"}));

    EXPECT_EQ(reloaded([&] { return GetPesqServManual(*net, kBranch, kCia, kManual, "", "T"); },
                       QStringLiteral("SERVICO")),
              QStringList({"000000100100010001", "000000100100020001", "000000100200010002"}));
    EXPECT_EQ(reloaded([&] { return GetPesqServManual(*net, kBranch, kCia, kManual, "0000001002", ""); },
                       QStringLiteral("DSSERVICO")),
              QStringList({"Jantar"}));
    EXPECT_EQ(reloaded([&] { return GetPesqSubGrupos(*net, kBranch, kCia, kManual, "000000100100010001"); },
                       QStringLiteral("CDSUBGRU")),
              QStringList({"S1", "S2", "S3"}));
}

TEST_P(EndToEnd, PerSubGroupLoadsReturnThatSubGroupsRows)
{
    DataSet photo, instructions, equipment, products;
    loadResult(photo, GetFotoSeMa(*net, "S1", "E1"));
    EXPECT_EQ(photo.fieldByName(QStringLiteral("FGESPEPROD")).asBytes(), QByteArray("\xff\xd8photo-one\x00\xff", 13));
    loadResult(instructions, GetFotoSubMa(*net, "S1", "E1"));
    EXPECT_EQ(instructions.fieldByName(QStringLiteral("FGFOTOSUMA")).asBytes(), QByteArray("{\\rtf1 um}"));
    loadResult(equipment, GetEquiSubSeMa(*net, "S1", "E1", "3"));
    EXPECT_EQ(column(equipment, QStringLiteral("CDPRODEQUIP")), QStringList({"EQ1"}));
    loadResult(products, GetProRecSeMa(*net, kBranch, kCia, kManual, kService, "S1", kClass, kCycle));
    EXPECT_EQ(column(products, QStringLiteral("CDPRODINSUMO")), QStringList({"P1", "R1"}));
    EXPECT_EQ(reloaded([&] { return GetParametros(*net, kBranch); }, QStringLiteral("CDTIPODOCU")),
              QStringList({"INS"}));

    const QString stCdCia = kCia, stCdManCia = kManual;
    DataSet others;
    loadResult(others, GetImpInsMont(*net, stCdCia, stCdManCia, kService + kClass + kCycle, "S1"));
    EXPECT_TRUE(column(others, QStringLiteral("CDSUBGRU")).contains(QStringLiteral("S3")));
    EXPECT_EQ(others.recordCount(), column(others, QStringLiteral("FGFOTOSUMA")).size());
}

TEST_P(EndToEnd, EquipmentIsListedCheckedAndLinked)
{
    DataSet cdsEquipamentos;
    loadResult(cdsEquipamentos, GetEquipamentos(*net, kBranch, kCia, "", "3"));
    EXPECT_EQ(column(cdsEquipamentos, QStringLiteral("CDPRODUTO")), QStringList({"EQ1", "EQ2"}));
    EXPECT_EQ(column(cdsEquipamentos, QStringLiteral("IDCHECK")), QStringList({"N", "N"}));

    const auto linked = [&](const QString& product) {
        return reloaded([&] {
            return GetEquipAux(*net, kBranch, kCia, kManual, kService, kClass, kCycle, "S1", product);
        }, QStringLiteral("CDPRODUTO"));
    };
    EXPECT_EQ(linked("EQ1"), QStringList({"EQ1"}));
    EXPECT_TRUE(linked("EQ2").isEmpty());
    CheckResultServ(InsereEquip(*net, kBranch, kCia, "E1", "EQ2", "S1", 1), true, 0);
    EXPECT_EQ(linked("EQ2"), QStringList({"EQ2"}));
    DataSet equipment;
    loadResult(equipment, GetEquiSubSeMa(*net, "S1", "E1", "3"));
    ASSERT_TRUE(equipment.locate(QStringLiteral("CDPRODEQUIP"), {QStringLiteral("EQ2")}));
    EXPECT_EQ(equipment.fieldByName(QStringLiteral("QTEQUISUMA")).asFloat(), 1.0);
}

TEST_P(EndToEnd, ImportaFotoCopiesThePhotosToTheSameSubGroupsOfTheDestination)
{
    DataSet before;
    loadResult(before, GetFotoSeMa(*net, "S1", "E4"));
    EXPECT_TRUE(before.isEmpty());
    const QString stLista, stTodos = QStringLiteral("T");
    CheckResultServ(ImportaFoto(*net, "0001", kCia, kManual, kService, "0002", "0001", kService, stLista, stTodos),
                    true, 0);
    DataSet after;
    loadResult(after, GetFotoSeMa(*net, "S1", "E4"));
    EXPECT_EQ(after.fieldByName(QStringLiteral("FGESPEPROD")).asBytes(), QByteArray("\xff\xd8photo-one\x00\xff", 13));
}

TEST_P(EndToEnd, APostedSubGroupReachesTheServerWithItsNullFields)
{
    DataSet cds;
    cds.afterPost = [&](DataSet& ds) { sendSubGruSeMa(*net, ds); };
    loadSubGroups(cds, *net);
    ASSERT_TRUE(cds.locate(QStringLiteral("CDSUBGRU"), {QStringLiteral("S1")}));
    cds.edit();
    cds.fieldByName(QStringLiteral("NRORDSUMA")).setAsString(QStringLiteral("009"));
    cds.fieldByName(QStringLiteral("TXCOMSUMA")).clear();
    post(cds);
    EXPECT_EQ(cds.changeCount(), 0);
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('\n').toStdString();

    DataSet again;
    loadSubGroups(again, *net);
    ASSERT_TRUE(again.locate(QStringLiteral("CDSUBGRU"), {QStringLiteral("S1")}));
    EXPECT_EQ(again.fieldByName(QStringLiteral("NRORDSUMA")).asString(), QStringLiteral("009"));
    EXPECT_TRUE(again.fieldByName(QStringLiteral("TXCOMSUMA")).isNull());
    EXPECT_EQ(again.fieldByName(QStringLiteral("DSSUBGRUPO")).asString(), QStringLiteral("Prato"));
}

TEST_P(EndToEnd, AnEditOfARowAnotherUserChangedIsRefusedAndUndone)
{
    auto other = makeConnection();
    DataSet mine, theirs;
    mine.afterPost = [&](DataSet& ds) { sendSubGruSeMa(*net, ds); };
    theirs.afterPost = [&](DataSet& ds) { sendSubGruSeMa(*other, ds); };
    loadSubGroups(mine, *net);
    loadSubGroups(theirs, *other);
    for (DataSet* ds : {&theirs, &mine})
        ASSERT_TRUE(ds->locate(QStringLiteral("CDSUBGRU"), {QStringLiteral("S2")}));
    theirs.edit();
    theirs.fieldByName(QStringLiteral("NRORDSUMA")).setAsString(QStringLiteral("020"));
    post(theirs);

    mine.edit();
    mine.fieldByName(QStringLiteral("NRORDSUMA")).setAsString(QStringLiteral("030"));
    EXPECT_THROW(mine.post(), Abort);
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_EQ(mine.changeCount(), 0);
    EXPECT_EQ(mine.fieldByName(QStringLiteral("NRORDSUMA")).asString(), QStringLiteral("002"));

    DataSet server;
    loadSubGroups(server, *net);
    ASSERT_TRUE(server.locate(QStringLiteral("CDSUBGRU"), {QStringLiteral("S2")}));
    EXPECT_EQ(server.fieldByName(QStringLiteral("NRORDSUMA")).asString(), QStringLiteral("020"));
}

TEST_P(EndToEnd, APhotoJustUnderTheLimitTravelsWholeAndOneAtTheLimitIsRefused)
{
    QByteArray picture(549999, '\0');
    for (int i = 0; i < picture.size(); ++i)
        picture[i] = char((i * 7 + i / 251) % 256);
    DataSet cdsFotoSeMa;
    cdsFotoSeMa.afterPost = [&](DataSet& ds) { sendFotoSeMa(*net, ds); };
    loadResult(cdsFotoSeMa, GetFotoSeMa(*net, "S3", "E3"));
    ASSERT_TRUE(cdsFotoSeMa.isEmpty());
    cdsFotoSeMa.edit();
    cdsFotoSeMa.fieldByName(QStringLiteral("CDPRODUTO")).setAsString(QStringLiteral("S3"));
    cdsFotoSeMa.fieldByName(QStringLiteral("CDESPEPROD")).setAsString(QStringLiteral("E3"));
    cdsFotoSeMa.fieldByName(QStringLiteral("FGESPEPROD")).setAsBytes(picture);
    post(cdsFotoSeMa);
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('\n').toStdString();

    DataSet stored;
    loadResult(stored, GetFotoSeMa(*net, "S3", "E3"));
    EXPECT_EQ(stored.fieldByName(QStringLiteral("FGESPEPROD")).asBytes(), picture);

    cdsFotoSeMa.edit();
    cdsFotoSeMa.fieldByName(QStringLiteral("FGESPEPROD")).setAsBytes(picture + 'x');
    EXPECT_THROW(cdsFotoSeMa.post(), Abort);
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors.first().contains(QStringLiteral("550000")));
    EXPECT_EQ(cdsFotoSeMa.fieldByName(QStringLiteral("FGESPEPROD")).asBytes(), picture);
    loadResult(stored, GetFotoSeMa(*net, "S3", "E3"));
    EXPECT_EQ(stored.fieldByName(QStringLiteral("FGESPEPROD")).asBytes(), picture);

    cdsFotoSeMa.afterDelete = cdsFotoSeMa.afterPost;
    cdsFotoSeMa.remove();
    loadResult(stored, GetFotoSeMa(*net, "S3", "E3"));
    EXPECT_TRUE(stored.isEmpty());
}

TEST_P(EndToEnd, KindOneSetsStoreInstructionsEquipmentAndProductsUnderTheIndicator)
{
    DataSet instructions, equipment, products;
    instructions.afterPost = [&](DataSet& ds) { sendFotoSubMa(*net, ds, nullptr); };
    equipment.afterPost = [&](DataSet& ds) { sendEquiSubSeMa(*net, ds, nullptr); };
    equipment.afterDelete = equipment.afterPost;
    products.afterPost = [&](DataSet& ds) { sendProRecSeMa(*net, ds, nullptr); };

    loadResult(instructions, GetFotoSubMa(*net, "S1", "E1"));
    instructions.edit();
    instructions.fieldByName(QStringLiteral("FGFOTOSUMA")).setAsBytes("{\\rtf1 Montar com cuidado.}");
    post(instructions);

    loadResult(equipment, GetEquiSubSeMa(*net, "S1", "E1", "3"));
    equipment.edit();
    equipment.fieldByName(QStringLiteral("QTEQUISUMA")).setAsFloat(4);
    post(equipment);

    loadResult(products, GetProRecSeMa(*net, kBranch, kCia, kManual, kService, "S1", kClass, kCycle));
    ASSERT_TRUE(products.locate(QStringLiteral("CDPRODINSUMO"), {QStringLiteral("P1")}));
    products.edit();
    products.fieldByName(QStringLiteral("TXCOMENT")).setAsString(QStringLiteral("Servir quente"));
    post(products);
    EXPECT_TRUE(ui.errors.isEmpty()) << ui.errors.join('\n').toStdString();
    EXPECT_EQ(ui.busyShows, 3);
    EXPECT_EQ(ui.busyHides, 3);

    EXPECT_EQ(reloaded([&] { return GetFotoSubMa(*net, "S1", "E1"); }, QStringLiteral("FGFOTOSUMA")),
              QStringList({"{\\rtf1 Montar com cuidado.}"}));
    EXPECT_EQ(reloaded([&] { return GetEquiSubSeMa(*net, "S1", "E1", "3"); }, QStringLiteral("QTEQUISUMA")),
              QStringList({"4"}));
    DataSet stored;
    loadResult(stored, GetProRecSeMa(*net, kBranch, kCia, kManual, kService, "S1", kClass, kCycle));
    ASSERT_TRUE(stored.locate(QStringLiteral("CDPRODINSUMO"), {QStringLiteral("P1")}));
    EXPECT_EQ(stored.fieldByName(QStringLiteral("TXCOMENT")).asString(), QStringLiteral("Servir quente"));

    equipment.remove();
    EXPECT_TRUE(reloaded([&] { return GetEquiSubSeMa(*net, "S1", "E1", "3"); }, QStringLiteral("CDPRODEQUIP"))
                    .isEmpty());
}

TEST_P(EndToEnd, ServerRefusalsReachTheUserAndLeaveTheDatasetAlone)
{
    DataSet cds;
    loadSubGroups(cds, *net);
    const QString tooLong = QStringLiteral("00001");
    EXPECT_THROW(loadResult(cds, GetSubGruSeMa(*net, tooLong, kCia, kManual, kService + kClass + kCycle, "2", "2")),
                 Abort);
    EXPECT_THROW(loadResult(cds, GetSubGruSeMa(*net, kBranch, kCia, kManual, kService + kClass + kCycle, "7", "2")),
                 Abort);
    EXPECT_EQ(column(cds, QStringLiteral("CDSUBGRU")), QStringList({"S1", "S2", "S3"}));
    ASSERT_EQ(ui.errors.size(), 2);
    for (const QString& error : ui.errors)
        EXPECT_FALSE(error.trimmed().isEmpty());

    const RemoteResult unknown = invoke(*net, QStringLiteral("GetNada"), {RemoteArg::text("x")});
    EXPECT_FALSE(unknown.ok);
    EXPECT_TRUE(unknown.error.contains(QStringLiteral("GetNada"))) << unknown.error.toStdString();
}

TEST_P(EndToEnd, AStoppedServerFailsCallsAsResultsAndTheNextConnect)
{
    server_.reset();
    const RemoteResult result = GetParametros(*net, kBranch);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.error.isEmpty());
    net->disconnect();
    EXPECT_THROW(net->connect(), ConnectionError);
    EXPECT_FALSE(net->connected());
}

QMV_DRIVERS(EndToEnd);

}  // namespace
}  // namespace qmv
