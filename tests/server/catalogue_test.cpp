// Argument order and kind of every remote method, pinned through the recording transport.
#include <gtest/gtest.h>

#include "server/catalogue.h"
#include "server/tnetconnection.h"
#include "support/recordingtransport.h"

namespace qmv {
namespace {

ChangeSet oneUpdate()
{
    ChangeSet changes;
    changes.fields = {FieldDef{QStringLiteral("CDSUBGRU"), FieldKind::Text, 4},
                      FieldDef{QStringLiteral("NRORDSUMA"), FieldKind::Integer}};
    changes.changes = {Change{ChangeKind::Update, {QStringLiteral("0001"), 1}, {QStringLiteral("0001"), 2}}};
    return changes;
}

class Catalogue : public ::testing::Test {
protected:
    Catalogue()
        : recorder(new test::RecordingTransport)
        , conn(nullptr, std::unique_ptr<Transport>(recorder))
    {
        conn.setServerName(kServerName);
        conn.connect();
    }
    test::RecordingTransport* recorder;
    TNetConnection conn;
};

TEST_F(Catalogue, SubGroupAndServiceLookupsKeepTheirOwnArgumentOrder)
{
    GetSubGruSeMa(conn, "0001", "0002", "0003", "SERV000001CLA1CIC1", "1", "2");
    GetServManual(conn, "CIA1", "FIL1", "MAN1", "");
    GetSubGruPrin(conn, "FIL1", "CIA1", "MAN1", "SERV000001", "CLA1", "CIC1", "SUB1", "PRI1");
    GetImpInsMont(conn, "CIA1", "MAN1", "SERV000001CLA1CIC1", "SUB1");
    EXPECT_EQ(recorder->calls(),
              QStringList({R"(GetSubGruSeMa("0001","0002","0003","SERV000001CLA1CIC1","1","2"))",
                           R"(GetServManual("CIA1","FIL1","MAN1",""))",
                           R"(GetSubGruPrin("FIL1","CIA1","MAN1","SERV000001","CLA1","CIC1","SUB1","PRI1"))",
                           R"(GetImpInsMont("CIA1","MAN1","SERV000001CLA1CIC1","SUB1"))"}));
    for (const auto& call : recorder->log())
        EXPECT_EQ(call.serverName, QStringLiteral("Qmv00500.rdmFotoMontManual"));
}

TEST_F(Catalogue, PerSubGroupLoadsPassSubGroupBeforeItsProductKind)
{
    GetFotoSubMa(conn, "SUB1", "ESP1");
    GetFotoSeMa(conn, "SUB2", "ESP2");
    GetEquiSubSeMa(conn, "SUB3", "ESP3", "4");
    GetProRecSeMa(conn, "FIL1", "CIA1", "MAN1", "SERV000001", "SUB1", "CLA1", "CIC1");
    GetParametros(conn, "FIL9");
    EXPECT_EQ(recorder->calls(),
              QStringList({R"(GetFotoSubMa("SUB1","ESP1"))", R"(GetFotoSeMa("SUB2","ESP2"))",
                           R"(GetEquiSubSeMa("SUB3","ESP3","4"))",
                           R"(GetProRecSeMa("FIL1","CIA1","MAN1","SERV000001","SUB1","CLA1","CIC1"))",
                           R"(GetParametros("FIL9"))"}));
}

TEST_F(Catalogue, EquipmentMethodsSendTheQuantityAsAnInteger)
{
    GetEquipamentos(conn, "FIL1", "CIA1", "", "3");
    GetEquipAux(conn, "FIL1", "CIA1", "MAN1", "SERV000001", "CLA1", "CIC1", "SUB1", "PROD1");
    InsereEquip(conn, "FIL1", "CIA1", "ESP1", "PROD1", "SUB1", 1);
    EXPECT_EQ(recorder->calls(),
              QStringList({R"(GetEquipamentos("FIL1","CIA1","","3"))",
                           R"(GetEquipAux("FIL1","CIA1","MAN1","SERV000001","CLA1","CIC1","SUB1","PROD1"))",
                           R"(InsereEquip("FIL1","CIA1","ESP1","PROD1","SUB1",1))"}));
    const QCborArray args = recorder->log().last().args;
    EXPECT_TRUE(args.at(5).isInteger());
    EXPECT_TRUE(args.at(4).isString());
}

TEST_F(Catalogue, PhotoImportMethodsTakeOriginThenDestination)
{
    GetPesqServManual(conn, "FIL2", "CIA1", "MAN2", "", "T");
    GetPesqSubGrupos(conn, "FIL2", "CIA1", "MAN2", "SERV000002CLA1CIC1");
    ImportaFoto(conn, "FIL2", "CIA1", "MAN2", "SERV000002", "FIL1", "MAN1", "SERV000001", "", "T");
    EXPECT_EQ(recorder->calls(),
              QStringList({R"(GetPesqServManual("FIL2","CIA1","MAN2","","T"))",
                           R"(GetPesqSubGrupos("FIL2","CIA1","MAN2","SERV000002CLA1CIC1"))",
                           R"(ImportaFoto("FIL2","CIA1","MAN2","SERV000002","FIL1","MAN1","SERV000001","","T"))"}));
}

TEST_F(Catalogue, SetMethodsSendTheChangeSetItself)
{
    const ChangeSet changes = oneUpdate();
    SetSubGruSeMa(conn, changes, "_OBS");
    SetEquiSubSeMa(conn, changes);
    SetProRecSeMa(conn, changes);
    SetFotoSubMa(conn, changes);
    SetFotoSeMa(conn, changes);
    EXPECT_EQ(recorder->calls(),
              QStringList({R"(SetSubGruSeMa(<delta:U>,"_OBS"))", "SetEquiSubSeMa(<delta:U>)",
                           "SetProRecSeMa(<delta:U>)", "SetFotoSubMa(<delta:U>)", "SetFotoSeMa(<delta:U>)"}));
    const ChangeSet sent = changeSetFromCbor(recorder->log().first().args.at(0));
    EXPECT_EQ(canonicalText(sent, {QStringLiteral("CDSUBGRU")}),
              canonicalText(changes, {QStringLiteral("CDSUBGRU")}));
}

}  // namespace
}  // namespace qmv
