#include "host/hostconfig.h"

#include <QFileInfo>
#include <QSettings>

namespace qmv {

namespace {

HostConfig& current()
{
    static HostConfig config;
    return config;
}

bool parseFlag(const QString& key, const QString& value)
{
    const QString v = value.trimmed().toLower();
    if (v == u"1" || v == u"true" || v == u"s" || v == u"sim" || v == u"yes")
        return true;
    if (v == u"0" || v == u"false" || v == u"n" || v == u"nao" || v == u"não" || v == u"no" || v.isEmpty())
        return false;
    throw ConfigError(QStringLiteral("Valor inválido para %1: \"%2\" (use S ou N).")
                          .arg(key, value).toStdString());
}

int parsePort(const QString& key, const QString& value)
{
    bool ok = false;
    const int port = value.trimmed().toInt(&ok);
    if (!ok || port < 1 || port > 65535)
        throw ConfigError(QStringLiteral("Porta inválida para %1: \"%2\".").arg(key, value).toStdString());
    return port;
}

// One setter per configuration key; the INI key and the command-line option name it.
struct Key {
    const char* ini;
    const char* option;
    void (*set)(HostConfig&, const QString& name, const QString& value);
};

const Key keys[] = {
    {"Filial/Codigo", "filial", [](HostConfig& c, const QString&, const QString& v) { c.branchCode = v.trimmed(); }},
    {"Filial/Nome", "nome-filial", [](HostConfig& c, const QString&, const QString& v) { c.branchName = v; }},
    {"Filial/ModuFili", "modufili", [](HostConfig& c, const QString& k, const QString& v) { c.moduFili = parseFlag(k, v); }},
    {"Servidor/Host", "server-host", [](HostConfig& c, const QString&, const QString& v) { c.serverHost = v.trimmed(); }},
    {"Servidor/Porta", "server-port", [](HostConfig& c, const QString& k, const QString& v) { c.serverPort = parsePort(k, v); }},
    {"Servidor/Chave", "server-key", [](HostConfig& c, const QString&, const QString& v) { c.serverAccessKey = v.trimmed(); }},
    {"Servidor/Certificado", "server-certificate", [](HostConfig& c, const QString&, const QString& v) { c.serverCertificate = v.trimmed(); }},
    {"BancoDados/Driver", "db-driver", [](HostConfig& c, const QString&, const QString& v) { c.dbDriver = v.trimmed(); }},
    {"BancoDados/Nome", "db-name", [](HostConfig& c, const QString&, const QString& v) { c.dbName = v; }},
    {"Codigos/Mascara", "code-mask", [](HostConfig& c, const QString&, const QString& v) { c.codeMask = v; }},
};

// An unquoted value with commas reads back as a list; the configuration wants the text.
QString iniText(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

const Key* keyForOption(const QString& option)
{
    for (const Key& key : keys)
        if (option == QLatin1String(key.option))
            return &key;
    return nullptr;
}

}  // namespace

void HostConfig::loadIni(const QString& path)
{
    if (!QFileInfo(path).isFile())
        throw ConfigError(QStringLiteral("Arquivo de configuração não encontrado: %1").arg(path).toStdString());
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        throw ConfigError(QStringLiteral("Arquivo de configuração ilegível: %1").arg(path).toStdString());
    for (const Key& key : keys) {
        const QString name = QLatin1String(key.ini);
        if (ini.contains(name))
            key.set(*this, name, iniText(ini.value(name)));
    }
}

QStringList HostConfig::applyOverrides(const QStringList& arguments)
{
    QStringList rest;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            rest << arg;
            continue;
        }
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        const QString option = arg.mid(2, eq < 0 ? -1 : eq - 2);
        const Key* key = keyForOption(option);
        if (!key) {
            rest << arg;
            continue;
        }
        QString value;
        if (eq >= 0)
            value = arg.mid(eq + 1);
        else if (i + 1 < arguments.size())
            value = arguments[++i];
        else
            throw ConfigError(QStringLiteral("Falta o valor de --%1.").arg(option).toStdString());
        key->set(*this, QStringLiteral("--") + option, value);
    }
    return rest;
}

HostConfig HostConfig::fromArguments(const QStringList& arguments, QStringList* rest)
{
    HostConfig config;
    QStringList others;
    QString iniPath;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == u"--config" && i + 1 < arguments.size())
            iniPath = arguments[++i];
        else if (arg.startsWith(QLatin1String("--config=")))
            iniPath = arg.mid(9);
        else if (arg == u"--config")
            throw ConfigError("Falta o valor de --config.");
        else
            others << arg;
    }
    if (!iniPath.isEmpty())
        config.loadIni(iniPath);
    others = config.applyOverrides(others);
    if (rest)
        *rest = others;
    return config;
}

const HostConfig& hostConfig()
{
    return current();
}

void setHostConfig(const HostConfig& config)
{
    current() = config;
}

QString FiliProc() { return current().branchCode; }
QString NomeFiliProc() { return current().branchName; }
bool ModuFili() { return current().moduFili; }
QString WebURL() { return current().serverHost; }
int WebPort() { return current().serverPort; }

}  // namespace qmv
