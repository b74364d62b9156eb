// Dates are wall-clock readings: decoded, typed and shown the same whatever the machine's zone,
// including midnights that a daylight-saving change skips or repeats there.
#include "datasetfixture.h"
#include "platform/packet.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborStreamWriter>
#include <gtest/gtest.h>
#include <time.h>

namespace qmv {
namespace {

// São Paulo skipped 04/11/2018 00:00-01:00 and repeated 16/02/2019 23:00-24:00.
class InSaoPaulo : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = qgetenv("TZ");
        qputenv("TZ", "America/Sao_Paulo");
        tzset();
    }
    void TearDown() override
    {
        saved_.isNull() ? qunsetenv("TZ") : qputenv("TZ", saved_);
        tzset();
    }
    QByteArray saved_;
};

struct DateCase {
    const char* wire;
    QDate date;
    QTime time;
    const char* shown;
};

const DateCase kCases[] = {
    {"2018-11-04T00:00:00.000Z", {2018, 11, 4}, {0, 0}, "04/11/2018"},
    {"2018-11-04T00:30:00.000Z", {2018, 11, 4}, {0, 30}, "04/11/2018 00:30:00"},
    {"2019-02-16T23:30:00.000Z", {2019, 2, 16}, {23, 30}, "16/02/2019 23:30:00"},
    {"2026-03-10T00:00:00", {2026, 3, 10}, {0, 0}, "10/03/2026"},
    {"2018-11-04", {2018, 11, 4}, {0, 0}, "04/11/2018"},
    {"2018-11-04T00:00:00-03:00", {2018, 11, 4}, {0, 0}, "04/11/2018"},
    {"0001-01-01T00:00:00.000Z", {1, 1, 1}, {0, 0}, "01/01/0001"},
    {"9999-12-31T23:59:59.000Z", {9999, 12, 31}, {23, 59, 59}, "31/12/9999 23:59:59"},
};

// Written by hand: QCborValue would parse a tag 0 text in local time and store its own form.
QByteArray packetBytes(const char* text)
{
    QByteArray bytes;
    QCborStreamWriter writer(&bytes);
    writer.startMap(2);
    writer.append(QLatin1String("fields"));
    QCborValue(QCborArray{QCborMap{{QLatin1String("name"), "DT"}, {QLatin1String("kind"), "datetime"}}}).toCbor(writer);
    writer.append(QLatin1String("rows"));
    writer.startArray(1);
    writer.startArray(1);
    writer.append(QCborKnownTags::DateTimeString);
    writer.append(QLatin1String(text));
    writer.endArray();
    writer.endArray();
    writer.endMap();
    return bytes;
}

TEST_F(InSaoPaulo, DatesKeepTheirReadingFromTheWireToTheScreenAndBack)
{
    for (const DateCase& c : kCases) {
        SCOPED_TRACE(c.wire);
        const QByteArray bytes = packetBytes(c.wire);
        QList<DataPacket> decoded{decodePacket(bytes)};
        if (QByteArray(c.wire).endsWith('Z'))  // the form every writer sends; QCborValue reads others locally
            decoded.append(packetFromCbor(QCborValue::fromCbor(bytes)));
        for (const DataPacket& packet : decoded) {
            const QDateTime read = packet.rows.at(0).at(0).toDateTime();
            EXPECT_EQ(read.date(), c.date);
            EXPECT_EQ(read.time(), c.time);
        }
        DataSet ds;
        ds.addField(test::def("DT", FieldKind::DateTime));
        ds.loadPacket(decodePacket(bytes));
        Field& field = ds.fieldByName("DT");
        EXPECT_EQ(field.displayText(), QString::fromLatin1(c.shown));
        const QVariant loaded = field.value();
        ds.edit();
        field.setAsString(QString::fromLatin1(c.shown));
        EXPECT_EQ(field.value(), loaded) << "typing the shown text back must not change the value";
        EXPECT_EQ(decodePacket(encodePacket(DataPacket{{test::def("DT", FieldKind::DateTime)}, {Row{loaded}}}))
                      .rows.at(0).at(0), loaded);
    }
}

TEST_F(InSaoPaulo, DatesWrittenFromCalendarDaysAndDayNumbersStartAtMidnight)
{
    DataSet ds;
    ds.addField(test::def("DT", FieldKind::DateTime));
    ds.loadPacket(DataPacket{{test::def("DT", FieldKind::DateTime)}, {Row{QVariant()}}});
    ds.edit();
    Field& field = ds.fieldByName("DT");
    field.setValue(QDate(2018, 11, 4));
    EXPECT_EQ(field.asDateTime().time(), QTime(0, 0));
    field.setAsFloat(43408.0);  // 04/11/2018
    EXPECT_EQ(field.displayText(), "04/11/2018");
    field.setAsString("4/11/2018 00:15");
    EXPECT_EQ(field.asDateTime(), QDateTime(QDate(2018, 11, 4), QTime(0, 15), Qt::UTC));
}

}  // namespace
}  // namespace qmv
