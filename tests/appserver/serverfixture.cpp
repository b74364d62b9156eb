#include "appserver/serverfixture.h"

#include "appserver/processsettings.h"
#include "appserver/database/schema.h"
#include "appserver/database/sql.h"

#include <QCborValue>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlRecord>
#include <mutex>
#include <unistd.h>

#include "appserver/http/wirecodec.h"
#include "http/httpconnection.h"

namespace qmv::appserver::test {

using namespace Qt::StringLiterals;

namespace {

const QStringList allTables = {u"FILIAL"_s,     u"COMPANHIA"_s,     u"CIAFILI"_s,    u"MANUALCIA"_s,
                               u"PARAMFILIAL"_s, u"CLASSE"_s,       u"CICLO"_s,      u"SERVICO"_s,
                               u"SERVMANUAL"_s, u"CLASSIFICACAO"_s, u"PRODUTO"_s,    u"EQUIPCIA"_s,
                               u"SUBGRUPO"_s,   u"SUBGRUSEMA"_s,    u"FOTOSEMA"_s,   u"FOTOSUBMA"_s,
                               u"EQUISUBSEMA"_s, u"PRODRECSEMA"_s};

int serial = 0;

QString adminConnection() { return u"qmv-test-admin"_s; }

}  // namespace

TestDatabase::TestDatabase(const std::string& driver)
{
    connection_ = u"qmv-test-%1"_s.arg(++serial);
    if (driver == sqliteDriver) {
        dir_ = std::make_unique<QTemporaryDir>();
        config_.driver = Driver::Sqlite;
        config_.sqliteFile = dir_->filePath(u"test.sqlite"_s);
    } else {
        const QString base = qEnvironmentVariable("QMV_TEST_PG");
        if (base.isEmpty())
            return;
        schema_ = u"qmvt_%1_%2"_s.arg(getpid()).arg(serial);
        {
            DbConfig admin{Driver::Postgres, {}, base};
            QSqlDatabase db = openDatabase(admin, adminConnection());
            runSql(db, u"DROP SCHEMA IF EXISTS %1 CASCADE"_s.arg(schema_));
            runSql(db, u"CREATE SCHEMA %1"_s.arg(schema_));
        }
        closeDatabase(adminConnection());
        config_.driver = Driver::Postgres;
        config_.pgConnInfo = base + u" options='-c search_path=%1'"_s.arg(schema_);
    }
    openDatabase(config_, connection_);
    available_ = true;
}

TestDatabase::~TestDatabase()
{
    if (!available_)
        return;
    closeDatabase(connection_);
    if (!schema_.isEmpty()) {
        {
            DbConfig admin{Driver::Postgres, {}, qEnvironmentVariable("QMV_TEST_PG")};
            QSqlDatabase db = openDatabase(admin, adminConnection());
            runSql(db, u"SET client_min_messages TO WARNING"_s);
            runSql(db, u"DROP SCHEMA IF EXISTS %1 CASCADE"_s.arg(schema_));
        }
        closeDatabase(adminConnection());
    }
}

QSqlDatabase TestDatabase::db() const
{
    return QSqlDatabase::database(connection_, false);
}

void TestDatabase::exec(const QString& sql, const QVariantList& params) const
{
    runSql(db(), sql, params);
}

QVariant TestDatabase::scalar(const QString& sql, const QVariantList& params) const
{
    QSqlQuery q = runSql(db(), sql, params);
    return q.next() ? q.value(0) : QVariant();
}

QString TestDatabase::snapshot() const
{
    QString text;
    for (const QString& table : allTables) {
        QSqlQuery q = runSql(db(), u"SELECT * FROM %1"_s.arg(table));
        QStringList rows;
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.record().count(); ++i) {
                const QVariant v = q.value(i);
                values << (v.isNull() ? u"<null>"_s
                           : v.metaType().id() == QMetaType::QByteArray
                               ? QString::fromLatin1(QCryptographicHash::hash(v.toByteArray(), QCryptographicHash::Md5).toHex())
                               : v.toString());
            }
            rows << values.join(u'|');
        }
        rows.sort();
        text += table + u":\n"_s + rows.join(u'\n') + u'\n';
    }
    return text;
}

DataPacket Reply::packet() const
{
    const QCborValue result = map.value(QStringLiteral("result"));
    EXPECT_TRUE(ok()) << error().toStdString();
    try {
        return packetFromCbor(result);
    } catch (const PacketError& e) {
        ADD_FAILURE() << "not a packet: " << e.what();
        return {};
    }
}

struct TestServer::Log {
    std::mutex mutex;
    QStringList lines;
};

TestServer::TestServer(const DbConfig& config, const HttpLimits& limits, int port)
    : log_(std::make_shared<Log>())
{
    applyServingProcessSettings();  // as the program does
    ServerOptions options;
    options.database = config;
    options.port = port;
    options.threads = 3;
    options.limits = limits;
    std::weak_ptr<Log> log = log_;
    options.log = [log](const QString& line) {
        if (auto sink = log.lock()) {
            std::lock_guard lock(sink->mutex);
            sink->lines << line;
        }
    };
    server_ = std::make_unique<AppServer>(options);
    port_ = server_->start();
}

TestServer::~TestServer()
{
    server_->stop();
}

QStringList TestServer::logLines() const
{
    std::lock_guard lock(log_->mutex);
    return log_->lines;
}

namespace {

Reply exchange(int port, QByteArrayView method, const std::string& path, const QByteArray& body,
               const QByteArray& contentType)
{
    http::HttpConnection connection(u"127.0.0.1"_s, port);
    http::HttpConnection::Headers headers;
    if (!contentType.isEmpty())
        headers.emplaceBack("Content-Type", contentType);
    http::HttpConnection::Answer answer;
    Reply reply;
    if (connection.exchange(method, QByteArray::fromStdString(path), headers, body, std::chrono::seconds(30), answer)
        != http::HttpConnection::Failure::None)
        return reply;
    reply.status = answer.status;
    reply.contentType = QString::fromUtf8(answer.contentType);
    reply.body = answer.body;
    if (reply.contentType.startsWith(u"application/json"_s))
        reply.map = QCborValue::fromCbor(jsonToCbor(QJsonDocument::fromJson(reply.body).object()).toCbor()).toMap();
    else if (reply.contentType.startsWith(u"application/cbor"_s))
        reply.map = QCborValue::fromCbor(reply.body).toMap();
    return reply;
}

}  // namespace

bool makeCertificate(const QTemporaryDir& dir, const QString& name, const QString& alsoFor)
{
    const QString names = u"subjectAltName=IP:127.0.0.1,DNS:localhost"_s + (alsoFor.isEmpty() ? QString() : u",IP:"_s + alsoFor);
    QProcess openssl;
    openssl.start(u"openssl"_s, {u"req"_s, u"-x509"_s, u"-newkey"_s, u"rsa:2048"_s, u"-nodes"_s, u"-days"_s, u"1"_s,
                                 u"-subj"_s, u"/CN=localhost"_s, u"-addext"_s, names, u"-keyout"_s,
                                 dir.filePath(name + u".key"_s), u"-out"_s, dir.filePath(name + u".pem"_s)});
    return openssl.waitForFinished(60000) && openssl.exitCode() == 0;
}

Reply TestServer::post(const std::string& path, const QByteArray& body, const std::string& contentType) const
{
    return exchange(port_, "POST", path, body, QByteArray::fromStdString(contentType));
}

Reply TestServer::get(const std::string& path) const
{
    return exchange(port_, "GET", path, {}, {});
}

Reply TestServer::call(const QString& method, const QCborArray& args) const
{
    return post("/rdm/Qmv00500.rdmFotoMontManual/" + method.toStdString(), QCborValue(args).toCbor(),
                "application/cbor");
}

void DriverTest::SetUp()
{
    database_ = std::make_unique<TestDatabase>(GetParam());
    if (!database_->available())
        GTEST_SKIP() << "QMV_TEST_PG names no PostgreSQL database";
    seedFixture(*database_);
    server_ = std::make_unique<TestServer>(database_->config());
}

void DriverTest::TearDown()
{
    server_.reset();
    database_.reset();
}

DataPacket DriverTest::get(const QString& method, const QCborArray& args) const
{
    const Reply reply = call(method, args);
    EXPECT_EQ(reply.status, 200);
    EXPECT_TRUE(reply.ok()) << method.toStdString() << ": " << reply.error().toStdString();
    return reply.ok() ? reply.packet() : DataPacket{};
}

Reply DriverTest::set(const QString& method, const ChangeSet& changes, const QCborArray& more) const
{
    QCborArray args{toCbor(changes)};
    for (const QCborValue& value : more)
        args.append(value);
    return call(method, args);
}

ChangeSet updateOf(const DataPacket& packet, int row, const QList<std::pair<QString, QVariant>>& changes)
{
    Change change;
    change.kind = ChangeKind::Update;
    change.original = packet.rows.at(row);
    change.current = packet.rows.at(row);
    for (const auto& [field, value] : changes) {
        const int index = packet.indexOf(field);
        EXPECT_GE(index, 0) << field.toStdString();
        if (index >= 0)
            change.current[index] = value;
    }
    return ChangeSet{packet.fields, {change}};
}

ChangeSet insertOf(const QList<FieldDef>& fields, const Row& current)
{
    Change change;
    change.kind = ChangeKind::Insert;
    change.current = current;
    return ChangeSet{fields, {change}};
}

ChangeSet deleteOf(const DataPacket& packet, int row)
{
    Change change;
    change.kind = ChangeKind::Delete;
    change.original = packet.rows.at(row);
    return ChangeSet{packet.fields, {change}};
}

QVariant valueAt(const DataPacket& packet, int row, const QString& field)
{
    const int index = packet.indexOf(field);
    EXPECT_GE(index, 0) << field.toStdString();
    return index < 0 || row >= packet.rows.size() ? QVariant() : packet.rows[row].value(index);
}

QStringList column(const DataPacket& packet, const QString& field)
{
    QStringList values;
    for (int row = 0; row < packet.rows.size(); ++row)
        values << valueAt(packet, row, field).toString();
    return values;
}

}  // namespace qmv::appserver::test
