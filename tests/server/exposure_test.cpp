// A server exposed safely: the real client over TLS with the certificate and key of its host
// configuration, two keys reaching different branches, refusals answered 403 and logged, and the
// server refusing to listen off loopback without TLS and keys. The certificates are made at test time.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <mutex>

#include "appserver/http/accesskeys.h"
#include "appserver/http/exposure.h"
#include "appserver/serverfixture.h"
#include "host/hostconfig.h"
#include "http/servertls.h"
#include "platform/wire.h"
#include "server/catalogue.h"
#include "server/tnetconnection.h"

namespace qmv {
namespace {

using namespace Qt::StringLiterals;

const QString keyA = u"kitchen-0001-aaaaaaaa"_s;  // branch 0001
const QString keyB = u"kitchen-0002-bbbbbbbb"_s;  // branch 0002

using appserver::test::makeCertificate;

enum class Access { Read, Write };

class Exposure : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(makeCertificate(dir_, u"server"_s));
        ASSERT_TRUE(makeCertificate(dir_, u"other"_s));
        database_ = std::make_unique<appserver::test::TestDatabase>(appserver::test::sqliteDriver);
        appserver::test::seedFixture(*database_);
        const auto keys = std::make_shared<appserver::AccessKeys>(appserver::AccessKeys::parse(
            (keyA + u" read=0001 write=0001\n"_s + keyB + u" read=0002 write=0002\n"_s).toUtf8()));
        appserver::ServerOptions options;
        options.database = database_->config();
        options.port = 0;
        options.tls = http::loadServerTls(dir_.filePath(u"server.pem"_s), dir_.filePath(u"server.key"_s));
        options.authorize = [keys](const appserver::CallAccess& call) {
            return keys->refusal(call.accessKey, call.method, call.arguments);
        };
        options.log = [this](const QString& line) {
            std::lock_guard lock(mutex_);
            log_ << line;
        };
        server_ = std::make_unique<appserver::AppServer>(options);
        port_ = server_->start();
    }
    void TearDown() override { setHostConfig(HostConfig()); }

    // The real client, configured as a host would be, reading or writing one branch's data.
    RemoteResult reach(Access access, const QString& branch, const QString& key, const QString& certificate,
                       const QString& host = u"127.0.0.1"_s)
    {
        HostConfig config;
        config.serverHost = host;
        config.serverPort = port_;
        config.serverAccessKey = key;
        config.serverCertificate = certificate.isEmpty() ? QString() : dir_.filePath(certificate);
        setHostConfig(config);
        TNetConnection net;
        net.setServerName(kServerName);
        net.beforeConnect = [](TNetConnection& c) {
            c.setPort(WebPort());
            c.setHost(WebURL());
        };
        try {
            net.connect();
        } catch (const ConnectionError& error) {
            return RemoteResult{false, error.message(), {}};
        }
        const bool first = branch == u"0001";  // sub-group S1 is E1 in branch 0001, E4 in 0002
        if (access == Access::Write)
            return InsereEquip(net, branch, u"0001"_s, first ? u"E1"_s : u"E4"_s, first ? u"EQ2"_s : u"EQ1"_s, u"S1"_s, 1);
        QString company = u"0001"_s, manual = u"0001"_s;
        return GetSubGruSeMa(net, branch, company, manual, u"000000100100010001"_s, u"2"_s, u"2"_s);
    }
    QStringList refusalsLogged() const
    {
        std::lock_guard lock(mutex_);
        return log_.filter(u"erro 403: "_s);
    }

    QTemporaryDir dir_;
    std::unique_ptr<appserver::test::TestDatabase> database_;
    std::unique_ptr<appserver::AppServer> server_;
    int port_ = 0;
    mutable std::mutex mutex_;
    QStringList log_;
};

TEST_F(Exposure, TheRealClientReachesOnlyTheBranchesOfItsKeyOverTls)
{
    const QString unknownKey = u"Chave de acesso ausente ou desconhecida."_s;
    struct Case {
        Access access;
        QString branch, key, certificate, error;  // error: a part of the message, empty for success
    };
    const QList<Case> cases = {
        {Access::Read, u"0001"_s, keyA, u"server.pem"_s, {}},
        {Access::Write, u"0001"_s, keyA, u"server.pem"_s, {}},
        {Access::Read, u"0002"_s, keyA, u"server.pem"_s, u"A chave de acesso não permite ler a filial 0002 (leitura dos sub-grupos)."_s},
        {Access::Write, u"0002"_s, keyA, u"server.pem"_s, u"A chave de acesso não permite gravar a filial 0002 (inclusão dos equipamentos)."_s},
        {Access::Read, u"0002"_s, keyB, u"server.pem"_s, {}},
        {Access::Write, u"0002"_s, keyB, u"server.pem"_s, {}},
        {Access::Read, u"0001"_s, keyB, u"server.pem"_s, u"A chave de acesso não permite ler a filial 0001 (leitura dos sub-grupos)."_s},
        {Access::Write, u"0001"_s, keyB, u"server.pem"_s, u"A chave de acesso não permite gravar a filial 0001 (inclusão dos equipamentos)."_s},
        {Access::Read, u"0001"_s, u"kitchen-0001-aaaaaaab"_s, u"server.pem"_s, unknownKey},
        {Access::Write, u"0001"_s, {}, u"server.pem"_s, unknownKey},
        {Access::Read, u"0001"_s, keyA, u"other.pem"_s, u"O certificado do servidor de aplicação em 127.0.0.1:"_s},
        {Access::Read, u"0001"_s, keyA, {}, u"Se o servidor atende com TLS, configure o seu certificado"_s},
        {Access::Read, u"0001"_s, keyA, u"missing.pem"_s, u"não pôde ser lido"_s},
    };
    for (const Case& c : cases) {
        const RemoteResult result = reach(c.access, c.branch, c.key, c.certificate);
        const std::string row = c.branch.toStdString() + " " + c.key.toStdString() + " " + c.certificate.toStdString();
        EXPECT_EQ(result.ok, c.error.isEmpty()) << row;
        EXPECT_TRUE(c.error.isEmpty() ? result.error.isEmpty() : result.error.contains(c.error))
            << row << ": " << result.error.toStdString();
    }
    EXPECT_EQ(refusalsLogged().size(), 6) << refusalsLogged().join(u'\n').toStdString();
    // A key never leaves the machine in clear: no connection is even tried (192.0.2.1 is nobody's).
    EXPECT_EQ(reach(Access::Read, u"0001"_s, keyA, {}, u"192.0.2.1"_s).error.toStdString(),
              "A chave de acesso não é enviada sem TLS ao servidor de aplicação em 192.0.2.1: configure o "
              "certificado do servidor (Servidor/Certificado).");
}

TEST(ExposureRules, AServerOffLoopbackNeedsTlsAndKeys)
{
    for (const char* address : {"127.0.0.1", "127.8.0.3", "::1", "::ffff:127.0.0.1", "localhost"})
        EXPECT_TRUE(wire::isLoopback(QString::fromLatin1(address))) << address;
    for (const char* address : {"0.0.0.0", "192.168.0.10", "::", "10.127.0.1", "example.com", ""})
        EXPECT_FALSE(wire::isLoopback(QString::fromLatin1(address))) << address;

    const auto refusal = [](const appserver::ServerOptions& options) -> std::string {
        try {
            appserver::requireSafeExposure(options);
            return {};
        } catch (const std::runtime_error& error) {
            return error.what();
        }
    };
    appserver::ServerOptions options;
    options.listen = u"0.0.0.0"_s;
    EXPECT_EQ(refusal(options), "refusing to listen on 0.0.0.0 without TLS (--tls-cert and --tls-key) and an "
                                "access-key file (--access-keys): only loopback (127.0.0.1, ::1) may be served "
                                "without them");
    options.authorize = [](const appserver::CallAccess&) { return std::optional<QString>(); };
    EXPECT_NE(refusal(options).find("without TLS (--tls-cert and --tls-key):"), std::string::npos);
    options.authorize = {};
    QTemporaryDir dir;
    ASSERT_TRUE(makeCertificate(dir, u"server"_s));
    options.tls = http::loadServerTls(dir.filePath(u"server.pem"_s), dir.filePath(u"server.key"_s));
    EXPECT_NE(refusal(options).find("without an access-key file (--access-keys):"), std::string::npos);
    options.authorize = [](const appserver::CallAccess&) { return std::optional<QString>(); };
    EXPECT_EQ(refusal(options), "");
    EXPECT_EQ(refusal(appserver::ServerOptions{}), "");
}

}  // namespace
}  // namespace qmv
