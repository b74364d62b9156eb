// The demo database the screens are tried on: its shape, its pictures and texts, the limits it
// must respect, and that a second run leaves an existing database alone.
#include "appserver/demo/demodata.h"
#include "appserver/demo/demotexts.h"
#include "appserver/serverfixture.h"

#include <QImage>
#include <gtest/gtest.h>

namespace qmv::appserver::test {
namespace {

using namespace Qt::StringLiterals;

class Demo : public ::testing::Test {
protected:
    void SetUp() override
    {
        database_ = std::make_unique<TestDatabase>(sqliteDriver);
        summary_ = createDemoDatabase(database_->config());
    }
    int count(const QString& sql) const { return database_->scalar(sql).toInt(); }

    std::unique_ptr<TestDatabase> database_;
    QString summary_;
};

TEST_F(Demo, HasThreeBranchesCompaniesManualsAndServicesOfFiveToFortySubgroups)
{
    EXPECT_TRUE(summary_.startsWith(u"Demo: 3 filiais"_s)) << summary_.toStdString();
    EXPECT_EQ(count(u"SELECT COUNT(*) FROM FILIAL"_s), 3);
    EXPECT_GE(count(u"SELECT COUNT(*) FROM COMPANHIA"_s), 3);
    EXPECT_GE(count(u"SELECT COUNT(*) FROM MANUALCIA WHERE IDTPMANUAL = 'M'"_s), 6);
    EXPECT_EQ(count(u"SELECT COUNT(*) FROM PARAMFILIAL"_s), 3);
    EXPECT_EQ(count(u"SELECT COUNT(*) FROM SERVMANUAL S WHERE (SELECT COUNT(*) FROM SUBGRUSEMA G WHERE "
                    "G.CDFILIAL = S.CDFILIAL AND G.CDCIA = S.CDCIA AND G.CDMANCIA = S.CDMANCIA AND "
                    "G.CDSERVICO = S.CDSERVICO AND G.CDCLASSE = S.CDCLASSE AND G.CDCICLO = S.CDCICLO) "
                    "NOT BETWEEN 5 AND 40"_s),
              0);
    for (const char16_t* kind : {u"E", u"P", u"R"})
        EXPECT_GT(database_->scalar(u"SELECT COUNT(*) FROM PRODUTO WHERE IDTPPRODUTO = ?"_s, {QString::fromUtf16(kind)})
                      .toInt(),
                  0);
    EXPECT_GT(count(u"SELECT COUNT(*) FROM EQUISUBSEMA"_s), 0);
    EXPECT_GT(count(u"SELECT COUNT(*) FROM PRODRECSEMA"_s), 0);
}

TEST_F(Demo, PhotosAreJpegPicturesUnderTheLimitAndInstructionsArePortugueseRtf)
{
    EXPECT_GT(count(u"SELECT COUNT(*) FROM FOTOSEMA"_s), 0);
    EXPECT_LT(database_->scalar(u"SELECT MAX(LENGTH(FGESPEPROD)) FROM FOTOSEMA"_s).toLongLong(), 550000);
    const QByteArray photo = database_->scalar(u"SELECT FGESPEPROD FROM FOTOSEMA"_s).toByteArray();
    const QImage image = QImage::fromData(photo, "JPG");
    EXPECT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 480);
    const QByteArray rtf = database_->scalar(u"SELECT FGFOTOSUMA FROM FOTOSUBMA"_s).toByteArray();
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi"));
    EXPECT_TRUE(rtf.contains("Higienizar as m\\'e3os"));
    EXPECT_TRUE(rtf.endsWith('}'));
}

TEST_F(Demo, ServesTheScreensFirstLoad)
{
    const TestServer server(database_->config());
    const Reply services = server.call(u"GetServManual"_s, {u"0001"_s, u"0001"_s, u"0001"_s, QString()});
    ASSERT_TRUE(services.ok());
    const DataPacket list = services.packet();
    ASSERT_FALSE(list.rows.isEmpty());
    const QString key = valueAt(list, 0, u"CDSERVICO"_s).toString() + valueAt(list, 0, u"CDCLASSE"_s).toString()
                        + valueAt(list, 0, u"CDCICLO"_s).toString();
    const Reply subgroups = server.call(u"GetSubGruSeMa"_s, {u"0001"_s, u"0001"_s, u"0001"_s, key, u"2"_s, u"2"_s});
    ASSERT_TRUE(subgroups.ok());
    EXPECT_GE(subgroups.packet().rows.size(), 5);
}

TEST_F(Demo, LeavesADatabaseWithDataAlone)
{
    const QString before = database_->snapshot();
    EXPECT_EQ(createDemoDatabase(database_->config()), u"Demo: o banco já tem dados; nada foi criado."_s);
    EXPECT_EQ(database_->snapshot(), before);
}

TEST(RtfText, EscapesControlCharactersAndAccents)
{
    EXPECT_EQ(rtfText(u"a\\b{c}\nção"_s), QByteArray("a\\\\b\\{c\\}\\par \\'e7\\'e3o"));
    EXPECT_EQ(rtfText(u"€"_s), QByteArray("\\u8364?"));
}

}  // namespace
}  // namespace qmv::appserver::test
