// The selection panel over the real application server on a temporary database: the paths a
// user walks from typing a key to the sub-groups in the grid, end to end.
#include <QAbstractItemModel>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/selectionscreen.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "host/tbtnpesquisa.h"
#include "host/tbuttonflat.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/dbgrid.h"
#include "support/named.h"

namespace qmv {
namespace {

using test::named;
using test::SelectionScreen;

class SelectionOnServer : public ::testing::Test {
protected:
    TfrmFotoMontManual& f() { return s.form(); }

    QStringList subGroups()
    {
        QStringList out;
        DataSet& ds = f().subGroupSheet().records();
        for (int row = 0; row < ds.rowCount(); ++row)
            out << ds.fieldByName("CDSUBGRU").valueAt(row).toString();
        return out;
    }

    SelectionScreen s{SelectionScreen::Server::Real};
};

TEST_F(SelectionOnServer, ATypedKeyLoadsTheSubGroupsIntoTheGrid)
{
    s.typeKey("cia1", "1", "1.01.001");
    s.leavePanel();
    ASSERT_TRUE(s.ui().errors.isEmpty()) << s.ui().errors.join('|').toStdString();
    EXPECT_EQ(f().selection().rows().edtNmCia->text(), "Companhia Um");
    EXPECT_EQ(f().selection().rows().edtDsManCia->text(), "Manual A");
    EXPECT_EQ(f().selection().rows().edtDsServico->text(), "Almoço");
    EXPECT_EQ(f().selection().rows().edtClasse->text(), "ECON");
    EXPECT_EQ(f().selection().rows().edtCiclo->text(), "Ciclo 1");
    EXPECT_EQ(subGroups(), QStringList({"S1", "S2", "S3"}));

    QAbstractItemModel* model = f().dbgPadrao->model();
    ASSERT_EQ(model->columnCount(), 6);
    QStringList titles;
    for (int c = 0; c < model->columnCount(); ++c)
        titles << model->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(titles, QStringList({"Clas.", "Código", "Descrição", "Loading", "Sub-Grupo Impressão", "Obs."}));
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->index(0, 2).data().toString(), "Prato Quente");
    EXPECT_TRUE(f().pages().sheet(MainPage::FotoServ).isEnabled());
    EXPECT_TRUE(f().pages().sheet(MainPage::ProdRec).isEnabled());
}

TEST_F(SelectionOnServer, ThePickedClassOfAServiceDecidesWhichSubGroupsLoad)
{
    s.typeKey("CIA1", "0001", "");
    s.enter(*f().selection().rows().medCdServico);
    s.ui().answerSearch([](DataSource& source, const QString& title) {
        EXPECT_EQ(title, "Serviço");
        EXPECT_EQ(source.dataSet()->recordCount(), 3);
        return source.dataSet()->locate("SGCLASSE", {"EXEC"});
    });
    f().selection().rows().btpServManual->click();
    EXPECT_EQ(f().selection().rows().edtClasse->text(), "EXEC");
    s.leavePanel();
    EXPECT_EQ(subGroups(), QStringList({"S1"}));
    EXPECT_EQ(f().subGroupSheet().records().fieldByName("CDESPEPRODSG").asString(), "E6");
}

TEST_F(SelectionOnServer, AServiceWithoutSubGroupsLeavesAnEmptyGrid)
{
    s.typeKey("CIA1", "1", "1.01.002");
    s.leavePanel();
    ASSERT_TRUE(s.ui().errors.isEmpty()) << s.ui().errors.join('|').toStdString();
    EXPECT_EQ(f().selection().rows().edtCiclo->text(), "Ciclo 2");
    EXPECT_TRUE(f().subGroupSheet().records().isActive());
    EXPECT_EQ(f().dbgPadrao->model()->rowCount(), 0);
    EXPECT_FALSE(f().pages().sheet(MainPage::FotoServ).isEnabled());
    EXPECT_TRUE(named<TButtonFlat>(f(), "sbtImpFoto")->isEnabled());
}

TEST_F(SelectionOnServer, AnotherBranchChosenFromTheListLoadsItsOwnSubGroups)
{
    s.enter(*f().selection().rows().medFilial);
    s.ui().answerSearch([](DataSource& source, const QString&) {
        return source.dataSet()->locate("CDFILIAL", {"0002"});
    });
    f().selection().rows().btnFilial->click();
    EXPECT_EQ(f().selection().rows().edtNmFilial->text(), "Filial Dois");
    EXPECT_EQ(f().selection().rows().medCdCia->text(), "");
    s.typeKey("CIA1", "1", "1.01.001");
    s.leavePanel();
    EXPECT_EQ(subGroups(), QStringList({"S1", "S2"}));
    EXPECT_EQ(f().subGroupSheet().records().fieldByName("CDESPEPRODSG").asString(), "E4");
}

TEST_F(SelectionOnServer, ReenteringAndLeavingReloadsWhatTheServerNowHolds)
{
    s.typeKey("CIA1", "1", "1.01.001");
    s.leavePanel();
    ASSERT_EQ(subGroups().size(), 3);
    s.database().exec("UPDATE SUBGRUSEMA SET DSSUBGRUPO = 'Sobremesa fria' WHERE CDESPEPRODSG = 'E3'");
    s.enter(*f().selection().rows().medCdCia);
    EXPECT_FALSE(f().subGroupSheet().records().isActive());
    s.leavePanel();
    EXPECT_EQ(subGroups(), QStringList({"S1", "S2", "S3"}));
    ASSERT_TRUE(f().subGroupSheet().records().locate("CDSUBGRU", {"S3"}));
    EXPECT_EQ(f().subGroupSheet().records().fieldByName("DSSUBGRUPO").asString(), "Sobremesa fria");
}

TEST(SelectionOnServerModuFili, TheFixedBranchLoadsAsAnyOther)
{
    SelectionScreen s{SelectionScreen::Server::Real, true};
    s.typeKey("CIA1", "1", "1.01.001");
    s.leavePanel();
    EXPECT_TRUE(s.ui().errors.isEmpty()) << s.ui().errors.join('|').toStdString();
    EXPECT_EQ(s.form().subGroupSheet().records().recordCount(), 3);
}

}  // namespace
}  // namespace qmv
