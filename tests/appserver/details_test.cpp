// The per-sub-group details: instructions and parameters, equipment (list, check list, link test
// and link), and products and recipes.
#include "appserver/serverfixture.h"

#include <gtest/gtest.h>

namespace qmv::appserver::test {
namespace {

using namespace Qt::StringLiterals;

QStringList layout(const DataPacket& packet)
{
    QStringList names;
    for (const FieldDef& f : packet.fields)
        names << u"%1:%2:%3"_s.arg(f.name).arg(int(f.kind)).arg(f.size);
    return names;
}

class Instructions : public DriverTest {};

TEST_P(Instructions, ReadsWritesAndRemovesTheInstructionRecord)
{
    const DataPacket none = get(u"GetFotoSubMa"_s, {u"S2"_s, u"E2"_s});
    const int t = int(FieldKind::Text), b = int(FieldKind::Blob);
    EXPECT_EQ(layout(none), (QStringList{u"CDPRODUTO:%1:10"_s.arg(t), u"FGFOTOSUMA:%1:0"_s.arg(b),
                                         u"CDESPEPROD:%1:10"_s.arg(t), u"CDTIPODOCU:%1:3"_s.arg(t)}));
    EXPECT_TRUE(none.rows.isEmpty());
    const QByteArray rtf("{\\rtf1\\ansi Montar \\'e0 direita\\par}");
    ASSERT_TRUE(set(u"SetFotoSubMa"_s, insertOf(none.fields, {u"S2"_s, rtf, u"E2"_s, u"INS"_s})).ok());
    const DataPacket created = get(u"GetFotoSubMa"_s, {u"S2"_s, u"E2"_s});
    EXPECT_EQ(valueAt(created, 0, u"FGFOTOSUMA"_s).toByteArray(), rtf);
    EXPECT_EQ(valueAt(created, 0, u"CDTIPODOCU"_s).toString(), u"INS"_s);
    ASSERT_TRUE(set(u"SetFotoSubMa"_s, deleteOf(created, 0)).ok());
    EXPECT_TRUE(get(u"GetFotoSubMa"_s, {u"S2"_s, u"E2"_s}).rows.isEmpty());
    EXPECT_FALSE(set(u"SetFotoSubMa"_s, insertOf(none.fields, {u"S2"_s, rtf, u"E2"_s, u"LONGO"_s})).ok());
}

TEST_P(Instructions, OffersTheCompanysOtherSubgroupsWithInstructions)
{
    const DataPacket others = get(u"GetImpInsMont"_s, {u"0001"_s, u"0001"_s, u"000000100100010001"_s, u"S1"_s});
    EXPECT_EQ(layout(others).first(), u"CDCIA:%1:4"_s.arg(int(FieldKind::Text)));
    EXPECT_EQ(others.fields.size(), 9);
    EXPECT_EQ(column(others, u"CDSUBGRU"_s), QStringList{u"S3"_s});  // S1 itself left out
    EXPECT_EQ(valueAt(others, 0, u"SGCIA"_s).toString(), u"CIA1"_s);
    EXPECT_EQ(valueAt(others, 0, u"CDFILIAL"_s).toString(), u"0001"_s);
    EXPECT_EQ(valueAt(others, 0, u"FGFOTOSUMA"_s).toByteArray(), QByteArray("{\\rtf1 tres}"));
    EXPECT_TRUE(get(u"GetImpInsMont"_s, {u"0002"_s, u"0001"_s, u"000000100100010001"_s, u"S1"_s}).rows.isEmpty());
}

TEST_P(Instructions, GivesTheBranchDocumentType)
{
    EXPECT_EQ(column(get(u"GetParametros"_s, {u"0001"_s}), u"CDTIPODOCU"_s), QStringList{u"INS"_s});
    EXPECT_TRUE(get(u"GetParametros"_s, {u"0002"_s}).rows.isEmpty());
}

class Equipment : public DriverTest {
protected:
    QCborArray auxArgs(const QString& equipment) const
    {
        return {u"0001"_s, u"0001"_s, u"0001"_s, u"0000001001"_s, u"0001"_s, u"0001"_s, u"S1"_s, equipment};
    }
};

TEST_P(Equipment, ListsTheSubgroupsEquipmentWithinTheCodeLevels)
{
    const DataPacket list = get(u"GetEquiSubSeMa"_s, {u"S1"_s, u"E1"_s, u"3"_s});
    QStringList names;
    for (const FieldDef& f : list.fields)
        names << f.name;
    EXPECT_EQ(names, (QStringList{u"CDFILIAL"_s, u"CDCIA"_s, u"NMPRODUTO"_s, u"NMCLASSIFICACAO"_s, u"QTEQUISUMA"_s,
                                  u"CDARVPROD"_s, u"CDPRODUTO"_s, u"SGUNIDADE"_s, u"CDESPEPROD"_s, u"CDPRODEQUIP"_s}));
    EXPECT_EQ(list.fields[4].kind, FieldKind::Float);
    ASSERT_EQ(list.rows.size(), 1);
    EXPECT_EQ(valueAt(list, 0, u"NMCLASSIFICACAO"_s).toString(), u"Louça"_s);
    EXPECT_EQ(valueAt(list, 0, u"CDPRODUTO"_s).toString(), u"S1"_s);
    EXPECT_DOUBLE_EQ(valueAt(list, 0, u"QTEQUISUMA"_s).toDouble(), 2.0);

    database_->exec(u"INSERT INTO EQUISUBSEMA VALUES ('E1', 'EQ3', 1)"_s);  // a four-level code
    EXPECT_EQ(get(u"GetEquiSubSeMa"_s, {u"S1"_s, u"E1"_s, u"3"_s}).rows.size(), 1);
    EXPECT_EQ(get(u"GetEquiSubSeMa"_s, {u"S1"_s, u"E1"_s, u"4"_s}).rows.size(), 2);
    EXPECT_FALSE(call(u"GetEquiSubSeMa"_s, {u"S1"_s, u"E1"_s, u"três"_s}).ok());
}

TEST_P(Equipment, ChangesQuantitiesAndRemovesRowsButNeverInserts)
{
    const DataPacket list = get(u"GetEquiSubSeMa"_s, {u"S1"_s, u"E1"_s, u"3"_s});
    const QString before = database_->snapshot();
    EXPECT_EQ(set(u"SetEquiSubSeMa"_s, updateOf(list, 0, {{u"QTEQUISUMA"_s, 0.0}})).error(),
              u"Quantidade deve ser informada."_s);
    EXPECT_EQ(set(u"SetEquiSubSeMa"_s, updateOf(list, 0, {{u"QTEQUISUMA"_s, u"três"_s}})).error(),
              u"O campo QTEQUISUMA deve ser um número."_s);
    EXPECT_FALSE(set(u"SetEquiSubSeMa"_s, insertOf(list.fields, list.rows[0])).ok());
    EXPECT_EQ(database_->snapshot(), before);

    ASSERT_TRUE(set(u"SetEquiSubSeMa"_s, updateOf(list, 0, {{u"QTEQUISUMA"_s, -1.5}, {u"CDFILIAL"_s, u"0001"_s}})).ok());
    const DataPacket changed = get(u"GetEquiSubSeMa"_s, {u"S1"_s, u"E1"_s, u"3"_s});
    EXPECT_DOUBLE_EQ(valueAt(changed, 0, u"QTEQUISUMA"_s).toDouble(), -1.5);
    ASSERT_TRUE(set(u"SetEquiSubSeMa"_s, deleteOf(changed, 0)).ok());
    EXPECT_TRUE(get(u"GetEquiSubSeMa"_s, {u"S1"_s, u"E1"_s, u"3"_s}).rows.isEmpty());
}

TEST_P(Equipment, OffersTheBranchAndCompanyEquipmentUnticked)
{
    const DataPacket all = get(u"GetEquipamentos"_s, {u"0001"_s, u"0001"_s, QString(), u"3"_s});
    EXPECT_EQ(all.fields.first().kind, FieldKind::FixedText);
    EXPECT_EQ(column(all, u"CDPRODUTO"_s), (QStringList{u"EQ1"_s, u"EQ2"_s}));
    EXPECT_EQ(column(all, u"IDCHECK"_s), (QStringList{u"N"_s, u"N"_s}));
    EXPECT_EQ(get(u"GetEquipamentos"_s, {u"0001"_s, u"0001"_s, QString(), u"4"_s}).rows.size(), 3);
    EXPECT_EQ(column(get(u"GetEquipamentos"_s, {u"0001"_s, u"0001"_s, u"4.01.002"_s, u"3"_s}), u"CDPRODUTO"_s),
              QStringList{u"EQ2"_s});
    EXPECT_EQ(column(get(u"GetEquipamentos"_s, {u"0002"_s, u"0001"_s, QString(), u"3"_s}), u"CDPRODUTO"_s),
              QStringList{u"EQ1"_s});
}

TEST_P(Equipment, LinksEquipmentOnceWithQuantityOne)
{
    EXPECT_EQ(get(u"GetEquipAux"_s, auxArgs(u"EQ1"_s)).rows.size(), 1);
    EXPECT_TRUE(get(u"GetEquipAux"_s, auxArgs(u"EQ2"_s)).rows.isEmpty());
    const Reply inserted = call(u"InsereEquip"_s, {u"0001"_s, u"0001"_s, u"E1"_s, u"EQ2"_s, u"S1"_s, 1});
    ASSERT_TRUE(inserted.ok()) << inserted.error().toStdString();
    const DataPacket linked = get(u"GetEquipAux"_s, auxArgs(u"EQ2"_s));
    EXPECT_EQ(column(linked, u"CDPRODUTO"_s), QStringList{u"EQ2"_s});
    EXPECT_DOUBLE_EQ(database_->scalar(u"SELECT QTEQUISUMA FROM EQUISUBSEMA WHERE CDPRODEQUIP = 'EQ2'"_s).toDouble(), 1.0);

    const QString before = database_->snapshot();
    EXPECT_EQ(call(u"InsereEquip"_s, {u"0001"_s, u"0001"_s, u"E1"_s, u"EQ2"_s, u"S1"_s, 1}).error(),
              u"Equipamento já cadastrado."_s);
    EXPECT_TRUE(call(u"InsereEquip"_s, {u"0002"_s, u"0001"_s, u"E1"_s, u"EQ1"_s, u"S1"_s, 1})
                    .error().startsWith(u"Sub-grupo S1 não cadastrado"_s));
    EXPECT_TRUE(call(u"InsereEquip"_s, {u"0001"_s, u"0001"_s, u"E1"_s, u"P1"_s, u"S1"_s, 1})
                    .error().startsWith(u"Equipamento P1 não cadastrado"_s));
    EXPECT_FALSE(call(u"InsereEquip"_s, {u"0001"_s, u"0001"_s, u"E1"_s, u"EQ3"_s, u"S1"_s, 0}).ok());
    EXPECT_TRUE(call(u"InsereEquip"_s, {u"0001"_s, u"0001"_s, u"E1"_s, u"EQ3"_s, u"S1"_s, u"1"_s})
                    .error().contains(u"número inteiro"_s));
    EXPECT_EQ(database_->snapshot(), before);
}

class ProRecSeMa : public DriverTest {
protected:
    DataPacket load() const
    {
        return get(u"GetProRecSeMa"_s, {u"0001"_s, u"0001"_s, u"0001"_s, u"0000001001"_s, u"S1"_s, u"0001"_s, u"0001"_s});
    }
};

TEST_P(ProRecSeMa, ListsTheProductsAndRecipesOfTheSubgroup)
{
    const DataPacket list = load();
    QStringList names;
    for (const FieldDef& f : list.fields)
        names << f.name;
    EXPECT_EQ(names, (QStringList{u"CDFILIAL"_s, u"CDCIA"_s, u"CDSERVICO"_s, u"CDMANCIA"_s, u"CDSUBGRU"_s, u"ID"_s,
                                  u"NRORDEM"_s, u"CODIGO"_s, u"CDCODINT"_s, u"NOME"_s, u"QUANTIDADE"_s, u"SGUNIDADE"_s,
                                  u"TXCOMENT"_s, u"IDPRODATIV"_s, u"CDESPEPROD"_s, u"CDTIPOCOMP"_s, u"CDPRODINSUMO"_s}));
    EXPECT_EQ(list.fields[5].kind, FieldKind::FixedText);
    EXPECT_EQ(list.fields[10].kind, FieldKind::Float);
    EXPECT_EQ(column(list, u"ID"_s), (QStringList{u"P"_s, u"R"_s}));
    EXPECT_EQ(column(list, u"CODIGO"_s), (QStringList{u"2.01.001"_s, u"5.01.001"_s}));
    EXPECT_DOUBLE_EQ(valueAt(list, 0, u"QUANTIDADE"_s).toDouble(), 0.5);
    // Sub-group before class and cycle: swapping them finds nothing.
    EXPECT_TRUE(get(u"GetProRecSeMa"_s, {u"0001"_s, u"0001"_s, u"0001"_s, u"0000001001"_s, u"0001"_s, u"0001"_s, u"S1"_s})
                    .rows.isEmpty());
}

TEST_P(ProRecSeMa, StoresOrderAndCommentOnlyAndAcceptsRemovals)
{
    const DataPacket list = load();
    const QString before = database_->snapshot();
    EXPECT_EQ(set(u"SetProRecSeMa"_s, updateOf(list, 0, {{u"QUANTIDADE"_s, 9.0}})).error(),
              u"O campo QUANTIDADE não pode ser alterado."_s);
    EXPECT_EQ(set(u"SetProRecSeMa"_s, updateOf(list, 0, {{u"NRORDEM"_s, u""_s}})).error(),
              u"A ordem de classificação deve ser informada."_s);
    EXPECT_FALSE(set(u"SetProRecSeMa"_s, insertOf(list.fields, list.rows[0])).ok());
    EXPECT_EQ(database_->snapshot(), before);

    ChangeSet changes = updateOf(list, 0, {{u"NRORDEM"_s, u"  7"_s}, {u"TXCOMENT"_s, u"Sem sal"_s}});
    changes.changes << deleteOf(list, 1).changes;
    const Reply reply = set(u"SetProRecSeMa"_s, changes);
    ASSERT_TRUE(reply.ok()) << reply.error().toStdString();
    EXPECT_EQ(reply.map.value(u"result"_s).toMap().value(u"rows"_s).toInteger(), 2);
    const DataPacket after = load();
    ASSERT_EQ(after.rows.size(), 1);
    EXPECT_EQ(valueAt(after, 0, u"NRORDEM"_s).toString(), u"  7"_s);
    EXPECT_EQ(valueAt(after, 0, u"TXCOMENT"_s).toString(), u"Sem sal"_s);
}

QMV_DRIVERS(Instructions);
QMV_DRIVERS(Equipment);
QMV_DRIVERS(ProRecSeMa);

}  // namespace
}  // namespace qmv::appserver::test
