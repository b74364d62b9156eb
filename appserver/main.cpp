// The application server program: parses its options, optionally fills a demo database, serves
// until SIGTERM or SIGINT, then stops cleanly.
#include "appserver/http/accesskeys.h"
#include "appserver/appserver.h"
#include "appserver/database/backup.h"
#include "appserver/configfile.h"
#include "appserver/demo/demodata.h"
#include "appserver/database/schema.h"
#include "appserver/processsettings.h"
#include "http/servertls.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <pthread.h>
#include <string>
#include <vector>

namespace {

using qmv::appserver::Driver;
using qmv::appserver::ServerOptions;

struct Options {
    ServerOptions server;
    bool initDemo = false;
    bool serve = true;
    bool haveDatabase = false;
    QString tlsCertificate, tlsKey, accessKeys;
    QString backup, check;
};

const char* const usage =
    "usage: appserver (--db <file.sqlite> | --pg \"<key=value conninfo>\") [--port N] [--listen ADDR]\n"
    "                 [--threads N] [--tls-cert FILE --tls-key FILE] [--access-keys FILE]\n"
    "                 [--history-days N]\n"
    "                 [--init-demo] [--no-serve] [--config FILE] [--backup FILE] [--web-keys-on-loopback]\n"
    "       appserver --check FILE\n"
    "  --db FILE      SQLite database file (created when missing)\n"
    "  --pg CONNINFO  PostgreSQL, e.g. \"host=/run/postgresql dbname=qmv user=qmv\"\n"
    "  --port N       port to listen on (default 8211; 0 picks a free one)\n"
    "  --listen ADDR  address to listen on (default 127.0.0.1); any other than loopback needs\n"
    "                 --tls-cert, --tls-key and --access-keys\n"
    "  --threads N    worker threads, each with its own database connection (default 8)\n"
    "  --tls-cert FILE  serve HTTPS with this PEM certificate (chain)\n"
    "  --tls-key FILE   the certificate's PEM private key\n"
    "  --access-keys FILE  access keys and the branches each may read and write (docs/operations.md)\n"
    "  --history-days N  keep the history of changes N days (default: everything)\n"
    "  --init-demo    fill an empty database with the demo data\n"
    "  --no-serve     exit after creating the schema (and the demo data)\n"
    "  --config FILE  name=value lines named like the options above; options given here override them\n"
    "  --backup FILE  write a consistent copy of the SQLite database into FILE (new) while it serves, then exit\n"
    "  --web-keys-on-loopback  the web view (/manual) asks for an access key on loopback too\n"
    "  --check FILE   check a database file (integrity, schema version) before it is put back, then exit\n";

bool parse(const std::vector<std::string>& arguments, Options& options)
{
    const int count = int(arguments.size());
    for (int i = 0; i < count; ++i) {
        const std::string& arg = arguments[size_t(i)];
        auto next = [&]() -> const char* { return i + 1 < count ? arguments[size_t(++i)].c_str() : nullptr; };
        if (arg == "--db" || arg == "--pg") {
            const char* value = next();
            if (!value)
                return false;
            options.server.database.driver = arg == "--db" ? Driver::Sqlite : Driver::Postgres;
            (arg == "--db" ? options.server.database.sqliteFile : options.server.database.pgConnInfo) =
                QString::fromLocal8Bit(value);
            options.haveDatabase = true;
        } else if (arg == "--port" || arg == "--threads") {
            const char* value = next();
            if (!value)
                return false;
            char* end = nullptr;
            const long number = std::strtol(value, &end, 10);
            if (*end != '\0' || number < 0 || number > 65535)
                return false;
            (arg == "--port" ? options.server.port : options.server.threads) = int(number);
        } else if (arg == "--history-days") {
            const char* value = next();
            char* end = nullptr;
            const long days = value ? std::strtol(value, &end, 10) : 0;
            if (!value || *end != '\0' || days < 1 || days > 36500)
                return false;
            options.server.historyDays = int(days);
        } else if (arg == "--listen") {
            const char* value = next();
            if (!value)
                return false;
            options.server.listen = QString::fromLocal8Bit(value);
        } else if (arg == "--tls-cert" || arg == "--tls-key" || arg == "--access-keys") {
            const char* value = next();
            if (!value)
                return false;
            QString& file = arg == "--tls-cert" ? options.tlsCertificate
                            : arg == "--tls-key"  ? options.tlsKey
                                                  : options.accessKeys;
            file = QString::fromLocal8Bit(value);
        } else if (arg == "--backup" || arg == "--check") {
            const char* value = next();
            if (!value)
                return false;
            (arg == "--backup" ? options.backup : options.check) = QString::fromLocal8Bit(value);
        } else if (arg == "--init-demo") {
            options.initDemo = true;
        } else if (arg == "--no-serve") {
            options.serve = false;
        } else if (arg == "--web-keys-on-loopback") {
            options.server.webKeysOnLoopback = true;
        } else {
            return false;
        }
    }
    return options.haveDatabase || !options.check.isEmpty();
}

// TLS and access keys from their files. Throws std::runtime_error naming the file at fault.
void secure(Options& options)
{
    if (options.tlsCertificate.isEmpty() != options.tlsKey.isEmpty())
        throw std::runtime_error(options.tlsKey.isEmpty() ? "--tls-cert needs --tls-key (the certificate's private key)"
                                                          : "--tls-key needs --tls-cert (the certificate)");
    if (!options.tlsCertificate.isEmpty())
        options.server.tls = qmv::http::loadServerTls(options.tlsCertificate, options.tlsKey);
    if (!options.accessKeys.isEmpty()) {
        const auto keys = std::make_shared<const qmv::appserver::AccessKeys>(
            qmv::appserver::AccessKeys::fromFile(options.accessKeys));
        options.server.authorize = [keys](const qmv::appserver::CallAccess& call) {
            return keys->refusal(call.accessKey, call.method, call.arguments);
        };
        options.server.readsMetrics = [keys](const std::string& key) { return keys->readsMetrics(key); };
        options.server.webReads = [keys](const std::string& key, const QString& branch) {
            return keys->reads(key, branch);
        };
    }
}

int waitForStopSignal()
{
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    int received = 0;
    sigwait(&stopSignals, &received);
    return received;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    std::vector<std::string> arguments;
    try {
        arguments = qmv::appserver::argumentsWithConfigFile(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "appserver: %s\n", error.what());
        return 2;  // like a bad command line: starting again cannot help
    }
    if (!parse(arguments, options)) {
        std::fputs(usage, stderr);
        return 2;
    }
    qmv::appserver::applyServingProcessSettings();
    // Blocked before any thread starts, so every thread inherits the mask and only sigwait sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    std::unique_ptr<QCoreApplication> app;
    if (options.initDemo) {
        // The demo pictures are drawn with fonts, which need a GUI application (off screen).
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }

    try {
        if (options.initDemo) {
            const QString outcome = qmv::appserver::createDemoDatabase(options.server.database);
            std::fprintf(stderr, "%s\n", outcome.toUtf8().constData());
        }
        if (!options.check.isEmpty() || !options.backup.isEmpty()) {
            if (!options.backup.isEmpty())
                qmv::appserver::backupDatabase(options.server.database, options.backup);
            const QString copy = options.check.isEmpty() ? options.backup : options.check;
            const QString checked = qmv::appserver::checkDatabaseFile(copy);
            std::fprintf(stderr, "appserver: %s\n", checked.toUtf8().constData());
            return 0;
        }
        if (!options.serve) {
            qmv::appserver::migrateDatabase(options.server.database);
            return 0;
        }
        secure(options);
        qmv::appserver::AppServer server(options.server);
        const int port = server.start();
        std::fprintf(stderr, "appserver: serving Qmv00500.rdmFotoMontManual on %s://%s:%d%s\n",
                     options.server.tls ? "https" : "http", options.server.listen.toUtf8().constData(), port,
                     options.server.authorize ? " (access keys required)" : "");
        const int signal = waitForStopSignal();
        std::fprintf(stderr, "appserver: %s received, stopping\n", signal == SIGTERM ? "SIGTERM" : "SIGINT");
        server.stop();
        std::fprintf(stderr, "appserver: stopped\n");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "appserver: %s\n", error.what());
        return 1;
    }
    return 0;
}
