// Undoing a photo import from the import dialog, over the loaded main screen and the real server:
// right after it when the person says so, or later from the list of the imports into the loaded
// service; the person is told what was put back, and the photos are as before the import.
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>

#include "Cli_qmv00500/loadedscreen.h"
#include "Cli_qmv00503/cli_qmv00503.h"
#include "Cli_qmv00503/tfrmimpfotoman.h"
#include "host/tbuttonflat.h"
#include "platform/datasource.h"
#include "support/named.h"

namespace qmv {
namespace {

using test::named;

class ImportUndo : public ::testing::Test {
protected:
    void open(std::function<void(TfrmImpFotoMan&)> act)
    {
        s.ui().actInModal([act](QWidget& form) {
            auto& dialog = static_cast<TfrmImpFotoMan&>(form);
            dialog.FormActivate();
            act(dialog);
        });
        named<TButtonFlat>(s.form(), "sbtImpFoto")->Click();
    }
    static void type(QLineEdit& box, const QString& text)
    {
        box.setFocus();
        box.selectAll();
        QTest::keyClicks(&box, text);
    }
    QByteArray photoOf(const char* espeProd)
    {
        QSqlQuery q(s.database().db());
        q.prepare("SELECT FGESPEPROD FROM FOTOSEMA WHERE CDESPEPROD = ?");
        q.addBindValue(QString::fromLatin1(espeProd));
        return q.exec() && q.next() ? q.value(0).toByteArray() : QByteArray("(none)");
    }
    test::LoadedScreen s;
};

TEST_F(ImportUndo, UndoesAtOnceOrLaterFromTheListOfImports)
{
    QSqlQuery insert(s.database().db());
    insert.prepare("INSERT INTO FOTOSEMA VALUES ('S1', 'E4', ?)");
    insert.addBindValue(QByteArray("origin-photo"));
    ASSERT_TRUE(insert.exec());
    const QByteArray before = photoOf("E1");
    Cli_qmv00503::stLista.clear();
    const auto import = [&](bool undoAtOnce) {
        s.ui().answerYesNo(true);
        s.ui().answerYesNo(undoAtOnce);
        open([&](TfrmImpFotoMan& d) {
            type(*d.medFilialOri, "0002");
            type(*d.medManualOri, "0001");
            type(*d.medServOrig, "1.01.001");
            d.sbtConfirma->Click();
        });
    };
    import(true);
    EXPECT_EQ(s.ui().questions.value(1), "Fotos importadas: 2. Deseja desfazer esta importação agora?");
    EXPECT_EQ(s.ui().questionDefaults.value(1), DefaultButton::No) << "Enter keeps the import";
    EXPECT_EQ(photoOf("E1"), before) << "undone at once";
    import(false);
    ASSERT_EQ(photoOf("E1"), QByteArray("origin-photo"));
    ASSERT_EQ(photoOf("E6"), QByteArray("origin-photo"));

    QStringList listed;
    s.ui().answerSearch([&](DataSource& source, const QString& title) {
        listed << title << source.dataSet()->fieldByName("DSLOTE").asString();
        return true;
    });
    s.ui().answerYesNo(true);
    open([](TfrmImpFotoMan& d) {
        d.btnDesfazer->click();
        d.close();
    });
    EXPECT_EQ(listed, QStringList({"Importações para este serviço",
                                   "Fotos do serviço 0000001001 do manual 0001 da filial 0002 (todos)."}));
    EXPECT_EQ(s.ui().infos.value(1), "Fotos restauradas: 2. Fotos mantidas por terem sido alteradas depois: 0.");
    EXPECT_EQ(s.ui().questionDefaults.last(), DefaultButton::No);
    EXPECT_EQ(photoOf("E1"), before);
    EXPECT_EQ(photoOf("E6"), QByteArray("(none)")) << "the photo the import added where there was none";
}

}  // namespace
}  // namespace qmv
