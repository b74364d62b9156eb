// The real client and the real server program on PostgreSQL while PostgreSQL restarts under them:
// the pooled database connections die, the next read and the next write work all the same, and a
// write sent while PostgreSQL is down gets a clear message and leaves nothing behind. Needs the
// throw-away cluster of scripts/postgres.sh, which it restarts (so it runs alone).
#include <QProcess>
#include <gtest/gtest.h>

#include <unistd.h>

#include "appserver/serverfixture.h"
#include "host/abort.h"
#include "platform/dataset.h"
#include "server/catalogue.h"
#include "server/changesetprotocol.h"
#include "server/loadresult.h"
#include "server/tnetconnection.h"
#include "serverprocess.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

using namespace Qt::StringLiterals;

// pg_ctl restart|stop on the test cluster, as its owner.
bool pgCtl(const QString& action)
{
    const QString data = qEnvironmentVariable("QMV_TEST_PG_DATA");
    QStringList command{qEnvironmentVariable("QMV_TEST_PG_CTL"), action, u"-D"_s, data, u"-m"_s, u"fast"_s, u"-w"_s,
                        u"-l"_s, data + u"/../restart.log"_s};
    if (::getuid() == 0)
        command = QStringList{u"-u"_s, u"postgres"_s, u"--"_s} + command;
    QProcess process;
    process.start(::getuid() == 0 ? u"runuser"_s : command.takeFirst(), command);
    return process.waitForFinished(60000) && process.exitCode() == 0;
}

class PostgresRestart : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QMV_TEST_PG_DATA") || qEnvironmentVariableIsEmpty("QMV_TEST_PG_CTL"))
            GTEST_SKIP() << "needs the PostgreSQL of scripts/postgres.sh (QMV_TEST_PG_DATA, QMV_TEST_PG_CTL)";
        database_ = std::make_unique<appserver::test::TestDatabase>(appserver::test::postgresDriver);
        appserver::test::seedFixture(*database_);
        // One worker, so the connection that PostgreSQL dropped is the one the next call meets.
        server_ = std::make_unique<ServerProcess>(database_->config(), QStringList{u"--threads"_s, u"1"_s});
        const int port = server_->start();
        ASSERT_GT(port, 0);
        net_.setServerName(kServerName);
        net_.setHost(u"127.0.0.1"_s);
        net_.setPort(port);
        net_.connect();
        cds_.addField({u"OBS"_s, FieldKind::Calculated, 1});
        cds_.afterPost = [this](DataSet& ds) { sendSubGruSeMa(net_, ds); };
    }
    void TearDown() override
    {
        if (down_) {  // the next suites need their database
            EXPECT_TRUE(pgCtl(u"restart"_s));
        }
    }

    bool restart() { return !(down_ = !pgCtl(u"restart"_s)); }
    bool stop() { return down_ = pgCtl(u"stop"_s); }

    void load()
    {
        const QString company = u"0001"_s, manual = u"0001"_s;
        loadResult(cds_, GetSubGruSeMa(net_, u"0001"_s, company, manual, u"000000100100010001"_s, u"2"_s, u"2"_s));
    }
    QString order(const QString& subgroup)
    {
        EXPECT_TRUE(cds_.locate(u"CDSUBGRU"_s, {subgroup}));
        return cds_.fieldByName(u"NRORDSUMA"_s).asString();
    }
    // Posts a new order for `subgroup`; returns what the user was shown (empty when it went through).
    QString post(const QString& subgroup, const QString& value)
    {
        EXPECT_TRUE(cds_.locate(u"CDSUBGRU"_s, {subgroup}));
        cds_.edit();
        cds_.fieldByName(u"NRORDSUMA"_s).setAsString(value);
        ui_.errors.clear();
        try {
            cds_.post();
        } catch (const Abort&) {
        }
        return ui_.errors.join(u'\n');
    }

    ScriptedUi ui_;
    std::unique_ptr<appserver::test::TestDatabase> database_;
    std::unique_ptr<ServerProcess> server_;
    TNetConnection net_;
    DataSet cds_;
    bool down_ = false;
};

TEST_F(PostgresRestart, TheNextCallsWorkAndAWriteDuringTheOutageLeavesNothingBehind)
{
    load();
    ASSERT_EQ(cds_.recordCount(), 3);
    const QString before = order(u"S2"_s);

    ASSERT_TRUE(restart());
    ASSERT_NO_THROW(load()) << ui_.errors.join(u'\n').toStdString();
    EXPECT_EQ(cds_.recordCount(), 3);
    EXPECT_TRUE(server_->log().contains(u"GetSubGruSeMa"_s + u" "_s)
                && server_->log().contains(u"(repetida numa nova conexão com o banco de dados após ocorrência "_s))
        << server_->log().toStdString();

    ASSERT_TRUE(restart());
    EXPECT_EQ(post(u"S1"_s, u"005"_s).toStdString(), "");

    ASSERT_TRUE(stop());
    const QString shown = post(u"S2"_s, u"006"_s);
    EXPECT_TRUE(shown.contains(u"gravação do sub-grupo: banco de dados indisponível (ocorrência "_s)) << shown.toStdString();
    EXPECT_FALSE(shown.contains(u"connect"_s) || shown.contains(u"socket"_s)) << shown.toStdString();
    EXPECT_EQ(cds_.changeCount(), 0);
    EXPECT_EQ(order(u"S2"_s), before);

    ASSERT_TRUE(restart());
    ASSERT_NO_THROW(load()) << ui_.errors.join(u'\n').toStdString();
    EXPECT_EQ(order(u"S1"_s), u"005"_s);
    EXPECT_EQ(order(u"S2"_s), before);
}

}  // namespace
}  // namespace qmv
