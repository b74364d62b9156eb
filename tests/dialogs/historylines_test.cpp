// The history dialog's lines: what changed, field by field, between an entry's kept rows, and which
// entry is the newest of its row (what a restore must name).
#include <QCborValue>
#include <gtest/gtest.h>

#include "Cli_qmv00507/historylines.h"
#include "platform/blobdigest.h"

namespace qmv {
namespace {

using namespace Qt::StringLiterals;

const QList<FieldDef> photoFields = {{u"CDPRODUTO"_s}, {u"CDESPEPROD"_s}, {u"FGESPEPROD"_s, FieldKind::Blob}};
const QList<FieldDef> instructionFields = {{u"CDPRODUTO"_s}, {u"FGFOTOSUMA"_s, FieldKind::Blob}};
const QList<FieldDef> subgroupFields = {{u"CDSUBGRU"_s}, {u"NRORDSUMA"_s}, {u"DTREVISUMA"_s, FieldKind::DateTime}};

QByteArray kept(const QList<FieldDef>& fields, const Row& row)
{
    Row values = row;
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].kind == FieldKind::Blob && !values[i].isNull())
            values[i] = QVariant::fromValue(digestOf(values[i].toByteArray()));
    return toCbor(DataPacket{fields, {values}}).toCbor();
}

// Captions as a screen gives them: some columns have one, others go by their name.
QString caption(const QString& table, const QString& column)
{
    return table == u"SUBGRUSEMA" && column == u"NRORDSUMA" ? u"Clas."_s : column;
}

TEST(HistoryLines, NameEachChangedFieldWithItsOldAndNewValue)
{
    const QDateTime march = QDateTime(QDate(2026, 3, 10), QTime(0, 0), Qt::UTC);
    struct Case {
        QString table;
        QByteArray before, after;
        QString expected;
    } cases[] = {
        {u"SUBGRUSEMA"_s, kept(subgroupFields, {u"S1"_s, u"001"_s, march}), kept(subgroupFields, {u"S1"_s, u"009"_s, march}),
         u"Clas.: 001 → 009"_s},
        {u"SUBGRUSEMA"_s, kept(subgroupFields, {u"S1"_s, QVariant(), QVariant()}), kept(subgroupFields, {u"S1"_s, u"2"_s, march}),
         u"Clas.: (vazio) → 2; DTREVISUMA: (vazio) → 10/03/2026"_s},
        {u"FOTOSEMA"_s, kept(photoFields, {u"S1"_s, u"E1"_s, QByteArray("a")}), kept(photoFields, {u"S1"_s, u"E1"_s, QByteArray("b")}),
         u"foto substituída"_s},
        {u"FOTOSEMA"_s, kept(photoFields, {u"S1"_s, u"E1"_s, QByteArray("a")}), kept(photoFields, {u"S1"_s, u"E1"_s, QByteArray("a")}),
         QString()},
        {u"FOTOSEMA"_s, QByteArray(), kept(photoFields, {u"S1"_s, u"E1"_s, QByteArray("a")}),
         u"CDPRODUTO: (vazio) → S1; CDESPEPROD: (vazio) → E1; foto incluída"_s},
        {u"FOTOSEMA"_s, kept(photoFields, {u"S1"_s, u"E1"_s, QByteArray("a")}), kept(photoFields, {u"S1"_s, u"E1"_s, QVariant()}),
         u"foto removida"_s},
        {u"FOTOSUBMA"_s, kept(instructionFields, {u"S1"_s, QByteArray("a")}), kept(instructionFields, {u"S1"_s, QByteArray("b")}),
         u"instruções substituídas"_s},
    };
    for (const Case& c : cases)
        EXPECT_EQ(changedFields(c.table, c.before, c.after, caption), c.expected) << c.expected.toStdString();
}

TEST(HistoryLines, PointEveryEntryAtTheNewestEntryOfItsRow)
{
    const QList<FieldDef> fields = {{u"IDHIST"_s}, {u"NMTABELA"_s}, {u"DSCHAVE"_s}, {u"IDTIPO"_s},
                                    {u"DTLOTE"_s, FieldKind::DateTime}, {u"NMUSUARIO"_s}, {u"NMCHAVE"_s},
                                    {u"PKANTES"_s, FieldKind::Blob}, {u"PKDEPOIS"_s, FieldKind::Blob},
                                    {u"CDCONTANTES"_s}};
    const QByteArray a = kept(photoFields, {u"S1"_s, u"E1"_s, QByteArray("a")});
    const QByteArray b = kept(photoFields, {u"S1"_s, u"E1"_s, QByteArray("b")});
    const QDateTime when = QDateTime::currentDateTimeUtc();
    const DataPacket entries{fields,
                             {{u"c:1"_s, u"FOTOSEMA"_s, u"k1"_s, u"U"_s, when, u"ana"_s, u"local"_s, b, a, u"d2"_s},
                              {u"b:1"_s, u"SUBGRUSEMA"_s, u"k1"_s, u"U"_s, when, QVariant(), u"chave:ab"_s, a, b, QVariant()},
                              {u"a:1"_s, u"FOTOSEMA"_s, u"k1"_s, u"U"_s, when, u"ana"_s, u"local"_s, a, b, u"d1"_s}}};
    const QList<HistoryLine> lines = historyLines(entries, caption);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].newestOfRow, u"c:1"_s);
    EXPECT_EQ(lines[1].newestOfRow, u"b:1"_s) << "another table's row with the same key text";
    EXPECT_EQ(lines[2].newestOfRow, u"c:1"_s);
    EXPECT_EQ(lines[1].who, u"? (chave:ab)"_s);
    EXPECT_EQ(lines[2].what, u"Foto - alteração: foto substituída"_s);
    EXPECT_EQ(lines[2].contentBefore, u"d1"_s);
}

}  // namespace
}  // namespace qmv
