// Sub-group photos: attach, replace and remove through change sets, the size limit, conflicts, and
// the import of photos from another manual's service.
#include "appserver/serverfixture.h"

#include "platform/blobdigest.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace qmv::appserver::test {
namespace {

using namespace Qt::StringLiterals;

class FotoSeMa : public DriverTest {
protected:
    DataPacket photo(const QString& subgroup, const QString& espeProd) const
    {
        return get(u"GetFotoSeMa"_s, {subgroup, espeProd});
    }
    QByteArray stored(const QString& espeProd) const
    {
        return database_->scalar(u"SELECT FGESPEPROD FROM FOTOSEMA WHERE CDESPEPROD = ?"_s, {espeProd}).toByteArray();
    }
    static QByteArray picture(qsizetype size)
    {
        QByteArray bytes(size, '\0');
        for (qsizetype i = 0; i < size; ++i)
            bytes[i] = char((i * 31 + 7) % 256);
        return bytes;
    }
};

TEST_P(FotoSeMa, AttachesAPictureOfJustUnderTheLimitByteForByte)
{
    const DataPacket empty = photo(u"S3"_s, u"E3"_s);
    ASSERT_EQ(empty.fields.size(), 3);
    EXPECT_EQ(empty.fields[2].kind, FieldKind::Blob);
    EXPECT_TRUE(empty.rows.isEmpty());
    const QByteArray bytes = picture(549999);
    const Reply reply = set(u"SetFotoSeMa"_s, insertOf(empty.fields, {u"S3"_s, u"E3"_s, bytes}));
    ASSERT_TRUE(reply.ok()) << reply.error().toStdString();
    EXPECT_EQ(valueAt(photo(u"S3"_s, u"E3"_s), 0, u"FGESPEPROD"_s).toByteArray(), bytes);
}

TEST_P(FotoSeMa, RefusesAPictureOf550000BytesAndWritesNothing)
{
    const DataPacket existing = photo(u"S1"_s, u"E1"_s);
    const QString before = database_->snapshot();
    const Reply replace = set(u"SetFotoSeMa"_s, updateOf(existing, 0, {{u"FGESPEPROD"_s, picture(550000)}}));
    EXPECT_FALSE(replace.ok());
    EXPECT_EQ(replace.error(), u"Operação bloqueada: a foto tem 550000 bytes ou mais."_s);
    const Reply insert = set(u"SetFotoSeMa"_s, insertOf(existing.fields, {u"S3"_s, u"E3"_s, picture(600000)}));
    EXPECT_FALSE(insert.ok());
    EXPECT_EQ(database_->snapshot(), before);
    EXPECT_TRUE(call(u"GetFotoSeMa"_s, {u"S1"_s, u"E1"_s}).ok());
}

// A photo travels once: the original goes as its digest, and a stale digest is a conflict like stale
// bytes. Old clients sending the original bytes are served as before (the other tests).
TEST_P(FotoSeMa, TakesTheOriginalPhotoAsItsDigestAndCatchesAStaleOne)
{
    ASSERT_TRUE(set(u"SetFotoSeMa"_s, updateOf(photo(u"S1"_s, u"E1"_s), 0, {{u"FGESPEPROD"_s, picture(4000)}})).ok());
    const DataPacket read = photo(u"S1"_s, u"E1"_s);
    const ChangeSet first = withOriginalDigests(updateOf(read, 0, {{u"FGESPEPROD"_s, picture(5000)}}));
    ASSERT_TRUE(isBlobDigest(first.changes[0].original[2]));
    const QByteArray wire = toCbor(first).toCbor();
    EXPECT_LT(wire.size(), 5500) << "the original photo must not travel";
    const Reply replaced = set(u"SetFotoSeMa"_s, first);
    ASSERT_TRUE(replaced.ok()) << replaced.error().toStdString();
    EXPECT_EQ(stored(u"E1"_s), picture(5000));

    const QString before = database_->snapshot();
    const Reply stale = set(u"SetFotoSeMa"_s, withOriginalDigests(updateOf(read, 0, {{u"FGESPEPROD"_s, picture(6000)}})));
    EXPECT_FALSE(stale.ok());
    EXPECT_TRUE(stale.error().startsWith(u"Outro usuário alterou"_s)) << stale.error().toStdString();
    QCborMap malformed = toCbor(first).toMap();
    QCborArray changes = malformed.value(u"changes"_s).toArray();
    QCborMap change = changes[0].toMap();
    QCborArray original = change.value(u"original"_s).toArray();
    original[2] = QCborMap{{u"sha256"_s, u"abc"_s}};
    change[u"original"_s] = original;
    changes[0] = change;
    malformed[u"changes"_s] = changes;
    const Reply refused = call(u"SetFotoSeMa"_s, {malformed});
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(refused.error().contains(u"sha256"_s)) << refused.error().toStdString();
    EXPECT_EQ(database_->snapshot(), before);

    // Earlier clients sent SHA-256 digests: still compared, stale or not.
    for (const auto& [read, accepted] : {std::pair{picture(5000), true}, std::pair{picture(4000), false}}) {
        ChangeSet earlier = updateOf(photo(u"S1"_s, u"E1"_s), 0, {{u"FGESPEPROD"_s, picture(7000)}});
        earlier.changes[0].original[2] = QVariant::fromValue(digestOf(read, BlobDigest::Kind::Sha256));
        EXPECT_EQ(set(u"SetFotoSeMa"_s, earlier).ok(), accepted);
    }
    EXPECT_EQ(stored(u"E1"_s), picture(7000));
}

TEST_P(FotoSeMa, ReplacesAndRemovesAPhoto)
{
    const DataPacket existing = photo(u"S1"_s, u"E1"_s);
    ASSERT_TRUE(set(u"SetFotoSeMa"_s, updateOf(existing, 0, {{u"FGESPEPROD"_s, QByteArray("nova")}})).ok());
    EXPECT_EQ(stored(u"E1"_s), QByteArray("nova"));
    ASSERT_TRUE(set(u"SetFotoSeMa"_s, deleteOf(photo(u"S1"_s, u"E1"_s), 0)).ok());
    EXPECT_TRUE(photo(u"S1"_s, u"E1"_s).rows.isEmpty());
}

// SQLite's log is copied into the database every thousand pages or so and then starts over; a write
// that kept its read snapshot through its commit left it growing with every photo.
TEST_P(FotoSeMa, ManyPhotoWritesLeaveTheLogBounded)
{
    if (GetParam() != sqliteDriver)
        GTEST_SKIP() << "SQLite's log only";
    const QByteArray pictures[2] = {picture(549999), picture(549998)};
    for (int i = 0; i < 60; ++i)
        ASSERT_TRUE(set(u"SetFotoSeMa"_s, updateOf(photo(u"S1"_s, u"E1"_s), 0, {{u"FGESPEPROD"_s, pictures[i % 2]}})).ok());
    const qint64 log = QFileInfo(database_->config().sqliteFile + u"-wal"_s).size();
    EXPECT_LT(log, 24 * 1024 * 1024) << "60 photos written; the log holds " << log << " bytes";
}

TEST_P(FotoSeMa, RefusesStaleReplacementsDeletionsAndDuplicateInserts)
{
    const DataPacket read = photo(u"S1"_s, u"E1"_s);
    database_->exec(u"UPDATE FOTOSEMA SET FGESPEPROD = ? WHERE CDESPEPROD = 'E1'"_s, {QByteArray("outro usuario")});
    const QString before = database_->snapshot();
    const Reply replace = set(u"SetFotoSeMa"_s, updateOf(read, 0, {{u"FGESPEPROD"_s, QByteArray("minha")}}));
    EXPECT_FALSE(replace.ok());
    EXPECT_TRUE(replace.error().startsWith(u"Outro usuário alterou a foto do sub-grupo"_s)) << replace.error().toStdString();
    const Reply remove = set(u"SetFotoSeMa"_s, deleteOf(read, 0));
    EXPECT_FALSE(remove.ok());
    const Reply duplicate = set(u"SetFotoSeMa"_s, insertOf(read.fields, {u"S1"_s, u"E1"_s, QByteArray("x")}));
    EXPECT_TRUE(duplicate.error().startsWith(u"Outro usuário já incluiu a foto do sub-grupo"_s)) << duplicate.error().toStdString();
    EXPECT_EQ(database_->snapshot(), before);

    database_->exec(u"DELETE FROM FOTOSEMA WHERE CDESPEPROD = 'E1'"_s);
    const Reply gone = set(u"SetFotoSeMa"_s, updateOf(read, 0, {{u"FGESPEPROD"_s, QByteArray("minha")}}));
    EXPECT_TRUE(gone.error().startsWith(u"Outro usuário excluiu a foto do sub-grupo"_s)) << gone.error().toStdString();
}

TEST_P(FotoSeMa, RefusesAPhotoForAnUnknownSubgroup)
{
    const DataPacket empty = photo(u"S9"_s, u"E9"_s);
    const Reply reply = set(u"SetFotoSeMa"_s, insertOf(empty.fields, {u"S9"_s, u"E9"_s, QByteArray("x")}));
    EXPECT_EQ(reply.error(), u"O sub-grupo S9 (especificação E9) não está cadastrado."_s);
}

class ImportaFoto : public DriverTest {
protected:
    Reply import(const QString& list, const QString& all, const QString& destinationBranch = u"0002"_s) const
    {
        return call(u"ImportaFoto"_s, {u"0001"_s, u"0001"_s, u"0001"_s, u"0000001001"_s, destinationBranch, u"0001"_s,
                                       u"0000001001"_s, list, all});
    }
    QByteArray destination(const QString& espeProd) const
    {
        return database_->scalar(u"SELECT FGESPEPROD FROM FOTOSEMA WHERE CDESPEPROD = ?"_s, {espeProd}).toByteArray();
    }
};

TEST_P(ImportaFoto, CopiesThePhotosOfAllSubgroupsWithTheSameCode)
{
    database_->exec(u"INSERT INTO FOTOSEMA VALUES ('S2', 'E5', ?)"_s, {QByteArray("antiga")});
    const Reply reply = import(QString(), u"T"_s);
    ASSERT_TRUE(reply.ok()) << reply.error().toStdString();
    EXPECT_EQ(reply.map.value(u"result"_s).toMap().value(u"rows"_s).toInteger(), 1);
    EXPECT_EQ(destination(u"E4"_s), QByteArray("\xff\xd8photo-one\x00\xff", 13));  // S1 copied
    EXPECT_EQ(destination(u"E5"_s), QByteArray("antiga"));  // the origin S2 row has no picture: kept
}

TEST_P(ImportaFoto, CopiesOnlyTheListedCodesAndReplacesExistingPhotos)
{
    database_->exec(u"INSERT INTO FOTOSEMA VALUES ('S1', 'E4', ?)"_s, {QByteArray("antiga")});
    database_->exec(u"UPDATE FOTOSEMA SET FGESPEPROD = ? WHERE CDESPEPROD = 'E2'"_s, {QByteArray("salada")});
    ASSERT_TRUE(import(u"'3.01.002'"_s, QString()).ok());
    EXPECT_EQ(destination(u"E4"_s), QByteArray("antiga"));   // S1 not listed
    EXPECT_EQ(destination(u"E5"_s), QByteArray("salada"));   // S2 listed and copied
    ASSERT_TRUE(import(u"3.01.001;3.01.002"_s, QString()).ok());
    EXPECT_EQ(destination(u"E4"_s), QByteArray("\xff\xd8photo-one\x00\xff", 13));  // replaced
}

TEST_P(ImportaFoto, RefusesAmbiguousOrPointlessImportsAndWritesNothing)
{
    const QString before = database_->snapshot();
    EXPECT_EQ(import(u"3.01.001"_s, u"T"_s).error(),
              u"ImportaFoto: informe a lista de sub-grupos ou \"T\" para todos, não os dois."_s);
    EXPECT_EQ(import(QString(), QString()).error(), u"ImportaFoto: informe a lista de sub-grupos ou \"T\" para todos."_s);
    EXPECT_EQ(import(QString(), u"T"_s, u"0001"_s).error(),
              u"Não é possível importar fotos para a mesma filial, companhia, manual e serviço."_s);
    const Reply unknown = call(u"ImportaFoto"_s, {u"0001"_s, u"0001"_s, u"0002"_s, u"0000001001"_s, u"0002"_s,
                                                  u"0001"_s, u"0000001001"_s, QString(), u"T"_s});
    EXPECT_TRUE(unknown.error().contains(u"serviço de origem"_s)) << unknown.error().toStdString();
    EXPECT_FALSE(import(QString(), u"X"_s).ok());
    EXPECT_EQ(database_->snapshot(), before);
}

QMV_DRIVERS(FotoSeMa);
QMV_DRIVERS(ImportaFoto);

}  // namespace
}  // namespace qmv::appserver::test
