// The sub-group list, its change set (null-field list, principal sub-group, conflicts) and the
// principal sub-group candidates.
#include "appserver/serverfixture.h"
#include "platform/wallclock.h"

#include <QDateTime>
#include <ctime>
#include <gtest/gtest.h>

namespace qmv::appserver::test {
namespace {

using namespace Qt::StringLiterals;

const QString key = u"000000100100010001"_s;  // service 0000001001, class 0001, cycle 0001

class SubGruSeMa : public DriverTest {
protected:
    DataPacket load(const QString& photo = u"2"_s, const QString& instructions = u"2"_s) const
    {
        return get(u"GetSubGruSeMa"_s, {u"0001"_s, u"0001"_s, u"0001"_s, key, photo, instructions});
    }
    Reply send(const ChangeSet& changes, const QString& nullList = u"_OBS"_s) const
    {
        return set(u"SetSubGruSeMa"_s, changes, {nullList});
    }
};

TEST_P(SubGruSeMa, ReturnsTheDatasetColumnsInOrderWithKindsAndSizes)
{
    const DataPacket packet = load();
    QStringList layout;
    for (const FieldDef& f : packet.fields)
        layout << u"%1:%2:%3"_s.arg(f.name).arg(int(f.kind)).arg(f.size);
    const int t = int(FieldKind::Text), d = int(FieldKind::DateTime), b = int(FieldKind::Blob);
    const QStringList expected = {
        u"DSSUBGRUPO:%1:50"_s.arg(t),  u"CDCIA:%1:4"_s.arg(t),          u"SGCIA:%1:5"_s.arg(t),
        u"NMCIA:%1:50"_s.arg(t),       u"CDMANCIA:%1:4"_s.arg(t),       u"CDSERVICO:%1:10"_s.arg(t),
        u"CDSUBGRU:%1:10"_s.arg(t),    u"CDSUBARV:%1:20"_s.arg(t),      u"DSSUBGRU:%1:50"_s.arg(t),
        u"NRORDSUMA:%1:3"_s.arg(t),    u"DSSUBGRUPROD:%1:50"_s.arg(t),  u"NMFOTOSUMA:%1:30"_s.arg(t),
        u"FGLOGOCIA:%1:0"_s.arg(b),    u"VRPELOADSUMA:%1:20"_s.arg(t),  u"TXCOMSUMA:%1:200"_s.arg(t),
        u"CDCLASSE:%1:4"_s.arg(t),     u"CDCICLO:%1:4"_s.arg(t),        u"CDFILIAL:%1:4"_s.arg(t),
        u"DTAPRESUMA:%1:0"_s.arg(d),   u"DSSUBGRUPRI:%1:50"_s.arg(t),   u"CDSUBARVPRI:%1:20"_s.arg(t),
        u"DTEFETSUMA:%1:0"_s.arg(d),   u"DTREVISUMA:%1:0"_s.arg(d),     u"CDESPEPROD:%1:10"_s.arg(t),
        u"CDTIPOCOMP:%1:3"_s.arg(t),   u"CDSUBGRUPRI:%1:50"_s.arg(t),   u"CDESPEPRODSG:%1:10"_s.arg(t),
        u"CDPRODUTOPRI:%1:10"_s.arg(t)};
    EXPECT_EQ(layout, expected);
    ASSERT_EQ(packet.rows.size(), 3);
    EXPECT_EQ(column(packet, u"CDSUBGRU"_s), (QStringList{u"S1"_s, u"S2"_s, u"S3"_s}));
    EXPECT_EQ(valueAt(packet, 0, u"SGCIA"_s).toString(), u"CIA1"_s);
    EXPECT_EQ(valueAt(packet, 0, u"DTEFETSUMA"_s).toDateTime(), QDateTime(QDate(2026, 3, 10), QTime(0, 0)));
    EXPECT_TRUE(valueAt(packet, 1, u"DTEFETSUMA"_s).isNull());
    EXPECT_EQ(valueAt(packet, 1, u"DSSUBGRUPRI"_s).toString(), u"Prato Quente"_s);  // principal S1
    EXPECT_EQ(valueAt(packet, 1, u"CDSUBARVPRI"_s).toString(), u"3.01.001"_s);
}

TEST_P(SubGruSeMa, FiltersByPhotoAndInstructions)
{
    // S1 has a picture and instructions; S2 a photo row without picture; S3 instructions only.
    const QList<std::tuple<QString, QString, QStringList>> cases = {
        {u"0"_s, u"2"_s, {u"S1"_s}},          {u"1"_s, u"2"_s, {u"S2"_s, u"S3"_s}},
        {u"2"_s, u"0"_s, {u"S1"_s, u"S3"_s}}, {u"2"_s, u"1"_s, {u"S2"_s}},
        {u"0"_s, u"0"_s, {u"S1"_s}},          {u"1"_s, u"1"_s, {u"S2"_s}},
    };
    for (const auto& [photo, instructions, expected] : cases)
        EXPECT_EQ(column(load(photo, instructions), u"CDSUBGRU"_s), expected) << photo.toStdString() << instructions.toStdString();
}

TEST_P(SubGruSeMa, SplitsTheServiceKeyFromItsEnd)
{
    const DataPacket other = get(u"GetSubGruSeMa"_s, {u"0001"_s, u"0001"_s, u"0001"_s, u"000000100100020001"_s, u"2"_s, u"2"_s});
    EXPECT_EQ(column(other, u"CDESPEPRODSG"_s), QStringList{u"E6"_s});
}

TEST_P(SubGruSeMa, RefusesBadArgumentsAndKeepsServing)
{
    const QList<QCborArray> bad = {
        {u"0001"_s, u"0001"_s, u"0001"_s, key, u"2"_s},                        // five arguments
        {u"0001"_s, u"0001"_s, u"0001"_s, key, u"3"_s, u"2"_s},                // filter out of range
        {u"0001"_s, u"0001"_s, u"0001"_s, u"00010001"_s, u"2"_s, u"2"_s},      // no service before class, cycle
        {u"00001"_s, u"0001"_s, u"0001"_s, key, u"2"_s, u"2"_s},               // branch too long
        {u"0001"_s, 1, u"0001"_s, key, u"2"_s, u"2"_s},                        // integer for a text
    };
    for (const QCborArray& args : bad) {
        const Reply reply = call(u"GetSubGruSeMa"_s, args);
        EXPECT_EQ(reply.status, 200);
        EXPECT_FALSE(reply.ok());
        EXPECT_TRUE(reply.error().startsWith(u"GetSubGruSeMa"_s)) << reply.error().toStdString();
    }
    EXPECT_EQ(load().rows.size(), 3);
}

TEST_P(SubGruSeMa, StoresTheEditedFieldsAndNullsTheNullFieldList)
{
    const DataPacket before = load();
    const QDateTime april(QDate(2026, 4, 1), QTime(0, 0));
    const Reply reply = send(updateOf(before, 0, {{u"NRORDSUMA"_s, u"009"_s}, {u"DTREVISUMA"_s, april},
                                                  {u"VRPELOADSUMA"_s, u"15%"_s}}),
                             u"_TXCOMSUMA_OBS"_s);
    ASSERT_TRUE(reply.ok()) << reply.error().toStdString();
    EXPECT_EQ(reply.map.value(u"result"_s).toMap().value(u"rows"_s).toInteger(), 1);
    const DataPacket after = load();
    EXPECT_EQ(valueAt(after, 0, u"NRORDSUMA"_s).toString(), u"009"_s);
    EXPECT_EQ(valueAt(after, 0, u"VRPELOADSUMA"_s).toString(), u"15%"_s);
    EXPECT_EQ(valueAt(after, 0, u"DTREVISUMA"_s).toDateTime(), april);
    EXPECT_TRUE(valueAt(after, 0, u"TXCOMSUMA"_s).isNull());  // named in the null-field list
    EXPECT_EQ(valueAt(after, 0, u"DSSUBGRUPO"_s).toString(), u"Prato"_s);
}

TEST_P(SubGruSeMa, SetsThePrincipalAndDerivesItsNameAndCode)
{
    const DataPacket before = load();
    ASSERT_TRUE(send(updateOf(before, 2, {{u"CDPRODUTOPRI"_s, u"S2"_s}, {u"CDSUBARVPRI"_s, u"stale"_s}})).ok());
    const DataPacket after = load();
    EXPECT_EQ(valueAt(after, 2, u"CDPRODUTOPRI"_s).toString(), u"S2"_s);
    EXPECT_EQ(valueAt(after, 2, u"CDSUBARVPRI"_s).toString(), u"3.01.002"_s);
    EXPECT_EQ(valueAt(after, 2, u"DSSUBGRUPRI"_s).toString(), u"Salada"_s);
}

TEST_P(SubGruSeMa, RefusesInvalidChangesAndWritesNothing)
{
    const DataPacket packet = load();
    const QString before = database_->snapshot();
    struct Case {
        ChangeSet changes;
        QString nullList;
        QString message;
    };
    const QList<Case> cases = {
        {updateOf(packet, 0, {{u"NRORDSUMA"_s, u"1234"_s}}), u"_OBS"_s, u"O campo NRORDSUMA tem 4 caracteres; o máximo é 3."_s},
        {updateOf(packet, 0, {{u"CDPRODUTOPRI"_s, u"S9"_s}}), u"_OBS"_s,
         u"O sub-grupo principal S9 não pertence a este serviço do manual."_s},
        {updateOf(packet, 0, {{u"CDPRODUTOPRI"_s, u"S1"_s}}), u"_OBS"_s,
         u"Um sub-grupo não pode ser o seu próprio sub-grupo principal."_s},
        {updateOf(packet, 0, {{u"DSSUBGRU"_s, u"Outro nome"_s}}), u"_OBS"_s, u"O campo DSSUBGRU não pode ser alterado."_s},
        {updateOf(packet, 0, {{u"CDSUBGRU"_s, u"S3"_s}}), u"_OBS"_s,
         u"O campo CDSUBGRU identifica o sub-grupo e não pode ser alterado."_s},
        {updateOf(packet, 0, {{u"DTEFETSUMA"_s, u"ontem"_s}}), u"_OBS"_s, u"O campo DTEFETSUMA deve ser uma data."_s},
        {updateOf(packet, 0, {{u"NRORDSUMA"_s, u"005"_s}}), u"_NADA_OBS"_s,
         u"SetSubGruSeMa: a lista de campos nulos traz um campo desconhecido: \"NADA\"."_s},
        {deleteOf(packet, 1), u""_s, u"Sub-grupos não podem ser excluídos: a lista vem da definição do serviço."_s},
        {insertOf(packet.fields, packet.rows[0]), u"_OBS"_s,
         u"Sub-grupos não podem ser incluídos: a lista vem da definição do serviço."_s},
    };
    for (const Case& c : cases) {
        const Reply reply = send(c.changes, c.nullList);
        EXPECT_FALSE(reply.ok());
        EXPECT_EQ(reply.error(), c.message);
    }
    EXPECT_EQ(database_->snapshot(), before);
}

TEST_P(SubGruSeMa, RefusesAChangeSetWhenTheRowChangedOnTheServer)
{
    const DataPacket first = load();
    const DataPacket second = load();
    ASSERT_TRUE(send(updateOf(first, 0, {{u"NRORDSUMA"_s, u"010"_s}})).ok());
    const QString before = database_->snapshot();
    const Reply stale = send(updateOf(second, 0, {{u"DSSUBGRUPO"_s, u"Outra descrição"_s}}));
    EXPECT_FALSE(stale.ok());
    EXPECT_EQ(stale.error(), u"Outro usuário alterou o sub-grupo (CDFILIAL=0001, CDCIA=0001, CDMANCIA=0001, "
                             "CDSERVICO=0000001001, CDCLASSE=0001, CDCICLO=0001, CDSUBGRU=S1), campo NRORDSUMA, depois "
                             "que os dados foram lidos. Nenhuma alteração foi gravada; recarregue os dados e repita a "
                             "operação."_s);
    EXPECT_EQ(database_->snapshot(), before);
    EXPECT_EQ(valueAt(load(), 0, u"DSSUBGRUPO"_s).toString(), u"Prato"_s);
}

TEST_P(SubGruSeMa, RollsBackTheWholeSetWhenALaterChangeConflicts)
{
    const DataPacket packet = load();
    database_->exec(u"UPDATE SUBGRUSEMA SET TXCOMSUMA = 'mudou' WHERE CDESPEPRODSG = 'E3'"_s);
    const QString before = database_->snapshot();
    ChangeSet changes = updateOf(packet, 0, {{u"NRORDSUMA"_s, u"050"_s}});
    changes.changes << updateOf(packet, 2, {{u"NRORDSUMA"_s, u"051"_s}}).changes;
    const Reply reply = send(changes);
    EXPECT_FALSE(reply.ok());
    EXPECT_TRUE(reply.error().contains(u"campo TXCOMSUMA"_s)) << reply.error().toStdString();
    EXPECT_EQ(database_->snapshot(), before);  // the first update was rolled back too
}

TEST_P(SubGruSeMa, SameValuesWrittenTwiceDoNotConflictWithThemselves)
{
    const DataPacket packet = load();
    ASSERT_TRUE(send(updateOf(packet, 0, {{u"NRORDSUMA"_s, u"007"_s}})).ok());
    const DataPacket reread = load();
    const Reply again = send(updateOf(reread, 0, {{u"NRORDSUMA"_s, u"008"_s}}));
    EXPECT_TRUE(again.ok()) << again.error().toStdString();
}

// Runs a test body in another time zone than the machine's.
class ZoneGuard {
public:
    explicit ZoneGuard(const char* zone) : saved_(qgetenv("TZ")), had_(qEnvironmentVariableIsSet("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~ZoneGuard()
    {
        if (had_)
            qputenv("TZ", saved_);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    QByteArray saved_;
    bool had_;
};

TEST_P(SubGruSeMa, DatesKeepTheirWallClockInAnyTimeZone)
{
    for (const char* zone : {"Asia/Tokyo", "America/Sao_Paulo"}) {
        const ZoneGuard guard(zone);
        const QDateTime midnight(QDate(2026, 5, 2), QTime(0, 0));
        ASSERT_TRUE(send(updateOf(load(), 0, {{u"DTAPRESUMA"_s, midnight}})).ok()) << zone;
        const DataPacket reread = load();
        // Read back as the same readings (held as UTC wall-clock times, see platform/wallclock.h).
        EXPECT_EQ(valueAt(reread, 0, u"DTAPRESUMA"_s).toDateTime(), wallClock(midnight)) << zone;
        EXPECT_EQ(valueAt(reread, 0, u"DTEFETSUMA"_s).toDateTime(), wallClock(QDate(2026, 3, 10))) << zone;
        // The dates read back compare equal to the stored ones: the next update is no conflict.
        const Reply next = send(updateOf(reread, 0, {{u"NRORDSUMA"_s, u"004"_s}}));
        EXPECT_TRUE(next.ok()) << zone << ": " << next.error().toStdString();
    }
}

class GetSubGruPrin : public DriverTest {};

TEST_P(GetSubGruPrin, ListsTheOtherSubgroupsOfTheServiceOrLooksOneUp)
{
    const QCborArray base = {u"0001"_s, u"0001"_s, u"0001"_s, u"0000001001"_s, u"0001"_s, u"0001"_s, u"S1"_s};
    QCborArray list = base;
    list.append(QString());
    const DataPacket all = get(u"GetSubGruPrin"_s, list);
    QStringList names;
    for (const FieldDef& f : all.fields)
        names << u"%1:%2"_s.arg(f.name).arg(f.size);
    EXPECT_EQ(names, (QStringList{u"CDSUBARV:20"_s, u"DSSUBGRU:200"_s, u"CDSUBGRU:10"_s}));
    EXPECT_EQ(column(all, u"CDSUBGRU"_s), (QStringList{u"S2"_s, u"S3"_s}));

    QCborArray one = base;
    one.append(u"3.01.003"_s);
    EXPECT_EQ(column(get(u"GetSubGruPrin"_s, one), u"DSSUBGRU"_s), QStringList{u"Sobremesa"_s});
    QCborArray self = base;
    self.append(u"3.01.001"_s);  // the current sub-group is no candidate
    EXPECT_TRUE(get(u"GetSubGruPrin"_s, self).rows.isEmpty());
}

QMV_DRIVERS(SubGruSeMa);
QMV_DRIVERS(GetSubGruPrin);

}  // namespace
}  // namespace qmv::appserver::test
