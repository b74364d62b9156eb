// The web view over real HTTP on the small fixture: who may open what, the caching headers, the
// sign-in cookie and the thumbnails kept per photo digest.
#include "appserver/appserver.h"
#include "appserver/http/accesskeys.h"
#include "appserver/processsettings.h"
#include "http/httpconnection.h"
#include "platform/blobdigest.h"
#include "tests/appserver/serverfixture.h"

#include <QBuffer>
#include <QImage>

namespace qmv::appserver::test {
namespace {

using namespace Qt::StringLiterals;

const char kKeys[] = "line-0001-aaaaaaaaaaaa read=0001 write=-\nline-0002-bbbbbbbbbbbb read=0002 write=-\n";
const char kService1[] = "/manual/0001/0001/0001/0000001001/0001/0001";
const char kService2[] = "/manual/0002/0001/0001/0000001001/0001/0001";

struct Answer {
    int status = 0;
    QByteArray body;
    http::HttpConnection::Headers headers;
    QByteArray header(const QByteArray& name) const
    {
        for (const auto& [n, v] : headers)
            if (n.compare(name, Qt::CaseInsensitive) == 0)
                return v;
        return {};
    }
};

class WebView : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        database_ = std::make_unique<TestDatabase>(GetParam());
        if (!database_->available())
            GTEST_SKIP() << "QMV_TEST_PG names no PostgreSQL database";
        seedFixture(*database_);
    }

    void start(bool keysOnLoopback)
    {
        applyServingProcessSettings();
        ServerOptions options;
        options.database = database_->config();
        options.port = 0;
        options.threads = 2;
        options.log = [](const QString&) {};
        auto keys = std::make_shared<const AccessKeys>(AccessKeys::parse(kKeys));
        options.webReads = [keys](const std::string& key, const QString& branch) { return keys->reads(key, branch); };
        options.webKeysOnLoopback = keysOnLoopback;
        server_ = std::make_unique<AppServer>(options);
        port_ = server_->start();
    }

    Answer request(QByteArrayView method, const std::string& path, const http::HttpConnection::Headers& headers = {},
                   const QByteArray& body = {}) const
    {
        http::HttpConnection connection(u"127.0.0.1"_s, port_);
        http::HttpConnection::Answer answer;
        EXPECT_EQ(connection.exchange(method, QByteArray::fromStdString(path), headers, body, std::chrono::seconds(30),
                                      answer),
                  http::HttpConnection::Failure::None);
        return Answer{answer.status, answer.body, answer.headers};
    }

    // The session cookie ("qmv_sessao=...") that signing in with `key` sets.
    QByteArray signIn(const QByteArray& key) const
    {
        const Answer a = request("POST", "/manual/entrar", {{"Content-Type", "application/x-www-form-urlencoded"}},
                                 "chave=" + key);
        EXPECT_EQ(a.status, 303);
        return a.header("Set-Cookie").split(';').first();
    }

    std::string photoPath(const char* kind, const QByteArray& bytes) const
    {
        return std::string("/manual/") + kind + "/S1/E1/" + digestOf(bytes).value.toHex().toStdString();
    }

    std::unique_ptr<TestDatabase> database_;
    std::unique_ptr<AppServer> server_;
    int port_ = 0;
};

const QByteArray kFixturePhoto("\xff\xd8photo-one\x00\xff", 13);

TEST_P(WebView, AdmitsEachPathOnlyWithASessionThatReadsItsBranch)
{
    start(true);
    const QByteArray one = signIn("line-0001-aaaaaaaaaaaa");
    const QByteArray two = signIn("line-0002-bbbbbbbbbbbb");
    const std::string photo = photoPath("fotos", kFixturePhoto);
    struct Case {
        std::string path;
        QByteArray cookie;
        int status;
        const char* contains;
    };
    const Case cases[] = {
        {"/manual", {}, 303, ""},
        {kService1, {}, 303, ""},
        {photo, {}, 401, ""},
        {"/manual/entrar", {}, 200, "Chave de acesso"},
        {"/manual/recursos/view.js", {}, 200, "requestFullscreen"},
        {"/manual", "qmv_sessao=forged", 303, ""},
        {"/manual", one, 200, "0001 - Cozinha Teste"},
        {"/manual/0002", one, 403, "não permite ler a filial 0002"},
        {kService1, one, 200, "Prato Quente"},
        {kService2, one, 403, "não permite ler"},
        {kService2, two, 200, "Manual Filial Dois"},
        {photo, one, 200, "photo-one"},
        {photo, two, 403, ""},
        {"/manual/fotos/S1/E1/00112233445566778899aabbccddeeff", one, 404, ""},
        {"/manual/0001/0001/0001/0000001001/0001/0002", one, 404, "não está no manual"},
    };
    for (const Case& c : cases) {
        http::HttpConnection::Headers headers;
        if (!c.cookie.isEmpty())
            headers.emplaceBack("Cookie", c.cookie);
        const Answer a = request("GET", c.path, headers);
        EXPECT_EQ(a.status, c.status) << c.path << ' ' << c.cookie.toStdString();
        EXPECT_TRUE(a.body.contains(c.contains)) << c.path << ": " << a.body.left(300).toStdString();
    }
    EXPECT_FALSE(request("GET", "/manual", {{"Cookie", one}}).body.contains("Filial Dois"));
}

TEST_P(WebView, SignInSetsAnHttpOnlyStrictCookieWithoutTheKey)
{
    start(true);
    const Answer refused = request("POST", "/manual/entrar", {}, "chave=unknown-key-cccccccccc");
    EXPECT_EQ(refused.status, 403);
    EXPECT_TRUE(refused.header("Set-Cookie").isEmpty());
    const Answer a = request("POST", "/manual/entrar", {}, "chave=line-0001-aaaaaaaaaaaa");
    const QByteArray cookie = a.header("Set-Cookie");
    EXPECT_EQ(a.header("Location"), "/manual");
    EXPECT_TRUE(cookie.contains("; HttpOnly; Secure; SameSite=Strict")) << cookie.toStdString();
    EXPECT_TRUE(cookie.contains("Max-Age=43200"));
    EXPECT_FALSE(cookie.contains("line-0001"));
    EXPECT_EQ(cookie.split(';').first().size(), qsizetype(strlen("qmv_sessao=") + 64));
}

TEST_P(WebView, OnLoopbackWithoutTheOptionEveryBranchIsOpen)
{
    start(false);
    EXPECT_EQ(request("GET", kService2).status, 200);
    EXPECT_TRUE(request("GET", "/manual").body.contains("0002 - Filial Dois"));
}

TEST_P(WebView, PhotosAreImmutableAndPagesAnswer304UntilASubGroupChanges)
{
    start(false);
    EXPECT_EQ(request("GET", photoPath("fotos", kFixturePhoto)).header("Cache-Control"),
              "private, max-age=31536000, immutable");
    const std::string fragment = std::string(kService1) + "/S2";
    for (const std::string& path : {std::string(kService1), fragment}) {
        const Answer first = request("GET", path);
        const QByteArray etag = first.header("ETag");
        EXPECT_EQ(first.header("Cache-Control"), "private, no-cache");
        EXPECT_TRUE(first.header("Content-Security-Policy").contains("script-src 'self'"));
        const Answer again = request("GET", path, {{"If-None-Match", etag}});
        EXPECT_EQ(again.status, 304) << path;
        EXPECT_TRUE(again.body.isEmpty());
        database_->exec(u"UPDATE SUBGRUSEMA SET DSSUBGRUPO = ? WHERE CDESPEPRODSG = 'E2'"_s, {QString::fromStdString(path + "x")});
        const Answer changed = request("GET", path, {{"If-None-Match", etag}});
        EXPECT_EQ(changed.status, 200) << path;
        EXPECT_NE(changed.header("ETag"), etag);
        EXPECT_TRUE(changed.body.contains(QByteArray::fromStdString(path + "x")));
    }
}

TEST_P(WebView, AThumbnailIsMadeOncePerDigestAndServedWithoutTheDatabase)
{
    start(false);
    QImage image(480, 360, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 85);
    database_->exec(u"UPDATE FOTOSEMA SET FGESPEPROD = ? WHERE CDESPEPROD = 'E1'"_s, {jpeg});
    const std::string path = photoPath("miniaturas", jpeg);
    const Answer made = request("GET", path);
    ASSERT_EQ(made.status, 200);
    const QImage small = QImage::fromData(made.body, "JPG");
    EXPECT_EQ(small.size(), QSize(360, 270));  // 6/8: the largest eighth within 400
    EXPECT_LT(made.body.size(), jpeg.size());
    database_->exec(u"UPDATE FOTOSEMA SET FGESPEPROD = NULL WHERE CDESPEPROD = 'E1'"_s);
    EXPECT_EQ(request("GET", path).body, made.body);
    EXPECT_EQ(request("GET", photoPath("fotos", jpeg)).status, 404);
}

QMV_DRIVERS(WebView);

}  // namespace
}  // namespace qmv::appserver::test
