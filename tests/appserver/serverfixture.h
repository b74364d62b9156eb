#pragma once
// Test support for the application server: a throw-away database per test (a temporary SQLite
// file, or a fresh schema of the PostgreSQL named by QMV_TEST_PG) seeded with a small known data
// set, the server started in-process on a free port, and a raw HTTP caller. Test thread only.
#include "appserver/appserver.h"
#include "platform/packet.h"

#include <QCborArray>
#include <QCborMap>
#include <QSqlDatabase>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace qmv::appserver::test {

// The drivers every database suite runs on; PostgreSQL is skipped without QMV_TEST_PG.
inline const char* const sqliteDriver = "sqlite";
inline const char* const postgresDriver = "pg";

class TestDatabase {
public:
    explicit TestDatabase(const std::string& driver);  // skips the test when the driver is absent
    ~TestDatabase();

    bool available() const { return available_; }
    const DbConfig& config() const { return config_; }
    QSqlDatabase db() const;  // a connection of the test thread

    void exec(const QString& sql, const QVariantList& params = {}) const;
    QVariant scalar(const QString& sql, const QVariantList& params = {}) const;
    // Every table's rows as text, to prove a refused call wrote nothing.
    QString snapshot() const;

private:
    bool available_ = false;
    DbConfig config_;
    QString connection_;
    QString schema_;
    std::unique_ptr<QTemporaryDir> dir_;
};

// A self-signed certificate for 127.0.0.1, localhost and `alsoFor` (an address, when given), and
// its key, as <name>.pem and <name>.key in `dir`; made by the openssl program.
bool makeCertificate(const QTemporaryDir& dir, const QString& name, const QString& alsoFor = {});

// Creates the schema and fills the small data set the method tests rely on.
void seedFixture(const TestDatabase& database);

struct Reply {
    int status = 0;          // HTTP status, 0 when the connection failed
    QString contentType;
    QByteArray body;
    QCborMap map;            // the decoded answer envelope (CBOR or JSON)
    bool ok() const { return map.value(QStringLiteral("ok")).toBool(); }
    QString error() const { return map.value(QStringLiteral("error")).toString(); }
    DataPacket packet() const;  // the result as a data packet; fails the test when it is not one
};

class TestServer {
public:
    // `port` 0 picks a free one; a given port lets a test start the server again where it was.
    explicit TestServer(const DbConfig& config, const HttpLimits& limits = {}, int port = 0);
    ~TestServer();

    int port() const { return port_; }
    QStringList logLines() const;

    Reply call(const QString& method, const QCborArray& args) const;
    Reply post(const std::string& path, const QByteArray& body, const std::string& contentType) const;
    Reply get(const std::string& path) const;

private:
    std::unique_ptr<AppServer> server_;
    int port_ = 0;
    struct Log;
    std::shared_ptr<Log> log_;
};

// Base of the database suites: a seeded database and a running server per test, for the driver
// named by the parameter (instantiate with QMV_DRIVERS below).
class DriverTest : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override;
    void TearDown() override;

    Reply call(const QString& method, const QCborArray& args) const { return server_->call(method, args); }
    // Calls a Get... method and returns its packet, failing the test on an error answer.
    DataPacket get(const QString& method, const QCborArray& args) const;
    // Calls a Set... method with one change set (and any further arguments).
    Reply set(const QString& method, const ChangeSet& changes, const QCborArray& more = {}) const;

    std::unique_ptr<TestDatabase> database_;
    std::unique_ptr<TestServer> server_;
};

#define QMV_DRIVERS(suite)                                                                                   \
    INSTANTIATE_TEST_SUITE_P(Drivers, suite,                                                                 \
                             ::testing::Values(std::string(::qmv::appserver::test::sqliteDriver),           \
                                               std::string(::qmv::appserver::test::postgresDriver)),        \
                             [](const auto& info) { return info.param; })

// A change set of one update: `original` as read, `current` with the given fields changed.
ChangeSet updateOf(const DataPacket& packet, int row, const QList<std::pair<QString, QVariant>>& changes);
ChangeSet insertOf(const QList<FieldDef>& fields, const Row& current);
ChangeSet deleteOf(const DataPacket& packet, int row);
QVariant valueAt(const DataPacket& packet, int row, const QString& field);
QStringList column(const DataPacket& packet, const QString& field);

}  // namespace qmv::appserver::test
