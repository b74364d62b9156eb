// The manual emission's methods: the services of a manual with its cover's names, and one service's
// sub-groups, equipment and products in a single answer.
#include "appserver/serverfixture.h"

#include <gtest/gtest.h>

namespace qmv::appserver::test {
namespace {

using namespace Qt::StringLiterals;

class Emission : public DriverTest {
protected:
    // The three packets of GetEmissaoServico, by name.
    QMap<QString, DataPacket> service(const QString& key, const QString& levels = u"3"_s) const
    {
        const Reply reply = call(u"GetEmissaoServico"_s, {u"0001"_s, u"0001"_s, u"0001"_s, key, levels});
        EXPECT_TRUE(reply.ok()) << reply.error().toStdString();
        QMap<QString, DataPacket> parts;
        const QCborMap result = reply.map.value(u"result"_s).toMap();
        for (const QString& name : {u"SUBGRUPOS"_s, u"EQUIPAMENTOS"_s, u"PRODUTOS"_s})
            parts.insert(name, packetFromCbor(result.value(name)));
        return parts;
    }
};

TEST_P(Emission, ListsTheManualsServicesInCodeOrderWithTheCoverNames)
{
    const DataPacket all = get(u"GetEmissaoManual"_s, {u"0001"_s, u"0001"_s, u"0001"_s, QString()});
    EXPECT_EQ(column(all, u"SERVICO"_s), (QStringList{u"1.01.001"_s, u"1.01.001"_s, u"1.01.002"_s}));
    EXPECT_EQ(column(all, u"CDCLASSE"_s), (QStringList{u"0001"_s, u"0002"_s, u"0001"_s}));
    EXPECT_EQ(column(all, u"NRSUBGRU"_s), (QStringList{u"3"_s, u"1"_s, u"0"_s}));
    EXPECT_EQ(valueAt(all, 0, u"NMFILIAL"_s).toString(), u"Cozinha Teste"_s);
    EXPECT_EQ(valueAt(all, 0, u"NMCIA"_s).toString(), u"Companhia Um"_s);
    EXPECT_EQ(valueAt(all, 0, u"DSMANUAL"_s).toString(), u"Manual A"_s);

    const DataPacket one = get(u"GetEmissaoManual"_s, {u"0001"_s, u"0001"_s, u"0001"_s, u"000000100100020001"_s});
    EXPECT_EQ(column(one, u"SGCLASSE"_s), QStringList{u"EXEC"_s});
}

TEST_P(Emission, RefusesAManualOrServiceThatDoesNotExist)
{
    const QList<QCborArray> refused = {
        {u"0001"_s, u"0001"_s, u"0007"_s, QString()},
        {u"0001"_s, u"0001"_s, u"0001"_s, u"000000100100030001"_s},
        {u"0001"_s, u"0001"_s, u"0001"_s, u"12"_s},
    };
    for (const QCborArray& args : refused) {
        const Reply reply = call(u"GetEmissaoManual"_s, args);
        EXPECT_FALSE(reply.ok());
        EXPECT_FALSE(reply.error().isEmpty());
    }
    const Reply noService = call(u"GetEmissaoServico"_s,
                                 {u"0002"_s, u"0001"_s, u"0001"_s, u"000000100200010002"_s, u"3"_s});
    EXPECT_FALSE(noService.ok());
    EXPECT_TRUE(noService.error().contains(u"não está cadastrado"_s)) << noService.error().toStdString();
    EXPECT_FALSE(call(u"GetEmissaoServico"_s, {u"0001"_s, u"0001"_s, u"0001"_s, u"000000100100010001"_s, u"0"_s}).ok());
}

TEST_P(Emission, GivesOneServiceWholeInClassificationOrder)
{
    database_->exec(u"UPDATE SUBGRUSEMA SET NRORDSUMA = '10' WHERE CDESPEPRODSG = 'E1'"_s);
    database_->exec(u"UPDATE SUBGRUSEMA SET NRORDSUMA = '2' WHERE CDESPEPRODSG = 'E3'"_s);
    database_->exec(u"UPDATE SUBGRUSEMA SET NRORDSUMA = NULL WHERE CDESPEPRODSG = 'E2'"_s);
    database_->exec(u"INSERT INTO EQUISUBSEMA VALUES ('E1', 'EQ3', 1)"_s);  // four levels: left out at 3
    const auto parts = service(u"000000100100010001"_s);
    const DataPacket& subgroups = parts[u"SUBGRUPOS"_s];
    EXPECT_EQ(column(subgroups, u"DSSUBGRU"_s), (QStringList{u"Sobremesa"_s, u"Prato Quente"_s, u"Salada"_s}));
    EXPECT_EQ(valueAt(subgroups, 1, u"FGESPEPROD"_s).toByteArray(), QByteArray("\xff\xd8photo-one\x00\xff", 13));
    EXPECT_EQ(valueAt(subgroups, 1, u"FGFOTOSUMA"_s).toByteArray(), QByteArray("{\\rtf1 um}"));
    EXPECT_EQ(valueAt(subgroups, 1, u"VRPELOADSUMA"_s).toString(), u"12.6"_s);
    EXPECT_EQ(valueAt(subgroups, 1, u"DTEFETSUMA"_s).toDateTime().date(), QDate(2026, 3, 10));
    EXPECT_EQ(valueAt(subgroups, 2, u"DSSUBGRUPRI"_s).toString(), u"Prato Quente"_s);
    EXPECT_TRUE(valueAt(subgroups, 2, u"FGESPEPROD"_s).isNull());

    const DataPacket& equipment = parts[u"EQUIPAMENTOS"_s];
    EXPECT_EQ(column(equipment, u"NMPRODUTO"_s), QStringList{u"Bandeja"_s});
    EXPECT_DOUBLE_EQ(valueAt(equipment, 0, u"QTEQUISUMA"_s).toDouble(), 2.0);
    EXPECT_EQ(service(u"000000100100010001"_s, u"4"_s)[u"EQUIPAMENTOS"_s].rows.size(), 2);

    const DataPacket& products = parts[u"PRODUTOS"_s];
    EXPECT_EQ(column(products, u"NOME"_s), (QStringList{u"Arroz"_s, u"Frango Assado"_s}));
    EXPECT_EQ(column(products, u"ID"_s), (QStringList{u"P"_s, u"R"_s}));
    EXPECT_EQ(valueAt(products, 0, u"TXCOMENT"_s).toString(), u"Comentário"_s);
}

QMV_DRIVERS(Emission);

}  // namespace
}  // namespace qmv::appserver::test
