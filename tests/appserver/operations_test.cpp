// Running the server as a service: a backup taken while four writers keep writing, the check of a
// copy and putting it back; the refusals of --backup and --check; the configuration file.
#include "appserver/configfile.h"
#include "appserver/serverfixture.h"

#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <atomic>
#include <numeric>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace qmv::appserver::test {
namespace {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

const QString program = QStringLiteral(QMV_APPSERVER_PROGRAM);
const QString serviceKey = u"000000100100010001"_s;

struct Outcome {
    int exitCode = -1;
    QString output;
};

Outcome runProgram(const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {-1, u"did not finish"_s};
    const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {code, QString::fromUtf8(process.readAllStandardError())};
}

DataPacket subGroups(const TestServer& server, const QString& branch)
{
    const Reply reply = server.call(u"GetSubGruSeMa"_s, {branch, u"0001"_s, u"0001"_s, serviceKey, u"2"_s, u"2"_s});
    EXPECT_TRUE(reply.ok()) << reply.error().toStdString();
    return reply.packet();
}

Reply writeObservation(const TestServer& server, const DataPacket& packet, int row, const QString& text)
{
    return server.call(u"SetSubGruSeMa"_s, {toCbor(updateOf(packet, row, {{u"TXCOMSUMA"_s, text}})), u"_OBS"_s});
}

// Rewrites the observation of one sub-group row with 1, 2, 3... as fast as the server answers,
// counting the writes the server acknowledged.
class Writer {
public:
    Writer(const TestServer& server, QString branch, int row)
        : server_(server), branch_(std::move(branch)), row_(row), thread_([this] { run(); })
    {
    }
    ~Writer() { stop(); }

    int acknowledged() const { return acknowledged_; }
    void stop()
    {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
    }
    // The observation this writer's row holds on `server`.
    int valueIn(const TestServer& server) const
    {
        return valueAt(subGroups(server, branch_), row_, u"TXCOMSUMA"_s).toInt();
    }

private:
    void run()
    {
        DataPacket packet = subGroups(server_, branch_);
        const int column = packet.indexOf(u"TXCOMSUMA"_s);
        for (int n = 1; !stop_ && column >= 0; ++n) {
            const Reply reply = writeObservation(server_, packet, row_, QString::number(n));
            if (!reply.ok()) {
                ADD_FAILURE() << "write " << n << " on " << branch_.toStdString() << ": " << reply.error().toStdString();
                return;
            }
            packet.rows[row_][column] = QString::number(n);
            acknowledged_ = n;
        }
    }

    const TestServer& server_;
    QString branch_;
    int row_;
    std::atomic<bool> stop_{false};
    std::atomic<int> acknowledged_{0};
    std::thread thread_;
};

void waitForWrites(const std::vector<std::unique_ptr<Writer>>& writers, const std::vector<int>& floor, int more)
{
    for (int i = 0; i < 1000; ++i) {
        bool all = true;
        for (size_t w = 0; w < writers.size(); ++w)
            all = all && writers[w]->acknowledged() >= floor[w] + more;
        if (all)
            return;
        std::this_thread::sleep_for(10ms);
    }
    ADD_FAILURE() << "the writers stopped writing";
}

std::vector<int> acknowledged(const std::vector<std::unique_ptr<Writer>>& writers)
{
    std::vector<int> counts;
    for (const auto& writer : writers)
        counts.push_back(writer->acknowledged());
    return counts;
}

TEST(Backup, TakesACopyWhileFourWritersWriteThatHoldsEveryWriteAcknowledgedBeforeAndServesWhenPutBack)
{
    TestDatabase database(sqliteDriver);
    seedFixture(database);
    // Some megabytes, so that writes commit while the copy is being read.
    database.exec(u"CREATE TABLE LASTRO (DADOS BLOB)"_s);
    for (int i = 0; i < 32; ++i)
        database.exec(u"INSERT INTO LASTRO VALUES (zeroblob(524288))"_s);
    QTemporaryDir dir;
    const QString copy = dir.filePath(u"copy.sqlite"_s);

    auto server = std::make_unique<TestServer>(database.config());
    std::vector<std::unique_ptr<Writer>> writers;
    for (const auto& [branch, row] : {std::pair{u"0001"_s, 0}, {u"0001"_s, 1}, {u"0001"_s, 2}, {u"0002"_s, 0}})
        writers.push_back(std::make_unique<Writer>(*server, branch, row));
    waitForWrites(writers, {0, 0, 0, 0}, 3);

    const std::vector<int> before = acknowledged(writers);
    const Outcome backup = runProgram({u"--db"_s, database.config().sqliteFile, u"--backup"_s, copy});
    const std::vector<int> during = acknowledged(writers);
    waitForWrites(writers, during, 2);
    for (auto& writer : writers)
        writer->stop();
    const std::vector<int> after = acknowledged(writers);
    ASSERT_EQ(backup.exitCode, 0) << backup.output.toStdString();
    EXPECT_TRUE(backup.output.contains(u"ok, schema version"_s)) << backup.output.toStdString();
    EXPECT_GT(std::accumulate(during.begin(), during.end(), 0), std::accumulate(before.begin(), before.end(), 0))
        << "the writers must go on while the copy is taken";

    const Outcome check = runProgram({u"--check"_s, copy});
    EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();

    // Put back: the server stopped, the copy in place of the database, the server started on it.
    server.reset();
    const QString restored = dir.filePath(u"restored.sqlite"_s);
    ASSERT_TRUE(QFile::copy(copy, restored));
    TestServer onCopy(DbConfig{Driver::Sqlite, restored, {}});
    for (size_t w = 0; w < writers.size(); ++w) {
        const int value = writers[w]->valueIn(onCopy);
        EXPECT_GE(value, before[w]) << "writer " << w << ": a write acknowledged before the backup is missing";
        EXPECT_LE(value, after[w]) << "writer " << w;
    }
    const Reply write = writeObservation(onCopy, subGroups(onCopy, u"0001"_s), 0, u"depois"_s);
    EXPECT_TRUE(write.ok()) << write.error().toStdString();
}

TEST(Backup, RefusalsOfBackupAndCheckSayWhatIsWrong)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(u"good.sqlite"_s);
    ASSERT_EQ(runProgram({u"--db"_s, good, u"--no-serve"_s}).exitCode, 0);
    const QString text = dir.filePath(u"text.sqlite"_s);
    QFile textFile(text);
    ASSERT_TRUE(textFile.open(QIODevice::WriteOnly) && textFile.write(QByteArray(8192, 'x')) > 0);
    textFile.close();
    const QString foreign = dir.filePath(u"foreign.sqlite"_s);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"foreign"_s);
        db.setDatabaseName(foreign);
        ASSERT_TRUE(db.open() && QSqlQuery(db).exec(u"CREATE TABLE OUTRA (X INTEGER)"_s));
        db.close();
    }
    QSqlDatabase::removeDatabase(u"foreign"_s);
    const QString damaged = dir.filePath(u"damaged.sqlite"_s);
    ASSERT_TRUE(QFile::copy(good, damaged));
    QFile damagedFile(damaged);
    ASSERT_TRUE(damagedFile.open(QIODevice::ReadWrite) && damagedFile.seek(3 * 16384));
    damagedFile.write(QByteArray(4000, '\x5a'));
    damagedFile.close();

    const QList<std::pair<QStringList, QString>> refusals = {
        {{u"--check"_s, dir.filePath(u"none.sqlite"_s)}, u"none.sqlite: no such database file"_s},
        {{u"--check"_s, text}, u"text.sqlite cannot be read as a database"_s},
        {{u"--check"_s, foreign}, u"foreign.sqlite is not a database of this server"_s},
        {{u"--check"_s, damaged}, u"damaged.sqlite is damaged"_s},
        {{u"--db"_s, good, u"--backup"_s, text}, u"text.sqlite already exists; a backup never overwrites a file"_s},
        {{u"--db"_s, dir.filePath(u"none.sqlite"_s), u"--backup"_s, dir.filePath(u"x.sqlite"_s)},
         u"none.sqlite: no such database file"_s},
        {{u"--pg"_s, u"host=/nowhere dbname=qmv"_s, u"--backup"_s, dir.filePath(u"x.sqlite"_s)},
         u"back up PostgreSQL with its own tools: pg_dump -Fc"_s},
    };
    for (const auto& [arguments, message] : refusals) {
        const Outcome outcome = runProgram(arguments);
        EXPECT_EQ(outcome.exitCode, 1) << arguments.join(u' ').toStdString();
        EXPECT_TRUE(outcome.output.contains(message)) << outcome.output.toStdString();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(u"x.sqlite"_s)));
    EXPECT_EQ(runProgram({u"--check"_s, good}).exitCode, 0);
}

TEST(ConfigFile, PutsTheFileFirstSoThatOptionsOverrideIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"appserver.conf"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# comment\n\n db = /var/lib/qmv/qmv.sqlite \nport=8211\npg=host=/run/postgresql dbname=qmv\n"
               "web-keys-on-loopback = no\nweb-keys-on-loopback=yes\n");
    file.close();
    const std::string conf = path.toStdString();
    const char* argv[] = {"appserver", "--port", "0", "--config", conf.c_str(), "--no-serve"};
    const std::vector<std::string> expected = {"--db", "/var/lib/qmv/qmv.sqlite", "--port", "8211", "--pg",
                                               "host=/run/postgresql dbname=qmv", "--web-keys-on-loopback",
                                               "--port", "0", "--no-serve"};
    EXPECT_EQ(argumentsWithConfigFile(6, argv), expected);
    const char* plain[] = {"appserver", "--db", "x"};
    EXPECT_EQ(argumentsWithConfigFile(3, plain), (std::vector<std::string>{"--db", "x"}));

    // The program reads it: the database named in the file is created.
    QFile written(path);
    ASSERT_TRUE(written.open(QIODevice::WriteOnly));
    written.write(("db=" + dir.filePath(u"from-file.sqlite"_s)).toUtf8());
    written.close();
    EXPECT_EQ(runProgram({u"--config"_s, path, u"--no-serve"_s}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(dir.filePath(u"from-file.sqlite"_s)));
}

TEST(ConfigFile, RefusesAFileItCannotReadNamingTheLine)
{
    QTemporaryDir dir;
    const QList<std::pair<QByteArray, QString>> cases = {
        {"port=8211\nsenha=x\n", u"appserver.conf, line 2: unknown setting \"senha\""_s},
        {"# ok\ndb /tmp/x\n", u"appserver.conf, line 2: \"name=value\" expected"_s},
        {"db=\n", u"appserver.conf, line 1: db has no value"_s},
        {"init-demo=1\n", u"appserver.conf, line 1: unknown setting \"init-demo\""_s},
        {"web-keys-on-loopback=1\n", u"appserver.conf, line 1: web-keys-on-loopback takes yes or no"_s},
    };
    const QString path = dir.filePath(u"appserver.conf"_s);
    for (const auto& [content, message] : cases) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        const Outcome outcome = runProgram({u"--config"_s, path});
        EXPECT_EQ(outcome.exitCode, 2) << content.constData();
        EXPECT_TRUE(outcome.output.contains(message)) << outcome.output.toStdString();
    }
    const Outcome missing = runProgram({u"--config"_s, dir.filePath(u"none.conf"_s)});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.output.contains(u"cannot read the configuration file"_s)) << missing.output.toStdString();
}

}  // namespace
}  // namespace qmv::appserver::test
