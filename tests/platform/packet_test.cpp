#include "platform/packet.h"
#include "platform/packetwriter.h"

#include <QCborArray>
#include <QCborMap>
#include <QDateTime>
#include <QRandomGenerator>
#include <functional>
#include <gtest/gtest.h>

namespace qmv {
namespace {

FieldDef field(const QString& name, FieldKind kind, int size = 0)
{
    FieldDef f;
    f.name = name;
    f.kind = kind;
    f.size = size;
    return f;
}

QByteArray photo(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(42);
    for (char& c : bytes)
        c = char(generator.bounded(256));
    return bytes;
}

DataPacket samplePacket()
{
    DataPacket packet;
    FieldDef code = field("CDSUBGRU", FieldKind::Text, 10);
    code.label = "Código";
    code.required = true;
    code.editMask = ">aaaa;0; ";
    FieldDef load = field("VRPELOADSUMA", FieldKind::Float);
    load.displayFormat = "#####0%";
    load.visible = false;
    packet.fields = {code, load, field("NRORDSUMA", FieldKind::Integer),
                     field("DTEFETSUMA", FieldKind::DateTime), field("FGFOTOSEMA", FieldKind::Blob),
                     field("IDCHECK", FieldKind::FixedText, 1)};
    packet.rows.append(Row{QString("0001"), 12.6, QVariant::fromValue<qint64>(3),
                           QDateTime(QDate(2026, 3, 10), QTime(14, 30, 5, 250)), photo(549'999),
                           QString("S")});
    packet.rows.append(Row{QString("Ação"), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});
    return packet;
}

void expectSamePacket(const DataPacket& a, const DataPacket& b)
{
    ASSERT_EQ(a.fields.size(), b.fields.size());
    for (int i = 0; i < a.fields.size(); ++i) {
        EXPECT_EQ(a.fields[i].name, b.fields[i].name);
        EXPECT_EQ(a.fields[i].kind, b.fields[i].kind);
        EXPECT_EQ(a.fields[i].size, b.fields[i].size);
        EXPECT_EQ(a.fields[i].label, b.fields[i].label);
        EXPECT_EQ(a.fields[i].visible, b.fields[i].visible);
        EXPECT_EQ(a.fields[i].required, b.fields[i].required);
        EXPECT_EQ(a.fields[i].editMask, b.fields[i].editMask);
        EXPECT_EQ(a.fields[i].displayFormat, b.fields[i].displayFormat);
    }
    ASSERT_EQ(a.rows.size(), b.rows.size());
    for (int r = 0; r < a.rows.size(); ++r) {
        ASSERT_EQ(a.rows[r].size(), b.rows[r].size());
        for (int c = 0; c < a.rows[r].size(); ++c) {
            EXPECT_EQ(a.rows[r][c].isValid(), b.rows[r][c].isValid()) << r << "," << c;
            EXPECT_EQ(a.rows[r][c].typeId(), b.rows[r][c].typeId()) << r << "," << c;
            EXPECT_TRUE(a.rows[r][c] == b.rows[r][c]) << r << "," << c;
        }
    }
}

TEST(PacketRoundTrip, KeepsMetadataValuesAndNullsThroughBytes)
{
    const DataPacket packet = samplePacket();
    expectSamePacket(packet, decodePacket(encodePacket(packet)));
}

TEST(PacketRoundTrip, KeepsMetadataValuesAndNullsThroughCborValue)
{
    const DataPacket packet = samplePacket();
    expectSamePacket(packet, packetFromCbor(toCbor(packet)));
    expectSamePacket(packet, decodePacket(toCbor(packet).toCbor()));
    expectSamePacket(packet, packetFromCbor(QCborValue::fromCbor(encodePacket(packet))));
}

TEST(PacketRoundTrip, PhotoSurvivesByteForByte)
{
    const QByteArray original = photo(549'999);
    const DataPacket back = decodePacket(encodePacket(samplePacket()));
    const QByteArray decoded = back.rows[0][4].toByteArray();
    ASSERT_EQ(decoded.size(), 549'999);
    EXPECT_EQ(decoded, original);
}

TEST(PacketRoundTrip, DatesKeepTheirWallClockReading)
{
    DataPacket packet;
    packet.fields = {field("DT", FieldKind::DateTime)};
    const QDateTime utcLate(QDate(2026, 12, 31), QTime(23, 59, 59), Qt::UTC);
    packet.rows = {Row{QDateTime(QDate(2026, 1, 1), QTime(0, 0))}, Row{utcLate}};
    const DataPacket back = decodePacket(encodePacket(packet));
    EXPECT_EQ(back.rows[0][0].toDateTime().date(), QDate(2026, 1, 1));
    EXPECT_EQ(back.rows[0][0].toDateTime().time(), QTime(0, 0));
    EXPECT_EQ(back.rows[1][0].toDateTime().date(), QDate(2026, 12, 31));
    EXPECT_EQ(back.rows[1][0].toDateTime().time(), QTime(23, 59, 59));
}

TEST(PacketRoundTrip, NumbersTakeTheKindOfTheirColumn)
{
    DataPacket packet;
    packet.fields = {field("VR", FieldKind::Float), field("NR", FieldKind::Integer)};
    packet.rows = {Row{QVariant::fromValue<qint64>(7), 3.0}};
    for (const DataPacket& back : {decodePacket(encodePacket(packet)), packetFromCbor(toCbor(packet))}) {
        EXPECT_EQ(back.rows[0][0].typeId(), QMetaType::Double);
        EXPECT_EQ(back.rows[0][0].toDouble(), 7.0);
        EXPECT_EQ(back.rows[0][1].typeId(), QMetaType::LongLong);
        EXPECT_EQ(back.rows[0][1].toLongLong(), 3);
    }
}

TEST(PacketRoundTrip, ReadsRowsWrittenBeforeTheFieldList)
{
    QCborArray rows{QCborArray{7}};
    QCborMap map;
    map[QLatin1String("rows")] = rows;
    map[QLatin1String("fields")] = QCborArray{QCborMap{{QLatin1String("name"), "VR"},
                                                       {QLatin1String("kind"), "float"}}};
    const DataPacket back = decodePacket(QCborValue(map).toCbor());
    ASSERT_EQ(back.rows.size(), 1);
    EXPECT_EQ(back.rows[0][0].typeId(), QMetaType::Double);
}

// Listings repeat their parents' values row after row; a repeat is read back as the same value and
// a change after it (a longer text, a null, another date) as the new one.
TEST(PacketRoundTrip, ValuesRepeatedDownAColumnComeBackRowByRow)
{
    DataPacket packet;
    packet.fields = {field("CDFILIAL", FieldKind::Text), field("DTEFETSUMA", FieldKind::DateTime),
                     field("FGFOTOSEMA", FieldKind::Blob), field("NMSUBGRU", FieldKind::Text)};
    const QDateTime day(QDate(2026, 3, 10), QTime(14, 30));
    const QVariant none;
    packet.rows = {Row{QString("0001"), day, QByteArray("ab"), QString("Ação")},
                   Row{QString("0001"), day, QByteArray("ab"), QString("Ação")},
                   Row{QString("00011"), none, QByteArray("abc"), QString("Ação")},
                   Row{QString("0001"), day.addSecs(1), QByteArray("ab"), none},
                   Row{QString("0001"), day.addSecs(1), QByteArray("ab"), QString("Ação")}};
    expectSamePacket(packet, decodePacket(encodePacket(packet)));
}

// The writer keeps the encoded field lists it has written: a list that differs from one written
// before in any attribute is written as it is, not as the one before.
TEST(PacketWriter, EachFieldListIsWrittenAsGivenAfterListsThatDifferInOneAttribute)
{
    const std::vector<std::function<void(FieldDef&)>> changes = {
        [](FieldDef&) {},
        [](FieldDef& f) { f.name += u'X'; },
        [](FieldDef& f) { f.kind = FieldKind::FixedText; },
        [](FieldDef& f) { f.size += 1; },
        [](FieldDef& f) { f.label = QStringLiteral("Outro"); },
        [](FieldDef& f) { f.visible = !f.visible; },
        [](FieldDef& f) { f.required = !f.required; },
        [](FieldDef& f) { f.editMask = QStringLiteral(">aaaa;0; "); },
        [](FieldDef& f) { f.displayFormat = QStringLiteral("0.000"); },
    };
    for (int round = 0; round < 2; ++round)
        for (const auto& change : changes) {
            DataPacket expected;
            expected.fields = samplePacket().fields;
            change(expected.fields[0]);
            PacketWriter writer(expected.fields);
            expectSamePacket(decodePacket(writer.finish()), expected);
        }
}

TEST(PacketFields, IndexOfIgnoresCase)
{
    const DataPacket packet = samplePacket();
    EXPECT_EQ(packet.indexOf("nrordsuma"), 2);
    EXPECT_EQ(packet.indexOf("MISSING"), -1);
}

ChangeSet sampleChanges()
{
    ChangeSet changes;
    changes.fields = {field("CDSUBGRU", FieldKind::Text, 10), field("NRORDSUMA", FieldKind::Text, 3),
                      field("FG", FieldKind::Blob)};
    changes.changes.append(Change{ChangeKind::Update, Row{QString("0001"), QString("1"), QVariant()},
                                  Row{QString("0001"), QString("2"), QVariant()}});
    changes.changes.append(Change{ChangeKind::Insert, {}, Row{QString("0009"), QString("5"), photo(10)}});
    changes.changes.append(Change{ChangeKind::Delete, Row{QString("0003"), QVariant(), QVariant()}, {}});
    return changes;
}

TEST(ChangeSetCodec, RoundTripKeepsKindsAndBothRows)
{
    const ChangeSet changes = sampleChanges();
    const QStringList keys{"CDSUBGRU"};
    EXPECT_EQ(encodeChangeSet(changes), toCbor(changes).toCbor());  // the stream writes what the tree writes
    for (const ChangeSet& back : {decodeChangeSet(encodeChangeSet(changes)), changeSetFromCbor(toCbor(changes))}) {
        ASSERT_EQ(back.changes.size(), 3);
        EXPECT_EQ(back.changes[1].current[2].toByteArray(), photo(10));
        EXPECT_TRUE(back.changes[2].current.isEmpty());
        EXPECT_TRUE(back.changes[1].original.isEmpty());
        EXPECT_EQ(canonicalText(back, keys), canonicalText(changes, keys));
    }
}

TEST(ChangeSetCodec, CanonicalTextNamesKeysAndChangedFields)
{
    EXPECT_EQ(canonicalText(sampleChanges(), {"CDSUBGRU"}),
              "U(CDSUBGRU=0001: NRORDSUMA 1->2)"
              "I(CDSUBGRU=0009: NRORDSUMA=5, FG=<10 bytes>)"
              "D(CDSUBGRU=0003)");
    ChangeSet nullToValue;
    nullToValue.fields = {field("DT", FieldKind::DateTime)};
    nullToValue.changes.append(
        Change{ChangeKind::Update, Row{QVariant()}, Row{QDateTime(QDate(2026, 3, 15), QTime(0, 0))}});
    EXPECT_EQ(canonicalText(nullToValue, {}), "U(DT null->2026-03-15T00:00:00.000)");
}

// Malformed input must end in PacketError, never in a crash or a half-read packet.
void expectRejected(const QByteArray& bytes)
{
    EXPECT_THROW(decodePacket(bytes), PacketError) << bytes.toHex().left(80).constData();
}

TEST(BadPackets, EveryTruncationIsRejected)
{
    DataPacket packet = samplePacket();
    packet.rows[0][4] = photo(300);
    const QByteArray bytes = encodePacket(packet);
    for (int n = 0; n < bytes.size(); ++n)
        expectRejected(bytes.left(n));
}

TEST(BadPackets, WrongShapesAreRejectedWithAClearMessage)
{
    const auto field = [](const char* name, const char* kind) {
        return QCborMap{{QLatin1String("name"), name}, {QLatin1String("kind"), kind}};
    };
    const auto packetOf = [](QCborValue fields, QCborValue rows) {
        return QCborValue(QCborMap{{QLatin1String("fields"), fields}, {QLatin1String("rows"), rows}}).toCbor();
    };
    const QCborArray oneField{field("A", "text")};
    expectRejected(QByteArray("\xff\xff\xff", 3));
    expectRejected(QCborValue(QCborArray{1, 2}).toCbor());
    expectRejected(QCborValue(QCborMap{{QLatin1String("fields"), oneField}}).toCbor());
    expectRejected(packetOf(oneField, QCborArray{QCborArray{"x", "y"}}));
    expectRejected(packetOf(oneField, QCborArray{"not a row"}));
    expectRejected(packetOf(oneField, QCborArray{QCborArray{QCborMap{}}}));
    expectRejected(packetOf(QCborArray{field("A", "text"), field("a", "text")}, QCborArray{}));
    expectRejected(packetOf(QCborArray{field("A", "photo")}, QCborArray{}));
    expectRejected(packetOf(QCborArray{field("", "text")}, QCborArray{}));
    for (const QCborValue& size : {QCborValue(6.6e92), QCborValue(10.5), QCborValue(-1), QCborValue("10")}) {
        QCborMap sized = field("A", "text");
        sized[QLatin1String("size")] = size;
        expectRejected(packetOf(QCborArray{sized}, QCborArray{}));
    }
    QCborMap whole = field("A", "text");
    whole[QLatin1String("size")] = 10.0;
    EXPECT_EQ(decodePacket(packetOf(QCborArray{whole}, QCborArray{})).fields[0].size, 10);
    expectRejected(packetOf(oneField, QCborArray{QCborArray{QCborValue(QCborKnownTags::DateTimeString, "soon")}}));
    expectRejected(packetOf(oneField, QCborArray{}) + QByteArray(1, '\0'));
    try {
        decodePacket(packetOf(oneField, QCborArray{QCborArray{"x", "y"}}));
        FAIL() << "accepted a row longer than the field list";
    } catch (const PacketError& e) {
        EXPECT_STREQ(e.what(), "packet row has 2 values for 1 fields");
    }
}

TEST(BadPackets, AnImpossibleDateNamesItsFieldAndRow)
{
    const QCborArray fields{QCborMap{{QLatin1String("name"), "CODE"}, {QLatin1String("kind"), "text"}},
                            QCborMap{{QLatin1String("name"), "DTREVISUMA"}, {QLatin1String("kind"), "datetime"}}};
    for (const char* text : {"2026-02-30T00:00:00.000Z", "10000-01-01T00:00:00.000Z", "-0001-01-01T00:00:00.000Z",
                             "20y6-05-08T00:00:00.000Z"}) {
        const QCborArray good{"a", QCborValue(QCborKnownTags::DateTimeString, "2026-02-28T00:00:00.000Z")};
        const QCborArray bad{"b", QCborValue(QCborKnownTags::DateTimeString, text)};
        const QCborValue packet = QCborMap{{QLatin1String("fields"), fields}, {QLatin1String("rows"), QCborArray{good, bad}}};
        const QCborValue changes = QCborMap{
            {QLatin1String("fields"), fields},
            {QLatin1String("changes"), QCborArray{QCborMap{{QLatin1String("kind"), "insert"}, {QLatin1String("current"), good}},
                                                  QCborMap{{QLatin1String("kind"), "insert"}, {QLatin1String("current"), bad}}}}};
        const std::function<void()> decoders[] = {[&] { decodePacket(packet.toCbor()); },
                                                  [&] { packetFromCbor(packet); },
                                                  [&] { decodeChangeSet(changes.toCbor()); }};
        for (const auto& decode : decoders) {
            try {
                decode();
                ADD_FAILURE() << "accepted " << text;
            } catch (const PacketValueError& e) {
                EXPECT_EQ(e.field(), QLatin1String("DTREVISUMA"));
                EXPECT_EQ(e.row(), 2);
                EXPECT_NE(std::string(e.what()).find(text), std::string::npos) << e.what();
            }
        }
    }
}

TEST(BadPackets, AHugeDeclaredLengthIsRejectedWithoutAllocatingIt)
{
    // A byte string that claims 2^62 bytes and ends at once.
    const QByteArray bytes = QByteArray::fromHex("a2666669656c64738064726f777381815b4000000000000000");
    expectRejected(bytes);
}

TEST(BadPackets, MalformedChangeSetsAreRejected)
{
    const QByteArray bytes = encodeChangeSet(sampleChanges());
    for (int n = 0; n < bytes.size(); n += 3)
        EXPECT_THROW(decodeChangeSet(bytes.left(n)), PacketError);
    QCborMap bad = toCbor(sampleChanges()).toMap();
    bad[QLatin1String("changes")] = QCborArray{QCborMap{{QLatin1String("kind"), "upsert"}}};
    EXPECT_THROW(changeSetFromCbor(bad), PacketError);
    bad[QLatin1String("changes")] = QCborArray{QCborMap{{QLatin1String("kind"), "update"}}};
    EXPECT_THROW(changeSetFromCbor(bad), PacketError);
}

}  // namespace
}  // namespace qmv

namespace qmv {
namespace {

// Random damage to a valid packet either still reads as a packet or ends in PacketError.
TEST(BadPackets, DamagedBytesNeverEscapeAsAnythingButPacketError)
{
    DataPacket packet = samplePacket();
    packet.rows[0][4] = photo(64);
    const QByteArray good = encodePacket(packet);
    QRandomGenerator generator(7);
    int refused = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes = good;
        for (int hits = 1 + generator.bounded(3); hits > 0; --hits)
            bytes[generator.bounded(int(bytes.size()))] = char(generator.bounded(256));
        try {
            const DataPacket back = decodePacket(bytes);
            for (const Row& row : back.rows)
                ASSERT_EQ(row.size(), back.fields.size());
            // Whatever the byte reader takes, the QCborValue reader reads alike.
            QCborParserError error;
            const QCborValue tree = QCborValue::fromCbor(bytes, &error);
            if (error.error == QCborError::NoError)
                expectSamePacket(back, packetFromCbor(tree));
        } catch (const PacketError&) {
            ++refused;
        }
        try {
            decodeChangeSet(bytes);
        } catch (const PacketError&) {
        }
    }
    EXPECT_GT(refused, 100);
}

}  // namespace
}  // namespace qmv
