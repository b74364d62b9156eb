#pragma once
// The host configuration: the user's branch, the application server, the shared database and the
// hierarchical code mask, read from an INI file with command-line overrides. The host installs one
// configuration at start; the routines FiliProc, WebURL, DBPict... read it. UI thread only.
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace qmv {

class ConfigError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct HostConfig {
    QString branchCode;                          // FiliProc
    QString branchName;                          // NomeFiliProc
    bool moduFili = false;                       // ModuFili: the branch fields are fixed
    QString serverHost = QStringLiteral("127.0.0.1");  // WebURL
    int serverPort = 8211;                       // WebPort
    QString serverAccessKey;     // sent with every call when the server asks for keys; empty: none
    QString serverCertificate;   // PEM file of the server's certificate: calls go over TLS; empty: plain
    QString dbDriver = QStringLiteral("QSQLITE");  // QSQLITE or QPSQL
    QString dbName;                              // SQLite file, or PostgreSQL conninfo
    QString codeMask = QStringLiteral("9.99.999;1; ");  // DBPict(0)

    // Reads the keys present in the file over the current values. A missing file is an error;
    // a value of the wrong kind (a port that is not a number) too.
    void loadIni(const QString& path);

    // Applies "--key value" or "--key=value" for the keys below and returns the other arguments
    // untouched, in order. "--config <file>" is handled by fromArguments, not here.
    //   --filial --nome-filial --modufili --server-host --server-port --server-key --server-certificate
    //   --db-driver --db-name --code-mask
    QStringList applyOverrides(const QStringList& arguments);

    // The configuration of a command line: the INI named by --config (if any), then the overrides.
    // The remaining arguments (program name included) go to *rest when given.
    static HostConfig fromArguments(const QStringList& arguments, QStringList* rest = nullptr);
};

// The configuration in force (defaults until the host installs one).
const HostConfig& hostConfig();
void setHostConfig(const HostConfig& config);

// The routines the module calls.
QString FiliProc();
QString NomeFiliProc();
bool ModuFili();
QString WebURL();
int WebPort();

}  // namespace qmv
