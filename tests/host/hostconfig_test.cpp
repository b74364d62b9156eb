#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "host/hostconfig.h"

namespace qmv {
namespace {

QString writeIni(const QTemporaryDir& dir, const QByteArray& text)
{
    const QString path = dir.filePath("host.ini");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
}

const QByteArray sampleIni =
    "[Filial]\nCodigo=0007\nNome=\"Cozinha Central, Bloco B\"\nModuFili=S\n"
    "[Servidor]\nHost=app.local\nPorta=9100\nChave=kitchen-0007-secret\nCertificado=/etc/qmv/server.pem\n"
    "[BancoDados]\nDriver=QPSQL\nNome=host=db dbname=qmv\n"
    "[Codigos]\nMascara=\"99.999;1; \"\n";

TEST(HostConfig, ReadsEveryKeyOfTheIniFile)
{
    QTemporaryDir dir;
    HostConfig config;
    config.loadIni(writeIni(dir, sampleIni));
    EXPECT_EQ(config.branchCode, "0007");
    EXPECT_EQ(config.branchName, "Cozinha Central, Bloco B");
    EXPECT_TRUE(config.moduFili);
    EXPECT_EQ(config.serverHost, "app.local");
    EXPECT_EQ(config.serverPort, 9100);
    EXPECT_EQ(config.serverAccessKey, "kitchen-0007-secret");
    EXPECT_EQ(config.serverCertificate, "/etc/qmv/server.pem");
    EXPECT_EQ(config.dbDriver, "QPSQL");
    EXPECT_EQ(config.dbName, "host=db dbname=qmv");
    EXPECT_EQ(config.codeMask, "99.999;1; ");
}

TEST(HostConfig, KeepsDefaultsForKeysTheFileLacksAndJoinsUnquotedCommas)
{
    QTemporaryDir dir;
    HostConfig config;
    config.loadIni(writeIni(dir, "[Filial]\nNome=Cozinha, Norte\n"));
    EXPECT_EQ(config.branchName, "Cozinha, Norte");
    EXPECT_EQ(config.serverPort, 8211);
    EXPECT_EQ(config.serverHost, "127.0.0.1");
    EXPECT_FALSE(config.moduFili);
}

TEST(HostConfig, CommandLineOverridesTheFileAndLeavesOtherArguments)
{
    QTemporaryDir dir;
    const QString ini = writeIni(dir, sampleIni);
    QStringList rest;
    const HostConfig config = HostConfig::fromArguments(
        {"qmvhost", "--config", ini, "--server-port=9200", "--open", "QMV00500", "--filial", "0001",
         "--modufili=N"},
        &rest);
    EXPECT_EQ(config.serverPort, 9200);
    EXPECT_EQ(config.branchCode, "0001");
    EXPECT_FALSE(config.moduFili);
    EXPECT_EQ(config.serverHost, "app.local");
    EXPECT_EQ(rest, (QStringList{"qmvhost", "--open", "QMV00500"}));
}

TEST(HostConfig, RefusesBadValuesWithAClearMessage)
{
    QTemporaryDir dir;
    HostConfig config;
    EXPECT_THROW(config.loadIni(dir.filePath("missing.ini")), ConfigError);
    EXPECT_THROW(config.loadIni(writeIni(dir, "[Servidor]\nPorta=abc\n")), ConfigError);
    EXPECT_THROW(config.applyOverrides({"--server-port", "70000"}), ConfigError);
    EXPECT_THROW(config.applyOverrides({"--modufili=talvez"}), ConfigError);
    EXPECT_THROW(config.applyOverrides({"--filial"}), ConfigError);
    try {
        config.applyOverrides({"--server-port=x1"});
        FAIL() << "a port that is not a number was accepted";
    } catch (const ConfigError& e) {
        EXPECT_NE(std::string(e.what()).find("x1"), std::string::npos);
    }
}

TEST(HostConfig, RoutinesReadTheInstalledConfiguration)
{
    const HostConfig saved = hostConfig();
    HostConfig config;
    config.branchCode = "0003";
    config.branchName = "Filial Três";
    config.moduFili = true;
    config.serverHost = "10.0.0.5";
    config.serverPort = 8300;
    setHostConfig(config);
    EXPECT_EQ(FiliProc(), "0003");
    EXPECT_EQ(NomeFiliProc(), "Filial Três");
    EXPECT_TRUE(ModuFili());
    EXPECT_EQ(WebURL(), "10.0.0.5");
    EXPECT_EQ(WebPort(), 8300);
    setHostConfig(saved);
}

}  // namespace
}  // namespace qmv
