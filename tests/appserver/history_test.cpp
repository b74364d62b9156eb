// The history of changes: every write kind leaves its entries in its own transaction, a restore puts
// a row back unless it changed since the history was read, an import is undone byte for byte except
// where someone changed a photo since, pruning keeps what is recent, and two servers sharing one
// PostgreSQL record exactly the writes they acknowledged.
#include "appserver/serverfixture.h"

#include "appserver/history/historypruning.h"
#include "appserver/http/callidentity.h"
#include "appserver/methods/packetbuilder.h"

#include <QDateTime>
#include <functional>
#include <thread>

namespace qmv::appserver::test {
namespace {

using namespace Qt::StringLiterals;

const QCborArray subgroupsOfService{u"0001"_s, u"0001"_s, u"0001"_s, u"000000100100010001"_s, u"2"_s, u"2"_s};

class History : public DriverTest {
protected:
    // "<method> <table> <kind> <key>" per entry, oldest first.
    QStringList entries() const
    {
        QSqlQuery q = database_->db().exec(
            u"SELECT L.NMMETODO, A.NMTABELA, A.IDTIPO, A.DSCHAVE, L.NMCHAVE FROM HISTALTERA A "
            "JOIN HISTLOTE L ON L.NRLOTE = A.NRLOTE ORDER BY L.DTLOTE, A.NRLOTE, A.NRSEQ"_s);
        QStringList lines;
        while (q.next())
            lines << QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                 q.value(3).toString(), q.value(4).toString()}
                         .join(u' ');
        return lines;
    }
    QByteArray photo(const QString& espeProd) const
    {
        return database_->scalar(u"SELECT FGESPEPROD FROM FOTOSEMA WHERE CDESPEPROD = ?"_s, {espeProd}).toByteArray();
    }
    Reply setPhoto(const QString& espeProd, const QByteArray& bytes) const
    {
        return set(u"SetFotoSeMa"_s, updateOf(get(u"GetFotoSeMa"_s, {u"S1"_s, espeProd}), 0, {{u"FGESPEPROD"_s, bytes}}));
    }
    DataPacket history(const QString& espeProd) const { return get(u"GetHistSubGru"_s, {u"0001"_s, espeProd}); }
    Reply restore(const DataPacket& entries, int row, const QString& seen) const
    {
        return call(u"RestauraHist"_s, {u"0001"_s, valueAt(entries, row, u"IDHIST"_s).toString(), seen});
    }
};

TEST_P(History, EveryWriteKindLeavesItsEntriesAndARefusedWriteNone)
{
    struct Case {
        const char* what;
        std::function<Reply()> write;
        QStringList expected;  // the entries it adds; none when the write is refused
    };
    const QList<Case> cases = {
        {"sub-group update",
         [&] { return set(u"SetSubGruSeMa"_s, updateOf(get(u"GetSubGruSeMa"_s, subgroupsOfService), 0,
                                                        {{u"DSSUBGRUPO"_s, u"Novo"_s}}), {QString()}); },
         {u"SetSubGruSeMa SUBGRUSEMA U CDFILIAL=0001;CDCIA=0001;CDMANCIA=0001;CDSERVICO=0000001001;CDCLASSE=0001;"
          "CDCICLO=0001;CDSUBGRU=S1 local"_s}},
        {"photo insert",
         [&] { return set(u"SetFotoSeMa"_s, insertOf(get(u"GetFotoSeMa"_s, {u"S3"_s, u"E3"_s}).fields,
                                                      {u"S3"_s, u"E3"_s, QByteArray("nova")})); },
         {u"SetFotoSeMa FOTOSEMA I CDPRODUTO=S3;CDESPEPROD=E3 local"_s}},
        {"photo too large", [&] { return setPhoto(u"E1"_s, QByteArray(550000, 'x')); }, {}},
        {"instructions update",
         [&] { return set(u"SetFotoSubMa"_s, updateOf(get(u"GetFotoSubMa"_s, {u"S1"_s, u"E1"_s}), 0,
                                                       {{u"FGFOTOSUMA"_s, QByteArray("{\\rtf1 novo}")}})); },
         {u"SetFotoSubMa FOTOSUBMA U CDPRODUTO=S1;CDESPEPROD=E1 local"_s}},
        {"equipment quantity",
         [&] { return set(u"SetEquiSubSeMa"_s, updateOf(get(u"GetEquiSubSeMa"_s, {u"S1"_s, u"E1"_s, u"3"_s}), 0,
                                                         {{u"QTEQUISUMA"_s, 5.0}})); },
         {u"SetEquiSubSeMa EQUISUBSEMA U CDESPEPROD=E1;CDPRODEQUIP=EQ1 local"_s}},
        {"product delete",
         [&] { return set(u"SetProRecSeMa"_s, deleteOf(get(u"GetProRecSeMa"_s, {u"0001"_s, u"0001"_s, u"0001"_s,
                                                                                 u"0000001001"_s, u"S1"_s, u"0001"_s,
                                                                                 u"0001"_s}), 0)); },
         {u"SetProRecSeMa PRODRECSEMA D CDESPEPROD=E1;CDPRODINSUMO=P1 local"_s}},
        {"equipment link",
         [&] { return call(u"InsereEquip"_s, {u"0001"_s, u"0001"_s, u"E1"_s, u"EQ2"_s, u"S1"_s, 2}); },
         {u"InsereEquip EQUISUBSEMA I CDESPEPROD=E1;CDPRODEQUIP=EQ2 local"_s}},
        {"equipment linked twice",
         [&] { return call(u"InsereEquip"_s, {u"0001"_s, u"0001"_s, u"E1"_s, u"EQ2"_s, u"S1"_s, 2}); }, {}},
        {"photo import",
         [&] { return call(u"ImportaFoto"_s, {u"0001"_s, u"0001"_s, u"0001"_s, u"0000001001"_s, u"0002"_s, u"0001"_s,
                                              u"0000001001"_s, QString(), u"T"_s}); },
         {u"ImportaFoto FOTOSEMA I CDPRODUTO=S1;CDESPEPROD=E4 local"_s}},
    };
    QStringList expected;
    for (const Case& c : cases) {
        const Reply reply = c.write();
        EXPECT_EQ(reply.ok(), !c.expected.isEmpty()) << c.what << ": " << reply.error().toStdString();
        expected << c.expected;
        EXPECT_EQ(entries(), expected) << c.what;
    }
    EXPECT_EQ(database_->scalar(u"SELECT COUNT(*) FROM HISTLOTE"_s).toInt(), expected.size());
}

TEST_P(History, RestoresAPhotoAndATextAndRefusesOverANewerChange)
{
    const QByteArray first = photo(u"E1"_s);
    ASSERT_TRUE(setPhoto(u"E1"_s, "segunda").ok());
    ASSERT_TRUE(set(u"SetSubGruSeMa"_s, updateOf(get(u"GetSubGruSeMa"_s, subgroupsOfService), 0,
                                                  {{u"NRORDSUMA"_s, u"009"_s}}), {QString()}).ok());
    const DataPacket read = history(u"E1"_s);
    ASSERT_EQ(column(read, u"NMTABELA"_s), (QStringList{u"SUBGRUSEMA"_s, u"FOTOSEMA"_s}));
    const QString newest = valueAt(read, 0, u"IDHIST"_s).toString();

    ASSERT_TRUE(setPhoto(u"E1"_s, "terceira").ok());  // someone else, after the history was read
    const QString before = database_->snapshot();
    const Reply stale = restore(read, 1, newest);
    EXPECT_FALSE(stale.ok());
    EXPECT_TRUE(stale.error().startsWith(u"Outro usuário alterou FOTOSEMA (CDPRODUTO=S1;CDESPEPROD=E1) depois"_s))
        << stale.error().toStdString();
    EXPECT_EQ(database_->snapshot(), before);

    const DataPacket again = history(u"E1"_s);  // terceira, ordem 009, segunda
    const Reply photoBack = restore(again, 2, valueAt(again, 0, u"IDHIST"_s).toString());
    ASSERT_TRUE(photoBack.ok()) << photoBack.error().toStdString();
    const DataPacket latest = history(u"E1"_s);  // the restore, terceira, ordem 009, segunda
    EXPECT_FALSE(restore(latest, 2, valueAt(latest, 1, u"IDHIST"_s).toString()).ok())
        << "the sub-group's newest entry is not the one named";
    ASSERT_TRUE(restore(latest, 2, valueAt(latest, 2, u"IDHIST"_s).toString()).ok());
    EXPECT_EQ(photo(u"E1"_s), first);
    EXPECT_EQ(database_->scalar(u"SELECT NRORDSUMA FROM SUBGRUSEMA WHERE CDESPEPRODSG = 'E1'"_s).toString(), u"001"_s);
    EXPECT_EQ(column(history(u"E1"_s), u"NMMETODO"_s).mid(0, 2), (QStringList{u"RestauraHist"_s, u"RestauraHist"_s}));
    EXPECT_EQ(database_->scalar(u"SELECT COUNT(*) FROM HISTCONTEUDO"_s).toInt(), 3) << "each photo kept once";
}

TEST_P(History, RefusesInWordsToRestoreARowWithoutItsSubGroup)
{
    const DataPacket products = get(u"GetProRecSeMa"_s, {u"0001"_s, u"0001"_s, u"0001"_s, u"0000001001"_s, u"S1"_s,
                                                        u"0001"_s, u"0001"_s});
    ASSERT_TRUE(set(u"SetProRecSeMa"_s, deleteOf(products, 0)).ok());
    const DataPacket read = history(u"E1"_s);
    for (const char* page : {"FOTOSEMA", "FOTOSUBMA", "EQUISUBSEMA", "PRODRECSEMA"})
        database_->db().exec(u"DELETE FROM %1 WHERE CDESPEPROD = 'E1'"_s.arg(QLatin1StringView(page)));
    database_->db().exec(u"DELETE FROM SUBGRUSEMA WHERE CDESPEPRODSG = 'E1'"_s);
    const QString before = database_->snapshot();
    const Reply orphan = restore(read, 0, valueAt(read, 0, u"IDHIST"_s).toString());
    EXPECT_TRUE(orphan.error().startsWith(u"O sub-grupo de PRODRECSEMA (CDESPEPROD=E1;CDPRODINSUMO=P1) foi excluído"_s))
        << orphan.error().toStdString();
    EXPECT_EQ(database_->snapshot(), before);
}

TEST_P(History, UndoesAnImportByteForByteExceptWhereAPhotoChangedSince)
{
    const QByteArray old = QByteArray("antiga\x00\xff", 8);
    for (const bool changedSince : {false, true}) {
        SCOPED_TRACE(changedSince ? "a photo changed since" : "untouched since");
        database_->exec(u"DELETE FROM FOTOSEMA WHERE CDESPEPROD IN ('E4', 'E5')"_s);
        database_->exec(u"INSERT INTO FOTOSEMA VALUES ('S1', 'E4', ?)"_s, {old});
        database_->exec(u"UPDATE FOTOSEMA SET FGESPEPROD = ? WHERE CDESPEPROD = 'E2'"_s, {QByteArray("salada")});
        ASSERT_TRUE(call(u"ImportaFoto"_s, {u"0001"_s, u"0001"_s, u"0001"_s, u"0000001001"_s, u"0002"_s, u"0001"_s,
                                            u"0000001001"_s, QString(), u"T"_s}).ok());
        const DataPacket imports = get(u"GetImportacoes"_s, {u"0002"_s, u"0001"_s, u"0001"_s, u"0000001001"_s});
        ASSERT_FALSE(imports.rows.isEmpty());
        EXPECT_EQ(valueAt(imports, 0, u"NRALTERA"_s).toLongLong(), 2);
        if (changedSince)
            database_->exec(u"UPDATE FOTOSEMA SET FGESPEPROD = ? WHERE CDESPEPROD = 'E5'"_s, {QByteArray("outra")});
        const Reply undo = call(u"DesfazImportaFoto"_s, {u"0002"_s, valueAt(imports, 0, u"NRLOTE"_s).toString()});
        ASSERT_TRUE(undo.ok()) << undo.error().toStdString();
        EXPECT_EQ(column(undo.packet(), u"IDDESFEITO"_s), (QStringList{u"S"_s, changedSince ? u"N"_s : u"S"_s}));
        EXPECT_EQ(photo(u"E4"_s), old);
        EXPECT_EQ(database_->scalar(u"SELECT COUNT(*) FROM FOTOSEMA WHERE CDESPEPROD = 'E5'"_s).toInt(),
                  changedSince ? 1 : 0);
        const Reply foreign = call(u"DesfazImportaFoto"_s, {u"0001"_s, valueAt(imports, 0, u"NRLOTE"_s).toString()});
        EXPECT_TRUE(foreign.error().startsWith(u"A importação"_s)) << foreign.error().toStdString();
    }
}

TEST_P(History, PruningKeepsWhatIsNewerThanTheDaysGiven)
{
    ASSERT_TRUE(setPhoto(u"E1"_s, "velha").ok());
    ASSERT_TRUE(setPhoto(u"E1"_s, "nova").ok());
    const QDateTime now = QDateTime::currentDateTimeUtc();
    database_->exec(u"UPDATE HISTLOTE SET DTLOTE = ? WHERE DTLOTE = (SELECT MIN(DTLOTE) FROM HISTLOTE)"_s,
                    {dbDateTime(now.addDays(-10))});
    database_->exec(u"UPDATE HISTCONTEUDO SET DTCONTEUDO = ?"_s, {dbDateTime(now.addDays(-10))});
    MethodContext context{database_->db(), GetParam() == sqliteDriver ? Driver::Sqlite : Driver::Postgres};
    const PruneResult pruned = pruneHistory(context, 7, now);
    EXPECT_EQ(pruned.batches, 1);
    EXPECT_EQ(pruned.entries, 1);
    EXPECT_EQ(pruned.contents, 1) << "the first photo, which no kept entry names";
    EXPECT_EQ(entries(), (QStringList{u"SetFotoSeMa FOTOSEMA U CDPRODUTO=S1;CDESPEPROD=E1 local"_s}));
    EXPECT_EQ(database_->scalar(u"SELECT COUNT(*) FROM HISTCONTEUDO"_s).toInt(), 2);
}

// Two servers on one PostgreSQL, four writers each, 200 writes per writer over shared rows: every
// acknowledged write has exactly one entry, and a refused one (a conflict) none.
TEST_P(History, TwoServersRecordTheAcknowledgedWritesOneForOne)
{
    if (GetParam() != postgresDriver)
        GTEST_SKIP() << "several servers share PostgreSQL only";
    const TestServer other(database_->config());
    std::atomic<int> acknowledged{0}, refused{0};
    std::vector<std::thread> writers;
    for (int w = 0; w < 8; ++w)
        writers.emplace_back([&, w] {
            const TestServer& server = w % 2 ? other : *server_;
            // A write refused by a conflict is read again and retried until 200 are acknowledged.
            for (int n = 0, attempts = 0; n < 200 && attempts < 4000; ++attempts) {
                const Reply read = server.call(u"GetSubGruSeMa"_s, subgroupsOfService);
                const DataPacket rows = read.ok() ? read.packet() : DataPacket{};
                if (rows.rows.isEmpty())
                    continue;
                const ChangeSet change = updateOf(rows, (w + n) % rows.rows.size(),
                                                  {{u"TXCOMSUMA"_s, u"w%1-%2"_s.arg(w).arg(n)}});
                if (server.call(u"SetSubGruSeMa"_s, {toCbor(change), QString()}).ok()) {
                    ++acknowledged;
                    ++n;
                } else {
                    ++refused;
                }
            }
        });
    for (std::thread& writer : writers)
        writer.join();
    EXPECT_EQ(acknowledged.load(), 1600);
    EXPECT_GT(refused.load(), 0) << "the writers never met: the test proves nothing about conflicts";
    EXPECT_EQ(database_->scalar(u"SELECT COUNT(*) FROM HISTALTERA"_s).toInt(), acknowledged.load());
    EXPECT_EQ(database_->scalar(u"SELECT COUNT(*) FROM HISTLOTE"_s).toInt(), acknowledged.load());
}

QMV_DRIVERS(History);

TEST(CallIdentity, NamesTheKeyWithoutRevealingItAndCleansTheUser)
{
    struct Case {
        std::string key, user;
        QString keyName, recorded;
    };
    const Case cases[] = {
        {"", "", u"local"_s, QString()},
        {"", "maria", u"local"_s, u"maria"_s},
        {"kitchen-0001-aaaaaaaa", "jo%C3%A3o%0A", u"chave:"_s, u"joão"_s},
        {"", std::string(100, 'x'), u"local"_s, QString(64, u'x')},
    };
    for (const Case& c : cases) {
        http::HttpRequest request;
        request.headers = {{"x-access-key", c.key}, {"x-user", c.user}};
        const CallIdentity identity = callIdentity(request);
        EXPECT_TRUE(identity.keyName.startsWith(c.keyName)) << identity.keyName.toStdString();
        EXPECT_FALSE(identity.keyName.contains(u"kitchen"_s));
        EXPECT_EQ(identity.user, c.recorded);
    }
    EXPECT_EQ(accessKeyLabel("kitchen-0001-aaaaaaaa").size(), 14);
}

}  // namespace
}  // namespace qmv::appserver::test
