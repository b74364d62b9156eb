// The SQLite reader writes the same packet bytes as the QtSql path for every stored value and
// field kind, binds parameters as QtSql does, and lets its kept statements go before the close.
#include "appserver/database/dbconfig.h"
#include "appserver/methods/packetbuilder.h"
#include "appserver/database/sql.h"
#include "appserver/database/sqlitestream.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qmv::appserver {
namespace {

using namespace Qt::StringLiterals;

// Descriptors of this process open on `file` (a connection closed with statements left is kept open).
int openDescriptorsOf(const QString& file)
{
    int count = 0;
    for (const QFileInfo& fd : QDir(u"/proc/self/fd"_s).entryInfoList(QDir::Files | QDir::System))
        count += fd.symLinkTarget() == file ? 1 : 0;
    return count;
}

class SqliteStream : public ::testing::Test {
protected:
    void SetUp() override
    {
        db_ = openDatabase(DbConfig{Driver::Sqlite, dir_.filePath(u"s.sqlite"_s), {}}, name_);
        runSql(db_, u"CREATE TABLE T (ID INTEGER, V)"_s);
        const QStringList stored = {
            u"'abc'"_s, u"'ção'"_s, u"CAST(X'FF41' AS TEXT)"_s, u"42"_s, u"3.5"_s, u"NULL"_s, u"''"_s,
            u"'2026-03-10T14:30:00.000Z'"_s, u"'2026-03-10 14:30:00'"_s, u"'2026-03-10'"_s,
            u"'2026-02-30T00:00:00.000Z'"_s,
            u"X''"_s, u"X'0001FF'"_s};
        for (int i = 0; i < stored.size(); ++i)
            runSql(db_, u"INSERT INTO T VALUES (%1, %2)"_s.arg(i).arg(stored[i]));
        rows_ = int(stored.size());
    }
    void TearDown() override
    {
        db_ = QSqlDatabase();
        closeDatabase(name_);
    }

    QByteArray throughQtSql(const QString& sql, const QVariantList& params, const QList<FieldDef>& fields)
    {
        QSqlQuery q = runSql(db_, sql, params);
        return encodedPacketFromQuery(q, fields);
    }

    QTemporaryDir dir_;
    const QString name_ = u"sqlite-stream-test"_s;
    QSqlDatabase db_;
    int rows_ = 0;
};

TEST_F(SqliteStream, WritesWhatQtSqlWritesForEveryStoredValueAndKind)
{
    const QList<FieldDef> kinds = {textField(u"V"_s, 50), fixedTextField(u"V"_s, 1), floatField(u"V"_s),
                                   dateTimeField(u"V"_s), blobField(u"V"_s)};
    const QString sql = u"SELECT V FROM T WHERE ID = ?"_s;
    for (const FieldDef& kind : kinds)
        for (int row = 0; row < rows_; ++row) {
            const std::optional<QByteArray> raw = encodedPacketFromSqlite(db_, sql, {row}, {kind});
            ASSERT_TRUE(raw.has_value());
            EXPECT_EQ(raw->toHex(), throughQtSql(sql, {row}, {kind}).toHex())
                << "kind " << int(kind.kind) << ", row " << row;
        }
}

// Far more than the writer's first buffer: the rows come back whole, in order.
TEST_F(SqliteStream, ARowsetLargerThanTheFirstBufferComesBackWhole)
{
    runSql(db_, u"WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 5) "
                "INSERT INTO T SELECT 100 + I, randomblob(70000 + I) FROM N"_s);
    const QString sql = u"SELECT ID, V FROM T WHERE ID > ? ORDER BY ID"_s;
    const QList<FieldDef> fields = {floatField(u"ID"_s), blobField(u"V"_s)};
    const DataPacket read = decodePacket(*encodedPacketFromSqlite(db_, sql, {100}, fields));
    QSqlQuery stored = runSql(db_, sql, {100});
    int rows = 0;
    for (; stored.next(); ++rows)
        EXPECT_EQ(read.rows.value(rows).value(1).toByteArray(), stored.value(1).toByteArray()) << "row " << rows;
    EXPECT_EQ(rows, 5);
    EXPECT_EQ(read.rows.size(), rows);
}

TEST_F(SqliteStream, BindsTextNullAndNumbersAsQtSqlDoes)
{
    const QString sql = u"SELECT ID FROM T WHERE V = ? OR V IS ? OR V = ? ORDER BY ID"_s;
    const QList<FieldDef> id = {textField(u"ID"_s, 4)};
    const QVariantList params = {u"ção"_s, nullText(), 3.5};
    EXPECT_EQ(encodedPacketFromSqlite(db_, sql, params, id), throughQtSql(sql, params, id));
    EXPECT_FALSE(encodedPacketFromSqlite(db_, sql, {QDate(2026, 3, 10), 1, 2}, id).has_value());
    EXPECT_THROW(encodedPacketFromSqlite(db_, u"SELECT NOPE FROM T WHERE ID = ?"_s, {1}, id), DatabaseError);
    EXPECT_THROW(encodedPacketFromSqlite(db_, u"SELECT ID FROM T WHERE ID = ?"_s, {1}, {id[0], id[0]}), DatabaseError);
}

TEST_F(SqliteStream, KeptStatementsServeLaterCallsAndGoBeforeTheClose)
{
    cacheStatements(name_);
    const QString sql = u"SELECT V FROM T WHERE ID = ?"_s;
    const QList<FieldDef> text = {textField(u"V"_s, 50)};
    const QByteArray abc = *encodedPacketFromSqlite(db_, sql, {0}, text);
    EXPECT_NE(abc, *encodedPacketFromSqlite(db_, sql, {1}, text));
    EXPECT_EQ(abc, *encodedPacketFromSqlite(db_, sql, {0}, text));
    // A read left open would keep its snapshot: a write from another connection must still go in.
    const DbConfig sameFile{Driver::Sqlite, dir_.filePath(u"s.sqlite"_s), {}};
    QSqlDatabase other = openDatabase(sameFile, u"sqlite-stream-other"_s);
    EXPECT_NO_THROW(runSql(other, u"DELETE FROM T"_s));
    other = QSqlDatabase();
    closeDatabase(u"sqlite-stream-other"_s);
    EXPECT_NE(abc, *encodedPacketFromSqlite(db_, sql, {0}, text));

    db_ = QSqlDatabase();
    closeDatabase(name_);
    EXPECT_EQ(openDescriptorsOf(dir_.filePath(u"s.sqlite"_s)), 0) << "a statement kept the database open";
    db_ = openDatabase(DbConfig{Driver::Sqlite, dir_.filePath(u"s.sqlite"_s), {}}, name_);
}

}  // namespace
}  // namespace qmv::appserver
