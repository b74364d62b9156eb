// Pictures of the main screen's pages and dialogs with the demo selection loaded, saved into the
// folder named by QMV_SCREENSHOTS; skipped without it. scripts/screenshots.sh runs them under Xvfb.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00500/loadedscreen.h"
#include "Cli_qmv00505/tfrmcadautequip.h"
#include "host/tbuttonflat.h"
#include "platform/dataset.h"
#include "platform/dbgrid.h"

namespace qmv {
namespace {

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
    s().choosePage(*f().tshFotoServ);
    s().chooseInnerPage(*f().tshEquipamento);
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
    EXPECT_EQ(f().cdsEquiSubSeMa->recordCount(), 2);
    save(f(), "equipment-list.png");
    s().choosePage(*f().tshProdRec);
    save(f(), "products-list.png");
    EXPECT_TRUE(s().ui().errors.isEmpty()) << s().ui().errors.join('|').toStdString();
}

}  // namespace
}  // namespace qmv
