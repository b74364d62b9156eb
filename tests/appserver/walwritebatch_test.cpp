// The batched log writes: a commit is in the log file when it returns (a process that dies right
// after keeps it), and a transaction larger than the page cache, which writes pages to the log before
// its commit and rewrites some of them in place, reads back whole from another connection.
#include "appserver/database/walwritebatch.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

namespace qmv::appserver {
namespace {

class Db {
public:
    Db(const std::string& file, const char* vfs)
    {
        if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, vfs) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
        exec("PRAGMA journal_mode = WAL; PRAGMA synchronous = FULL; PRAGMA page_size = 16384");
    }
    ~Db() { sqlite3_close_v2(db_); }

    void exec(const std::string& sql)
    {
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
    }

    std::string text(const std::string& sql)
    {
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr);
        std::string out;
        while (st && sqlite3_step(st) == SQLITE_ROW)
            out += reinterpret_cast<const char*>(sqlite3_column_text(st, 0)) + std::string(";");
        sqlite3_finalize(st);
        return out;
    }

private:
    sqlite3* db_ = nullptr;
};

// Rows whose blob is `size` bytes of the row's digit, so a wrong page shows as a wrong sum.
std::string insertRows(int from, int to, int size)
{
    return "WITH RECURSIVE n(i) AS (SELECT " + std::to_string(from) + " UNION ALL SELECT i + 1 FROM n WHERE i < "
           + std::to_string(to) + ") INSERT INTO T SELECT i, zeroblob(0) || replace(hex(zeroblob(" + std::to_string(size)
           + " / 2)), '00', printf('%02d', i % 100)) FROM n";
}

const char* kSummary = "SELECT count(*) || '/' || sum(length(B)) || '/' || sum(unicode(substr(B, 1000, 1)) * ID) FROM T";

// Fifteen megabytes in one transaction through a cache of ten pages: pages go to the log before the
// commit, some of them twice, and the commit rewrites their checksums in place.
std::string largeTransaction(const std::string& file, const char* vfs)
{
    Db writer(file, vfs);
    writer.exec("PRAGMA cache_size = 10");
    writer.exec("BEGIN; " + insertRows(100, 159, 250000) + "; UPDATE T SET B = B || B WHERE ID % 7 = 0; "
                "DELETE FROM T WHERE ID % 11 = 0; COMMIT");
    Db reader(file, nullptr);
    const std::string seen = reader.text(kSummary) + reader.text("PRAGMA integrity_check");
    writer.exec("PRAGMA wal_checkpoint(TRUNCATE)");
    Db afterCheckpoint(file, nullptr);
    EXPECT_EQ(afterCheckpoint.text(kSummary) + afterCheckpoint.text("PRAGMA integrity_check"), seen);
    return seen;
}

TEST(WalWriteBatch, ACommitIsInTheLogWhenItReturnsAndALargeTransactionReadsBackWhole)
{
    QTemporaryDir dir;
    const std::string batched = dir.filePath(QStringLiteral("batched.sqlite")).toStdString();
    const std::string plain = dir.filePath(QStringLiteral("plain.sqlite")).toStdString();
    const char* vfs = walWriteBatchVfs();
    for (const auto& [file, fileVfs] : {std::pair{batched, vfs}, std::pair{plain, (const char*)nullptr}})
        Db(file, fileVfs).exec("CREATE TABLE T (ID INTEGER PRIMARY KEY, B)");

    // A writer that dies without closing anything right after its last commit returned.
    const pid_t child = fork();
    if (child == 0) {
        try {
            Db writer(batched, vfs);
            for (int i = 1; i <= 5; ++i)
                writer.exec(insertRows(i * 10, i * 10 + 3, 200000));
            _exit(0);  // with the connection open
        } catch (...) {
            _exit(1);
        }
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    for (int i = 1; i <= 5; ++i)
        Db(plain, nullptr).exec(insertRows(i * 10, i * 10 + 3, 200000));
    EXPECT_EQ(Db(batched, nullptr).text(kSummary), Db(plain, nullptr).text(kSummary));

    const std::string expected = largeTransaction(plain, nullptr);
    EXPECT_NE(expected.find("ok;"), std::string::npos);
    EXPECT_EQ(largeTransaction(batched, vfs), expected);
}

}  // namespace
}  // namespace qmv::appserver
