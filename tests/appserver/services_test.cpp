// Service lookups and lists: the main screen's GetServManual and the photo import's
// GetPesqServManual and GetPesqSubGrupos.
#include "appserver/serverfixture.h"

#include <gtest/gtest.h>

namespace qmv::appserver::test {
namespace {

using namespace Qt::StringLiterals;

QStringList layout(const DataPacket& packet)
{
    QStringList names;
    for (const FieldDef& f : packet.fields)
        names << u"%1:%2"_s.arg(f.name).arg(f.size);
    return names;
}

class GetServManual : public DriverTest {};

TEST_P(GetServManual, ListsTheManualsServicesWithClassAndCycle)
{
    const DataPacket all = get(u"GetServManual"_s, {u"0001"_s, u"0001"_s, u"0001"_s, QString()});
    EXPECT_EQ(layout(all), (QStringList{u"CDSERVICO:25"_s, u"SERVICO:18"_s, u"CDCLASSE:4"_s, u"CDCICLO:4"_s,
                                        u"DSSERVICO:35"_s, u"SGCLASSE:5"_s, u"IDCICLO:10"_s, u"DSSERCLACIC:71"_s}));
    ASSERT_EQ(all.rows.size(), 3);
    EXPECT_EQ(column(all, u"SERVICO"_s), (QStringList{u"1.01.001"_s, u"1.01.001"_s, u"1.01.002"_s}));
    EXPECT_EQ(column(all, u"SGCLASSE"_s), (QStringList{u"ECON"_s, u"EXEC"_s, u"ECON"_s}));
    EXPECT_EQ(valueAt(all, 2, u"DSSERCLACIC"_s).toString(), u"Jantar - ECON - Ciclo 2"_s);
}

TEST_P(GetServManual, LooksUpATypedCodeOrFindsNothing)
{
    // The company comes first here and the branch second.
    const DataPacket typed = get(u"GetServManual"_s, {u"0001"_s, u"0001"_s, u"0001"_s, u"1.01.001"_s});
    EXPECT_EQ(column(typed, u"CDCLASSE"_s), (QStringList{u"0001"_s, u"0002"_s}));
    const DataPacket internal = get(u"GetServManual"_s, {u"0001"_s, u"0001"_s, u"0001"_s, u"0000001002"_s});
    EXPECT_EQ(column(internal, u"CDSERVICO"_s), QStringList{u"0000001002"_s});
    EXPECT_TRUE(get(u"GetServManual"_s, {u"0001"_s, u"0001"_s, u"0001"_s, u"9.99.999"_s}).rows.isEmpty());
    EXPECT_TRUE(get(u"GetServManual"_s, {u"0001"_s, u"0001"_s, u"0002"_s, QString()}).rows.isEmpty());
    // Company 0001 at branch 0002 has one service; branch 0001 with company 0002 would have none.
    EXPECT_EQ(get(u"GetServManual"_s, {u"0001"_s, u"0002"_s, u"0001"_s, QString()}).rows.size(), 1);
}

class PesqServManual : public DriverTest {};

TEST_P(PesqServManual, ListsWithTAndLooksUpWithACode)
{
    const DataPacket all = get(u"GetPesqServManual"_s, {u"0001"_s, u"0001"_s, u"0001"_s, QString(), u"T"_s});
    EXPECT_EQ(layout(all), (QStringList{u"SERVICO:18"_s, u"CDFILIAL:4"_s, u"CDCIA:4"_s, u"CDARVSERV:20"_s,
                                        u"CDMANCIA:4"_s, u"CDSERVICO:10"_s, u"DSSERVICO:50"_s, u"SGCLASSE:5"_s,
                                        u"IDCICLO:10"_s}));
    EXPECT_EQ(column(all, u"SERVICO"_s),
              (QStringList{u"000000100100010001"_s, u"000000100100020001"_s, u"000000100200010002"_s}));
    const DataPacket one = get(u"GetPesqServManual"_s, {u"0001"_s, u"0001"_s, u"0001"_s, u"0000001002"_s, QString()});
    EXPECT_EQ(column(one, u"CDARVSERV"_s), QStringList{u"1.01.002"_s});
    EXPECT_TRUE(get(u"GetPesqServManual"_s, {u"0001"_s, u"0001"_s, u"0001"_s, QString(), QString()}).rows.isEmpty());
    EXPECT_FALSE(call(u"GetPesqServManual"_s, {u"0001"_s, u"0001"_s, u"0001"_s, QString(), u"X"_s}).ok());
}

TEST_P(PesqServManual, ListsTheSubgroupsOfTheChosenOriginService)
{
    const DataPacket rows = get(u"GetPesqSubGrupos"_s, {u"0002"_s, u"0001"_s, u"0001"_s, u"000000100100010001"_s});
    EXPECT_EQ(layout(rows), (QStringList{u"IDMARCADO:1"_s, u"SUBGRUPO:28"_s, u"CDFILIAL:4"_s, u"CDCIA:4"_s,
                                         u"CDMANCIA:4"_s, u"CDSERVICO:10"_s, u"CDSUBARV:20"_s, u"CDSUBGRU:10"_s,
                                         u"DSSUBGRU:200"_s, u"SGCLASSE:5"_s, u"IDCICLO:10"_s}));
    EXPECT_EQ(rows.fields[0].kind, FieldKind::FixedText);
    EXPECT_EQ(column(rows, u"CDSUBARV"_s), (QStringList{u"3.01.001"_s, u"3.01.002"_s}));
    EXPECT_EQ(valueAt(rows, 0, u"SUBGRUPO"_s).toString(), u"000000100100010001S1"_s);
    EXPECT_EQ(valueAt(rows, 0, u"IDMARCADO"_s).toString(), u"N"_s);
    // No origin service chosen yet: an empty list, not an error.
    EXPECT_TRUE(get(u"GetPesqSubGrupos"_s, {u"0002"_s, u"0001"_s, u"0001"_s, QString()}).rows.isEmpty());
}

QMV_DRIVERS(GetServManual);
QMV_DRIVERS(PesqServManual);

}  // namespace
}  // namespace qmv::appserver::test
