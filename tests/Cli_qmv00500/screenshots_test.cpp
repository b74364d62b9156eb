// Pictures of the main screen's pages and dialogs with the demo selection loaded, saved into the
// folder named by QMV_SCREENSHOTS; skipped without it. scripts/screenshots.sh runs them under Xvfb.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00500/equipmentlist.h"
#include "Cli_qmv00500/loadedscreen.h"
#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "Cli_qmv00501/tfrmfiltrofotoman.h"
#include "Cli_qmv00503/tfrmimpfotoman.h"
#include "Cli_qmv00505/tfrmcadautequip.h"
#include "Cli_qmv00506/tfrmobssubgrupo.h"
#include "host/formatpanel.h"
#include "host/tbuttonflat.h"
#include "host/tdbdateeditplus.h"
#include "platform/dataset.h"
#include "platform/dbedit.h"
#include "platform/dbgrid.h"
#include "platform/dbrichedit.h"
#include "support/named.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace qmv {
namespace {

using test::named;

class Screenshots : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = qEnvironmentVariable("QMV_SCREENSHOTS");
        if (folder_.isEmpty())
            GTEST_SKIP() << "QMV_SCREENSHOTS names no folder";
        screen_ = std::make_unique<test::LoadedScreen>();
        Cli_qmv00500::frmFotoMontManual = &f();
    }
    TfrmFotoMontManual& f() { return screen_->form(); }
    test::LoadedScreen& s() { return *screen_; }
    static void type(QLineEdit& box, const QString& text)
    {
        box.setFocus();
        box.selectAll();
        QTest::keyClicks(&box, text);
    }
    void save(QWidget& window, const QString& name)
    {
        QTest::qWait(200);
        EXPECT_TRUE(window.grab().save(folder_ + '/' + name)) << name.toStdString();
    }

private:
    QString folder_;
    std::unique_ptr<test::LoadedScreen> screen_;
};

TEST_F(Screenshots, EquipmentInclusionAndProducts)
{
    s().choosePage(f().pages().sheet(MainPage::FotoServ));
    s().chooseInnerPage(f().pages().innerSheet(InnerPage::Equipamento));
    s().ui().actInModal([&](QWidget& form) {
        auto& dialog = static_cast<TfrmCadAutEquip&>(form);
        DBGrid& grid = *dialog.dbgEquipamento;
        grid.setFocus();
        grid.setCurrentIndex(grid.model()->index(1, 1));
        QTest::keyClick(&grid, Qt::Key_Space);
        save(dialog, "equipment-inclusion.png");
        dialog.sbtConfirma->Click();
    });
    f().sbtIncluir->Click();
    EXPECT_EQ(f().equipmentList().records().recordCount(), 2);
    save(f(), "equipment-list.png");
    s().choosePage(f().pages().sheet(MainPage::ProdRec));
    save(f(), "products-list.png");
    EXPECT_TRUE(s().ui().errors.isEmpty()) << s().ui().errors.join('|').toStdString();
}

// "Dados Adicionais" with the weekdays shown after the dates were left, and the observation editor
// holding formatted text before it is confirmed.
TEST_F(Screenshots, AdditionalDataAndObservation)
{
    s().choosePage(f().pages().sheet(MainPage::FotoServ));
    s().chooseInnerPage(f().pages().innerSheet(InnerPage::DadosAdic));
    type(*named<TDBDateEditPlus>(f(), "depRevisao"), "16/03/2026");
    const std::initializer_list<QWidget*> boxes = {named<TDBDateEditPlus>(f(), "depEfetivacao"), named<TDBDateEditPlus>(f(), "depApresent"), named<TDBDateEditPlus>(f(), "depRevisao"),
                                                   named<DBEdit>(f(), "dbeCdSubGruPri")};
    for (QWidget* box : boxes)
        box->setFocus();
    EXPECT_EQ(named<QLineEdit>(f(), "edtNmDiaEfet")->text(), QString::fromUtf8("Terça"));
    save(f(), "additional-data.png");
    f().subGroupSheet().records().cancel();

    s().choosePage(*f().tshPadrao);
    f().dbgPadrao->setSelectedIndex(5);
    s().ui().actInModal([&](QWidget& form) {
        auto& editor = static_cast<TfrmObsSubGrupo&>(form);
        editor.dbrObsSubGrupo->setHtml(QString::fromUtf8(
            "<b>Servir quente</b>, <i>logo após a montagem</i>; <u>conferir a tampa</u> antes de sair."));
        editor.dbrObsSubGrupo->setFocus();
        save(editor, "observation-editor.png");
    });
    f().subGroupSheet().dbgPadraoEditButtonClick(*f().dbgPadrao, 5);
    EXPECT_EQ(s().ui().modalForms.size(), 1);
    EXPECT_TRUE(s().ui().errors.isEmpty()) << s().ui().errors.join('|').toStdString();
}

// The filter with its two choices made, and the photo import filled in for an origin manual.
TEST_F(Screenshots, FilterAndImport)
{
    s().ui().actInModal([&](QWidget& form) {
        auto& dialog = static_cast<TfrmFiltroFotoMan&>(form);
        dialog.FormActivate();
        dialog.cbbIdFFoto->setCurrentIndex(0);
        dialog.cbbIdFMontagem->setCurrentIndex(1);
        save(dialog, "filter.png");
    });
    named<TButtonFlat>(f(), "sbtFiltroD")->Click();
    s().ui().actInModal([&](QWidget& form) {
        auto& dialog = static_cast<TfrmImpFotoMan&>(form);
        dialog.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        dialog.FormActivate();
        type(*dialog.medFilialOri, "0002");
        type(*dialog.medManualOri, "0001");
        type(*dialog.medServOrig, "1.01.001");
        dialog.rbtLista->setFocus();
        dialog.rbtLista->setChecked(true);
        EXPECT_FALSE(dialog.edtNmFilialOri->text().isEmpty());
        save(dialog, "import.png");
    });
    named<TButtonFlat>(f(), "sbtImpFoto")->Click();
    EXPECT_EQ(s().ui().modalForms.size(), 2);
    EXPECT_TRUE(s().ui().errors.isEmpty()) << s().ui().errors.join('|').toStdString();
}

}  // namespace
}  // namespace qmv
