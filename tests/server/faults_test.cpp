// The real client against the real server program when things break in the middle of a call: the
// server killed and restarted, a request cut off before the server has it, an answer cut off after
// the server stored the change. Each ends in a Portuguese message, the dataset back to what the
// server last confirmed, nothing sent twice, and the next action working on the same connection.
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "appserver/serverfixture.h"
#include "serverprocess.h"
#include "host/abort.h"
#include "host/checkresultserv.h"
#include "platform/dataset.h"
#include "server/catalogue.h"
#include "server/changesetprotocol.h"
#include "server/loadresult.h"
#include "server/tnetconnection.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

using namespace Qt::StringLiterals;

// A loopback relay between the client and the server that can cut the next request after some of its
// bytes (running an action first, such as killing the server) or the next answer after some of its
// bytes.
class CuttingRelay {
public:
    explicit CuttingRelay(int target) : target_(target)
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener_, 4);
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~CuttingRelay()
    {
        stop_ = true;
        thread_.join();
        ::close(listener_);
    }
    int port() const { return port_; }

    void cutRequestAfter(qsizetype bytes, std::function<void()> action)
    {
        std::lock_guard lock(mutex_);
        requestCut_ = bytes;
        action_ = std::move(action);
    }
    void cutAnswerAfter(qsizetype bytes)
    {
        std::lock_guard lock(mutex_);
        answerCut_ = bytes;
    }

private:
    static int connectTo(int port)
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(uint16_t(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }

    void run()
    {
        std::vector<std::thread> connections;
        while (!stop_) {
            pollfd waiting{listener_, POLLIN, 0};
            if (::poll(&waiting, 1, 50) <= 0)
                continue;
            const int client = ::accept(listener_, nullptr, nullptr);
            connections.emplace_back([this, client] {
                const int server = connectTo(target_);
                if (server >= 0)
                    relay(client, server);
                ::close(client);
                if (server >= 0)
                    ::close(server);
            });
        }
        for (std::thread& connection : connections)
            connection.join();
    }

    // Moves bytes both ways until a side closes or a cut is reached.
    void relay(int client, int server)
    {
        char buffer[65536];
        while (!stop_) {
            pollfd fds[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
            if (::poll(fds, 2, 50) <= 0)
                continue;
            for (int side = 0; side < 2; ++side) {
                if (!(fds[side].revents & (POLLIN | POLLHUP | POLLERR)))
                    continue;
                const ssize_t got = ::recv(fds[side].fd, buffer, sizeof buffer, 0);
                if (got <= 0)
                    return;
                std::unique_lock lock(mutex_);
                qsizetype& cut = side == 0 ? requestCut_ : answerCut_;
                const qsizetype pass = cut < 0 ? got : std::min<qsizetype>(cut, got);
                ::send(fds[1 - side].fd, buffer, size_t(pass), MSG_NOSIGNAL);
                if (cut >= 0 && (cut -= pass) == 0) {
                    cut = -1;
                    auto action = std::exchange(action_, {});
                    lock.unlock();
                    if (action)
                        action();
                    return;
                }
            }
        }
    }

    int target_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    qsizetype requestCut_ = -1;
    qsizetype answerCut_ = -1;
    std::function<void()> action_;
    std::thread thread_;
};

const QString kService = u"000000100100010001"_s;

class Faults : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override
    {
        database_ = std::make_unique<appserver::test::TestDatabase>(GetParam());
        if (!database_->available())
            GTEST_SKIP() << "QMV_TEST_PG names no PostgreSQL database";
        appserver::test::seedFixture(*database_);
        server_ = std::make_unique<ServerProcess>(database_->config());
        const int port = server_->start();
        ASSERT_GT(port, 0);
        relay_ = std::make_unique<CuttingRelay>(port);
        net_.setServerName(kServerName);
        net_.setHost(u"127.0.0.1"_s);
        net_.setPort(relay_->port());
        net_.setCallTimeout(std::chrono::seconds(10));
        net_.connect();
    }

    void loadSubGroups(DataSet& cds)
    {
        const QString company = u"0001"_s, manual = u"0001"_s;
        loadResult(cds, GetSubGruSeMa(net_, u"0001"_s, company, manual, kService, u"2"_s, u"2"_s));
    }
    QString storedOrder(const QString& subgroup) const
    {
        return database_->scalar(u"SELECT NRORDSUMA FROM SUBGRUSEMA WHERE CDFILIAL = '0001' AND CDCIA = '0001' AND CDSUBGRU = ?"_s, {subgroup}).toString();
    }
    // Edits NRORDSUMA of `subgroup` and posts; returns what the user was shown (empty when it went through).
    QString postOrder(DataSet& cds, const QString& subgroup, const QString& order)
    {
        EXPECT_TRUE(cds.locate(u"CDSUBGRU"_s, {subgroup}));
        cds.edit();
        cds.fieldByName(u"NRORDSUMA"_s).setAsString(order);
        ui_.errors.clear();
        try {
            cds.post();
        } catch (const Abort&) {
        }
        return ui_.errors.join(u'\n');
    }
    void subGroups(DataSet& cds)
    {
        cds.addField({u"OBS"_s, FieldKind::Calculated, 1});
        cds.afterPost = [this](DataSet& ds) { sendSubGruSeMa(net_, ds); };
        loadSubGroups(cds);
    }

    ScriptedUi ui_;
    std::unique_ptr<appserver::test::TestDatabase> database_;
    std::unique_ptr<ServerProcess> server_;
    std::unique_ptr<CuttingRelay> relay_;
    TNetConnection net_;
};

TEST_P(Faults, ReadsSurviveARestartAndAnAnswerCutMidwayAndSayWhenTheServerIsGone)
{
    DataSet cds;
    loadSubGroups(cds);
    ASSERT_EQ(cds.recordCount(), 3);
    const auto shown = [this] { return ui_.errors.join(u'\n').toStdString(); };

    relay_->cutAnswerAfter(40);
    ASSERT_NO_THROW(loadSubGroups(cds)) << shown();
    EXPECT_EQ(cds.recordCount(), 3);

    server_->kill();
    ASSERT_GT(server_->start(), 0);
    ASSERT_NO_THROW(loadSubGroups(cds)) << shown();
    EXPECT_EQ(cds.recordCount(), 3);

    server_->kill();
    EXPECT_THROW(loadSubGroups(cds), Abort);
    ASSERT_EQ(ui_.errors.size(), 1);
    EXPECT_TRUE(ui_.errors[0].contains(u"(leitura dos sub-grupos)"_s) && ui_.errors[0].contains(u". A reconexão também falhou: "_s))
        << shown();
    EXPECT_EQ(cds.recordCount(), 3);  // the failed load left the dataset as it was

    ASSERT_GT(server_->start(), 0);
    ASSERT_NO_THROW(loadSubGroups(cds)) << shown();
    EXPECT_EQ(cds.recordCount(), 3);
}

// A change that got no verdict stays on screen in edit, never resent by itself, and confirming it
// again stores it once the server is back.
TEST_P(Faults, APostCutOffByAServerCrashStaysInEditAndIsStoredWhenConfirmedAgain)
{
    DataSet cds;
    subGroups(cds);
    relay_->cutRequestAfter(100, [this] { server_->crash(); });
    const QString shown = postOrder(cds, u"S1"_s, u"007"_s);
    EXPECT_TRUE(shown.contains(u"Não foi possível saber se a alteração do sub-grupo foi gravada"_s)) << shown.toStdString();
    EXPECT_FALSE(shown.contains(u"SetSubGruSeMa"_s)) << shown.toStdString();
    EXPECT_EQ(cds.state(), DataSetState::Edit);
    EXPECT_EQ(cds.changeCount(), 0);
    EXPECT_EQ(cds.fieldByName(u"NRORDSUMA"_s).asString(), u"007"_s);
    EXPECT_EQ(storedOrder(u"S1"_s), u"001"_s);

    server_->kill();
    ASSERT_GT(server_->start(), 0);
    ui_.errors.clear();
    EXPECT_NO_THROW(cds.post()) << ui_.errors.join(u'\n').toStdString();
    EXPECT_EQ(storedOrder(u"S1"_s).toStdString(), "007");
    EXPECT_EQ(server_->callsLogged(u"SetSubGruSeMa"_s), 1);
}

TEST_P(Faults, APhotoWhoseAnswerIsLostStaysInInsertAndTheReloadShowsTheServersState)
{
    QByteArray photo(549'999, '\0');
    for (int i = 0; i < photo.size(); ++i)
        photo[i] = char(i * 13 % 251);
    DataSet cds;
    cds.afterPost = [this](DataSet& ds) { sendFotoSeMa(net_, ds); };
    loadResult(cds, GetFotoSeMa(net_, u"S3"_s, u"E3"_s));
    ASSERT_TRUE(cds.isEmpty());
    cds.edit();
    cds.fieldByName(u"CDPRODUTO"_s).setAsString(u"S3"_s);
    cds.fieldByName(u"CDESPEPROD"_s).setAsString(u"E3"_s);
    cds.fieldByName(u"FGESPEPROD"_s).setAsBytes(photo);
    relay_->cutAnswerAfter(10);
    EXPECT_THROW(cds.post(), Abort);
    ASSERT_EQ(ui_.errors.size(), 1);
    EXPECT_TRUE(ui_.errors[0].contains(u"confirmá-la de novo é seguro"_s)) << ui_.errors[0].toStdString();
    EXPECT_EQ(cds.state(), DataSetState::Insert);
    EXPECT_EQ(cds.fieldByName(u"FGESPEPROD"_s).asBytes(), photo);
    EXPECT_EQ(server_->callsLogged(u"SetFotoSeMa"_s), 1);

    cds.cancel();
    loadResult(cds, GetFotoSeMa(net_, u"S3"_s, u"E3"_s));
    EXPECT_EQ(cds.fieldByName(u"FGESPEPROD"_s).asBytes(), photo);
}

INSTANTIATE_TEST_SUITE_P(Drivers, Faults,
                         ::testing::Values(std::string(appserver::test::sqliteDriver),
                                           std::string(appserver::test::postgresDriver)),
                         [](const auto& info) { return info.param; });

}  // namespace
}  // namespace qmv
