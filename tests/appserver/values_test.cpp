// Values that neither database stores faithfully (non-finite numbers, texts with NUL, impossible or
// out-of-range dates) are refused before any database work, with the same message on both drivers,
// and the row stays writable afterwards.
#include "appserver/serverfixture.h"
#include "appserver/methods/valuecheck.h"

#include <QDateTime>

#include <gtest/gtest.h>
#include <limits>

namespace qmv::appserver::test {
namespace {

using namespace Qt::StringLiterals;

const QString serviceKey = u"000000100100010001"_s;
const QString subgroupRow = u"CDFILIAL=0001, CDCIA=0001, CDMANCIA=0001, CDSERVICO=0000001001, CDCLASSE=0001, "
                            "CDCICLO=0001, CDSUBGRU=S1"_s;

class Values : public DriverTest {
protected:
    DataPacket subgroups() const
    {
        return get(u"GetSubGruSeMa"_s, {u"0001"_s, u"0001"_s, u"0001"_s, serviceKey, u"2"_s, u"2"_s});
    }
    DataPacket equipment() const { return get(u"GetEquiSubSeMa"_s, {u"S1"_s, u"E1"_s, u"3"_s}); }
};

// The change set of `changes` with the current value of `field` in its first change replaced by a
// raw CBOR value (what a hostile or broken client could send).
QCborValue withRaw(const ChangeSet& changes, const QString& field, const QCborValue& raw)
{
    QCborMap map = toCbor(changes).toMap();
    QCborArray list = map.value(u"changes"_s).toArray();
    QCborMap first = list.at(0).toMap();
    QCborArray current = first.value(u"current"_s).toArray();
    current[changes.indexOf(field)] = raw;
    first[u"current"_s] = current;
    list[0] = first;
    map[u"changes"_s] = list;
    return map;
}

TEST_P(Values, AreRefusedNamingMethodFieldAndRowTheSameOnEveryDatabase)
{
    const DataPacket sub = subgroups();
    const DataPacket equip = equipment();
    const double inf = std::numeric_limits<double>::infinity();
    const QString equipRow = u"CDESPEPROD=E1, CDPRODEQUIP=EQ1"_s;
    const auto date = [](const char* text) { return QCborValue(QCborKnownTags::DateTimeString, QString::fromLatin1(text)); };
    struct Case {
        QString method;
        QCborArray args;
        QString message;
    };
    const QList<Case> cases = {
        {u"SetEquiSubSeMa"_s, {toCbor(updateOf(equip, 0, {{u"QTEQUISUMA"_s, inf}}))},
         u"SetEquiSubSeMa: o campo QTEQUISUMA da alteração 1 (%1) não é um número finito: inf."_s.arg(equipRow)},
        {u"SetEquiSubSeMa"_s, {toCbor(updateOf(equip, 0, {{u"QTEQUISUMA"_s, -inf}}))},
         u"SetEquiSubSeMa: o campo QTEQUISUMA da alteração 1 (%1) não é um número finito: -inf."_s.arg(equipRow)},
        {u"SetEquiSubSeMa"_s, {toCbor(updateOf(equip, 0, {{u"QTEQUISUMA"_s, std::nan("")}}))},
         u"SetEquiSubSeMa: o campo QTEQUISUMA da alteração 1 (%1) não é um número finito: nan."_s.arg(equipRow)},
        {u"SetSubGruSeMa"_s, {toCbor(updateOf(sub, 0, {{u"TXCOMSUMA"_s, u"antes\0depois"_s}})), u"_OBS"_s},
         u"SetSubGruSeMa: o campo TXCOMSUMA da alteração 1 (%1) contém o caractere NUL: antes\\u0000depois."_s.arg(subgroupRow)},
        {u"SetSubGruSeMa"_s, {withRaw(updateOf(sub, 0, {}), u"DTAPRESUMA"_s, date("10000-01-01T00:00:00.000Z")), u"_OBS"_s},
         u"SetSubGruSeMa: o campo DTAPRESUMA da alteração 1 traz um valor que não pode ser lido "
         "(invalid date '10000-01-01T00:00:00.000Z')."_s},
        {u"SetSubGruSeMa"_s, {withRaw(updateOf(sub, 0, {}), u"DTEFETSUMA"_s, date("2026-02-30T00:00:00.000Z")), u"_OBS"_s},
         u"SetSubGruSeMa: o campo DTEFETSUMA da alteração 1 traz um valor que não pode ser lido "
         "(invalid date '2026-02-30T00:00:00.000Z')."_s},
        {u"SetSubGruSeMa"_s, {withRaw(updateOf(sub, 0, {}), u"DTREVISUMA"_s, date("-0001-01-01T00:00:00.000Z")), u"_OBS"_s},
         u"SetSubGruSeMa: o campo DTREVISUMA da alteração 1 traz um valor que não pode ser lido "
         "(invalid date '-0001-01-01T00:00:00.000Z')."_s},
        {u"GetParametros"_s, {u"00\u00001"_s}, u"GetParametros: o argumento 1 (filial) contém o caractere NUL."_s},
    };
    const QString before = database_->snapshot();
    for (const Case& c : cases) {
        const Reply reply = call(c.method, c.args);
        EXPECT_FALSE(reply.ok()) << c.message.toStdString();
        EXPECT_EQ(reply.error().toStdString(), c.message.toStdString());
    }
    EXPECT_EQ(database_->snapshot(), before);
    // Nothing poisoned the rows: ordinary updates still go through.
    EXPECT_TRUE(call(u"SetEquiSubSeMa"_s, {toCbor(updateOf(equip, 0, {{u"QTEQUISUMA"_s, 2.5}}))}).ok());
    EXPECT_TRUE(call(u"SetSubGruSeMa"_s, {toCbor(updateOf(sub, 0, {{u"TXCOMSUMA"_s, u"ok"_s}})), u"_OBS"_s}).ok());
}

QMV_DRIVERS(Values);

// Dates the wire cannot carry in its four-digit form are refused too, should one come from elsewhere.
TEST(ValueProblem, NamesWhatNoColumnHolds)
{
    const QString range = u"traz uma data fora do intervalo aceito (anos 1 a 9999)"_s;
    const QList<std::pair<QVariant, QString>> cases = {
        {1.5, {}},
        {std::numeric_limits<double>::infinity(), u"não é um número finito"_s},
        {QVariant::fromValue<qint64>(-3), {}},
        {u"a\0"_s, u"contém o caractere NUL"_s},
        {u"linha\nquebrada"_s, {}},
        {QDateTime(QDate(1, 1, 1), QTime(0, 0)), {}},
        {QDateTime(QDate(9999, 12, 31), QTime(23, 59)), {}},
        {QDateTime(QDate(-1, 12, 31), QTime(0, 0)), range},
        {QDateTime(QDate(10000, 1, 1), QTime(0, 0)), range},
        {QDate(12000, 5, 1), range},
        {QVariant(), {}},
    };
    for (const auto& [value, problem] : cases)
        EXPECT_EQ(valueProblem(value).toStdString(), problem.toStdString()) << value.toString().toStdString();
}

}  // namespace
}  // namespace qmv::appserver::test
