// The sub-group photo over the real server, every call recorded: the delete button after each load,
// the checks on a chosen file before anything is edited, attaching (creating or replacing) and
// removing with what is sent and stored, a failed send, the fit box, and the automatic display
// walking the sub-groups with the page routine on every move.
#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QImage>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include "Cli_qmv00500/autodisplaycommand.h"
#include "Cli_qmv00500/loadedscreen.h"
#include "Cli_qmv00500/screencommands.h"
#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "appserver/demo/demopictures.h"
#include "host/tbtnpesquisa.h"
#include "host/tbuttonflat.h"
#include "host/tedbimage.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "server/catalogue.h"
#include "server/loadresult.h"
#include "support/named.h"

namespace qmv {
namespace {

using test::named;

const QByteArray kFixturePhoto("\xff\xd8photo-one\x00\xff", 13);  // what the seed stores for S1

class Photos : public ::testing::Test {
protected:
    Photos()
    {
        s.choosePage(f().pages().sheet(MainPage::FotoServ));
        s.takeCalls();
    }

    TfrmFotoMontManual& f() { return s.form(); }
    DataSet& photo() { return *named<DataSet>(f(), "cdsFotoSeMa"); }
    QByteArray shown() { return photo().isEmpty() ? QByteArray() : photo().fieldByName("FGESPEPROD").asBytes(); }

    QString file(const QByteArray& bytes)
    {
        const QString path = dir.filePath(QStringLiteral("foto%1.jpg").arg(++files));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
            ADD_FAILURE() << "cannot write " << path.toStdString();
        return path;
    }

    void attach(const QString& path)
    {
        s.ui().answerOpenFile(path);
        named<TBtnPesquisa>(f(), "btpFotoServ")->click();
    }

    // What the server holds for a sub-group's photo, read back as the screen reads it.
    QList<Row> storedPhoto(const char* subGroup, const char* espeProd)
    {
        const QList<Row> rows = checkedPacket(GetFotoSeMa(*f().netFotoMantMan, subGroup, espeProd)).rows;
        s.takeCalls();
        return rows;
    }

    QString errors() { return s.ui().errors.join('|'); }

    test::LoadedScreen s;
    QTemporaryDir dir;
    int files = 0;
};

// A real JPEG padded after its end marker to the exact size asked.
QByteArray jpegOfSize(qsizetype size)
{
    QByteArray bytes = appserver::demoPhoto(QStringLiteral("Teste"), 1);
    bytes.append(QByteArray(size - bytes.size(), '\0'));
    return bytes;
}

TEST_F(Photos, DeleteButtonFollowsThePhotoOfEachLoad)
{
    const std::pair<int, bool> rows[] = {{1, false}, {2, false}, {0, true}};  // S2 null photo, S3 none
    EXPECT_TRUE(named<TButtonFlat>(f(), "sbtDelFotoServ")->isEnabled());
    for (const auto& [row, enabled] : rows) {
        s.goToRow(row);
        EXPECT_EQ(named<TButtonFlat>(f(), "sbtDelFotoServ")->isEnabled(), enabled) << "row " << row;
    }
}

TEST_F(Photos, AChosenFileIsCheckedBeforeThePhotoGoesIntoEdit)
{
    const QByteArray accepted = jpegOfSize(549999);
    struct Step {
        const char* what;
        QString path;
        QString error;
        QStringList calls;
        QByteArray shown;
    };
    const Step steps[] = {
        {"dialog cancelled", QString(), {}, {}, kFixturePhoto},
        {"550,000 bytes", file(jpegOfSize(550000)), "Operação Bloqueada! Tamanho da imagem excedeu 200 kb.", {},
         kFixturePhoto},
        {"not a picture", file("isto não é uma foto"),
         "O arquivo escolhido não é uma imagem válida. Escolha uma foto JPEG ou bitmap.", {}, kFixturePhoto},
        {"missing file", dir.filePath("sumiu.jpg"), QString("Não foi possível ler o arquivo \"%1\".").arg(dir.filePath("sumiu.jpg")),
         {}, kFixturePhoto},
        {"549,999 bytes replace the photo without a question", file(accepted), {}, {"SetFotoSeMa(<delta:U>)"}, accepted},
    };
    for (const Step& step : steps) {
        s.ui().errors.clear();
        attach(step.path);
        EXPECT_EQ(errors(), step.error) << step.what;
        EXPECT_EQ(s.takeCalls(), step.calls) << step.what;
        EXPECT_EQ(photo().state(), DataSetState::Browse) << step.what;
        EXPECT_EQ(photo().changeCount(), 0) << step.what;
        EXPECT_TRUE(shown() == step.shown) << step.what;
        const QList<Row> stored = storedPhoto("S1", "E1");
        ASSERT_EQ(stored.size(), 1);
        EXPECT_TRUE(stored[0][2].toByteArray() == step.shown) << step.what;
    }
    EXPECT_TRUE(s.ui().questions.isEmpty());
}

TEST_F(Photos, ADemoJpegAttachedWhereThereWasNoPhotoIsStoredByteForByteFittedAndRemovedOnYes)
{
    const QByteArray demo = appserver::demoPhoto(QStringLiteral("Arroz"), 0);
    s.goToRow(2);
    s.takeCalls();
    attach(file(demo));
    ASSERT_EQ(errors(), "");
    EXPECT_EQ(s.takeCalls(), QStringList{"SetFotoSeMa(<delta:I>)"});
    QList<Row> stored = storedPhoto("S3", "E3");
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0][0].toString(), "S3");
    EXPECT_EQ(stored[0][1].toString(), "E3");
    EXPECT_TRUE(stored[0][2].toByteArray() == demo);
    EXPECT_TRUE(named<TButtonFlat>(f(), "sbtDelFotoServ")->isEnabled());

    TEDBImage& image = *named<TEDBImage>(f(), "imgFotoServico");
    ASSERT_TRUE(image.hasPicture());
    const QSize own = image.picture().size();
    named<QScrollArea>(f(), "scbFormulario")->resize(200, 150);
    named<QCheckBox>(f(), "chbAjustarFtoServ")->click();
    EXPECT_EQ(image.pictureRect().size(), own);
    EXPECT_TRUE(image.minimumSizeHint().width() >= own.width());  // the area scrolls over it
    named<QCheckBox>(f(), "chbAjustarFtoServ")->click();
    EXPECT_LE(image.pictureRect().width(), named<QScrollArea>(f(), "scbFormulario")->viewport()->width());

    s.ui().answerYesNo(false);
    named<TButtonFlat>(f(), "sbtDelFotoServ")->click();
    EXPECT_TRUE(s.takeCalls().isEmpty());
    s.ui().answerYesNo(true);
    named<TButtonFlat>(f(), "sbtDelFotoServ")->click();
    EXPECT_EQ(s.ui().questions, QStringList({"Confirma exclusão da foto?", "Confirma exclusão da foto?"}));
    EXPECT_EQ(s.takeCalls(), QStringList{"SetFotoSeMa(<delta:D>)"});
    EXPECT_TRUE(storedPhoto("S3", "E3").isEmpty());
    EXPECT_FALSE(named<TButtonFlat>(f(), "sbtDelFotoServ")->isEnabled());
    EXPECT_TRUE(f().updatesEnabled());
    EXPECT_EQ(errors(), "");
}

TEST_F(Photos, AFailedSendPutsThePreviousPhotoBack)
{
    const QString picture = file(appserver::demoPhoto(QStringLiteral("Feijão"), 2));
    struct Step {
        const char* what;
        int row;
        std::function<void()> act;
        QByteArray shown;
        bool deleteEnabled;
    };
    const Step steps[] = {
        {"replacing", 0, [&] { attach(picture); }, kFixturePhoto, true},
        {"removing", 0,
         [&] {
             s.ui().answerYesNo(true);
             named<TButtonFlat>(f(), "sbtDelFotoServ")->click();
         },
         kFixturePhoto, true},
        {"creating", 2, [&] { attach(picture); }, QByteArray(), false},
    };
    for (const Step& step : steps) {
        s.goToRow(step.row);
        s.ui().errors.clear();
        s.transport().fail("SetFotoSeMa", "Falha simulada ao gravar a foto.");
        step.act();
        EXPECT_TRUE(errors().contains("Falha simulada ao gravar a foto.")) << step.what << ": " << errors().toStdString();
        EXPECT_TRUE(shown() == step.shown) << step.what;
        EXPECT_EQ(photo().state(), DataSetState::Browse) << step.what;
        EXPECT_EQ(photo().changeCount(), 0) << step.what;
        EXPECT_EQ(named<TButtonFlat>(f(), "sbtDelFotoServ")->isEnabled(), step.deleteEnabled) << step.what;
        EXPECT_TRUE(f().updatesEnabled()) << step.what;
    }
    EXPECT_TRUE(storedPhoto("S1", "E1")[0][2].toByteArray() == kFixturePhoto);
    EXPECT_TRUE(storedPhoto("S3", "E3").isEmpty());
}

TEST_F(Photos, AutomaticDisplayWalksTheSubGroupsLoadingEachOnesPageAndKeepsItsDirection)
{
    named<QTimer>(f(), "tmrExibeAuto")->setInterval(3600 * 1000);  // the test ticks by itself
    const auto current = [&] { return f().subGroupSheet().records().fieldByName("CDSUBGRU").asString(); };
    const auto tick = [&] {
        f().commands().autoDisplay().tmrExibeAutoTimer();
        return current();
    };
    named<TButtonFlat>(f(), "sbtAutoExibe")->click();
    EXPECT_TRUE(named<QTimer>(f(), "tmrExibeAuto")->isActive());
    for (QWidget* command : std::initializer_list<QWidget*>{f().sbtIncluir, f().sbtAlterar, f().sbtExcluir})
        EXPECT_FALSE(command->isEnabled()) << command->objectName().toStdString();

    EXPECT_EQ(tick(), "S2");
    EXPECT_EQ(s.takeCalls(), QStringList({R"(GetFotoSubMa("S2","E2"))", R"(GetFotoSeMa("S2","E2"))"}));
    QStringList seen;
    for (int i = 0; i < 4; ++i)
        seen << tick();
    EXPECT_EQ(seen, QStringList({"S3", "S3", "S3", "S2"}));
    EXPECT_EQ(named<QTimer>(f(), "tmrExibeAuto")->property("Tag").toInt(), 1);

    named<TButtonFlat>(f(), "sbtAutoExibe")->click();  // released while going backward
    EXPECT_FALSE(named<QTimer>(f(), "tmrExibeAuto")->isActive());
    EXPECT_TRUE(f().sbtIncluir->isEnabled());  // S2 has no instructions: the rules offer include only
    EXPECT_FALSE(f().sbtAlterar->isEnabled());
    EXPECT_FALSE(f().sbtExcluir->isEnabled());
    named<TButtonFlat>(f(), "sbtAutoExibe")->click();
    EXPECT_EQ(tick(), "S1");

    named<DataSet>(f(), "cdsFotoSubMa")->edit();  // a pending record keeps the current sub-group: the tick waits
    s.takeCalls();
    EXPECT_EQ(tick(), "S1");
    EXPECT_TRUE(named<TButtonFlat>(f(), "sbtAutoExibe")->isEnabled());
    EXPECT_TRUE(named<QTimer>(f(), "tmrExibeAuto")->isActive());
    named<DataSet>(f(), "cdsFotoSubMa")->cancel();
    EXPECT_TRUE(s.takeCalls().isEmpty());
    EXPECT_EQ(errors(), "");

    EXPECT_EQ(tick(), "S1");  // fails to move before the first row
    s.transport().fail("GetFotoSeMa", "Servidor indisponível.");
    EXPECT_EQ(tick(), "S1");  // turns round
    EXPECT_EQ(tick(), "S2");
    EXPECT_EQ(s.ui().errors.size(), 1) << errors().toStdString();
    EXPECT_FALSE(named<TButtonFlat>(f(), "sbtAutoExibe")->isChecked());  // released rather than failing every tick
    EXPECT_FALSE(named<QTimer>(f(), "tmrExibeAuto")->isActive());
}

// While the display runs no page offers include, edit or delete, whatever state change comes; the
// rules decide them again on release.
TEST_F(Photos, TheAutomaticDisplayKeepsIncludeEditAndDeleteOffOnEveryPage)
{
    named<QTimer>(f(), "tmrExibeAuto")->setInterval(3600 * 1000);
    const auto offered = [&] {
        QString out;
        for (QWidget* command : std::initializer_list<QWidget*>{f().sbtIncluir, f().sbtAlterar, f().sbtExcluir})
            out += command->isEnabled() ? '1' : '0';
        for (QAction* entry : {f().mnuIncluir, f().mnuAlterar, f().mnuExcluir})
            out += entry->isEnabled() ? '1' : '0';
        return out;
    };
    named<TButtonFlat>(f(), "sbtAutoExibe")->click();
    for (QWidget* page : {f().tshPadrao, &f().pages().sheet(MainPage::ProdRec), &f().pages().sheet(MainPage::FotoServ)}) {
        s.choosePage(*page);
        EXPECT_EQ(offered(), "000000") << page->objectName().toStdString();
    }
    s.choosePage(*f().tshPadrao);
    named<TButtonFlat>(f(), "sbtAutoExibe")->click();
    f().dtsPadrao->setDataSet(&f().subGroupSheet().records());  // the next state change
    EXPECT_EQ(offered(), "010010");  // the base form's edit on the sub-group list
}

}  // namespace
}  // namespace qmv
