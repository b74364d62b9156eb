// The main screen as laid out at creation: every control, page, menu entry and dataset under its
// name, the captions and hints the person sees, what starts disabled, the field order of the
// sub-group record (the order of its null-field list) and the sub-group grid's columns; and the
// launch of the sibling manual-emission screen.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <gtest/gtest.h>

#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00500/equipmentlist.h"
#include "Cli_qmv00500/productlist.h"
#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "host/hostconfig.h"
#include "host/loadbpl.h"
#include "host/tbtnpesquisa.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "host/tmessages.h"
#include "platform/dataset.h"
#include "platform/dbgrid.h"
#include "server/tnetconnection.h"
#include "support/named.h"
#include "support/recordingtransport.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

using test::named;

class MainScreenLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        HostConfig config;
        config.branchCode = QStringLiteral("0002");
        config.branchName = QStringLiteral("Cozinha Norte");
        config.moduFili = true;
        config.codeMask = QStringLiteral("9.99.999;1; ");
        setHostConfig(config);
        form.reset(TfrmFotoMontManual::create(nullptr, std::make_unique<test::RecordingTransport>()));
    }

    QStringList captions(QMenu* menu) const
    {
        QStringList texts;
        for (QAction* action : menu->actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
        return texts;
    }

    ScriptedUi ui;
    std::unique_ptr<TfrmFotoMontManual> form;
};

TEST_F(MainScreenLayout, EveryControlCarriesItsName)
{
    for (const char* name :
         {"sbtFiltroD", "sbtAutoExibe", "sbtManualCia", "sbtImpFoto", "imgCheck", "imgUncheck", "imgDesCheck",
          "imgDesUnCheck", "imgCheck2", "imgUncheck2", "panFiltro", "lblFilial", "medFilial", "btnFilial",
          "edtNmFilial", "medCdCia", "btpCompanhia", "edtNmCia", "medCdManCia", "btpManualCia", "edtDsManCia",
          "medCdServico", "btpServManual", "edtDsServico", "edtClasse", "edtCiclo", "tshFotoServ", "tshProdRec",
          "pgcSubGrupo", "tshInstMont", "tshEquipamento", "tshDadosAdic", "btpFotoServ", "sbtDelFotoServ",
          "chbAjustarFtoServ", "scbFormulario", "imgFotoServico", "tmrExibeAuto", "sbtImp", "sbtSalva",
          "fpnMontagem", "dbrMontServico", "pmnImporta", "mnuImpArquivo", "mnuImpInst", "dbgEquiSubSeMa",
          "dbgProRecSeMa", "dbeCdSubGruPri", "btpSubGruPrin", "dbeDsSubGruPri", "depApresent", "depEfetivacao",
          "depRevisao", "edtNmDiaApre", "edtNmDiaEfet", "edtNmDiaRevi", "mnuFolhaDados", "mnuFormulario",
          "mnuProdRec", "mnuFiltro", "mnuExibeAuto", "mnuDirFoto", "mnuEmiteManual", "mnuImpFoto",
          "netFotoMantMan", "cdsServManual", "cdsSubGruSeMa", "cdsFotoSeMa", "cdsFotoSubMa", "cdsImpInsMont",
          "cdsParametros", "cdsEquiSubSeMa", "cdsProRecSeMa", "cdsSubGruPrin", "dtsSubGruSeMa", "dtsFotoSeMa",
          "dtsFotoSubMa", "dtsImpInsMont", "dtsEquiSubSeMa", "dtsProRecSeMa", "dtsSubGruPrin"})
        EXPECT_NE(form->findChild<QObject*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Foto Montagem do Manual"));
    EXPECT_EQ(form->lblCodTela->text(), QStringLiteral("QMV00500"));
    EXPECT_EQ(form->helpFile(), QStringLiteral("Qmvhelp.hlp"));
    EXPECT_EQ(form->helpContext(), 10000500);
}

TEST_F(MainScreenLayout, PagesStartOnSubGroupWithThePhotoPageLocked)
{
    const ScreenPages& sp = form->pages();
    auto caption = [](TCustomPageControl98* pages, QWidget* sheet) { return pages->tabText(pages->indexOf(sheet)); };
    EXPECT_EQ(caption(form->pgcPadrao, form->tshPadrao), QStringLiteral("Sub-Grupo"));
    EXPECT_EQ(caption(form->pgcPadrao, &sp.sheet(MainPage::FotoServ)), QStringLiteral("Foto Sub-Grupo"));
    EXPECT_EQ(caption(form->pgcPadrao, &sp.sheet(MainPage::ProdRec)), QStringLiteral("Produto/Receita"));
    EXPECT_EQ(caption(&sp.inner(), &sp.innerSheet(InnerPage::InstMont)), QStringLiteral("Instruções de Montagem"));
    EXPECT_EQ(caption(&sp.inner(), &sp.innerSheet(InnerPage::Equipamento)), QStringLiteral("Equipamentos"));
    EXPECT_EQ(caption(&sp.inner(), &sp.innerSheet(InnerPage::DadosAdic)), QStringLiteral("Dados Adicionais"));
    EXPECT_EQ(form->pgcPadrao->ActivePage(), form->tshPadrao);
    EXPECT_EQ(sp.inner().ActivePage(), &sp.innerSheet(InnerPage::InstMont));
    EXPECT_FALSE(form->pgcPadrao->isTabEnabled(form->pgcPadrao->indexOf(&sp.sheet(MainPage::FotoServ))));
    EXPECT_TRUE(named<QAction>(*form, "mnuFolhaDados")->isEnabled());
    EXPECT_FALSE(named<QAction>(*form, "mnuFormulario")->isEnabled()) << "the photo page's entry follows its page";
    EXPECT_EQ(named<QTimer>(*form, "tmrExibeAuto")->interval(), 2000);
    EXPECT_FALSE(named<QTimer>(*form, "tmrExibeAuto")->isActive());
}

// The photo import entry too: nothing that needs a loaded selection works before the first load.
TEST_F(MainScreenLayout, TheScreensCommandsAndTheirEntriesStartDisabled)
{
    for (const char* button : {"sbtFiltroD", "sbtAutoExibe", "sbtManualCia", "sbtImpFoto", "sbtImprimir", "sbtDelFotoServ"})
        EXPECT_FALSE(named<TButtonFlat>(*form, button)->isEnabled()) << button;
    for (const char* entry : {"mnuFiltro", "mnuExibeAuto", "mnuDirFoto", "mnuEmiteManual", "mnuImpFoto"})
        EXPECT_FALSE(named<QAction>(*form, entry)->isEnabled()) << entry;
    EXPECT_EQ(named<QAction>(*form, "mnuImpFoto")->statusTip(), QStringLiteral("PLN01303"));
    EXPECT_TRUE(named<TButtonFlat>(*form, "sbtAutoExibe")->isToggle());
    EXPECT_EQ(named<TButtonFlat>(*form, "sbtFiltroD")->toolTip(), QStringLiteral("Filtrar"));
    EXPECT_EQ(named<TButtonFlat>(*form, "sbtAutoExibe")->toolTip(), QStringLiteral("Exibição Automática"));
    EXPECT_EQ(named<TButtonFlat>(*form, "sbtManualCia")->toolTip(), QStringLiteral("Emissão do Manual"));
    EXPECT_EQ(named<TButtonFlat>(*form, "sbtImpFoto")->toolTip(), QStringLiteral("Importação de Foto"));
    EXPECT_EQ(named<QAction>(*form, "mnuFiltro")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    EXPECT_TRUE(named<QCheckBox>(*form, "chbAjustarFtoServ")->isChecked());
}

TEST_F(MainScreenLayout, MenusPutThePageEntriesFirstAndTheScreenCommandsLast)
{
    const QStringList operations = captions(form->mnuOperacao);
    ASSERT_GE(operations.size(), 4);
    EXPECT_EQ(operations.mid(0, 4), (QStringList{"mnuFolhaDados", "mnuFormulario", "mnuProdRec", "-"}));
    EXPECT_FALSE(form->mnuListagem->isEnabled());
    EXPECT_FALSE(form->mnuConfigImpressora->isEnabled());
    const QStringList maintenance = captions(form->mnuManutencao);
    ASSERT_GE(maintenance.size(), 7);
    EXPECT_EQ(maintenance.mid(maintenance.size() - 7), (QStringList{"-", "mnuFiltro", "mnuExibeAuto", "mnuDirFoto",
                                                                   "mnuEmiteManual", "mnuImpFoto", "mnuHistorico"}));
    EXPECT_EQ(named<QAction>(*form, "mnuFolhaDados")->text(), QStringLiteral("&Sub-Grupo"));
    EXPECT_EQ(named<QAction>(*form, "mnuExibeAuto")->text(), QStringLiteral("E&xibição Automática"));
    EXPECT_EQ(named<QAction>(*form, "mnuImpArquivo")->text(), QStringLiteral("&Importar de Arquivo..."));
    EXPECT_EQ(named<QAction>(*form, "mnuImpInst")->text(), QStringLiteral("&De Outro Sub-grupo..."));
}

TEST_F(MainScreenLayout, SubGroupRecordKeepsItsFieldOrderAndGridColumns)
{
    QStringList names;
    for (Field* field : form->subGroupSheet().records().fields())
        names << field->name();
    EXPECT_EQ(names, (QStringList{"DSSUBGRUPO", "CDCIA", "SGCIA", "NMCIA", "CDMANCIA", "CDSERVICO", "CDSUBGRU",
                                  "CDSUBARV", "DSSUBGRU", "TempCiclo", "NRORDSUMA", "DSSUBGRUPROD", "NMFOTOSUMA",
                                  "FGLOGOCIA", "VRPELOADSUMA", "TXCOMSUMA", "CDCLASSE", "CDCICLO", "CDFILIAL",
                                  "DTAPRESUMA", "DSSUBGRUPRI", "CDSUBARVPRI", "DTEFETSUMA", "DTREVISUMA",
                                  "CDESPEPROD", "CDTIPOCOMP", "CDSUBGRUPRI", "CDESPEPRODSG", "CDPRODUTOPRI", "OBS"}));
    EXPECT_TRUE(form->subGroupSheet().records().fieldByName(QStringLiteral("OBS")).isCalculated());
    EXPECT_TRUE(form->subGroupSheet().records().fieldByName(QStringLiteral("TempCiclo")).isCalculated());

    QStringList columns;
    QList<int> widths;
    for (const DBGridColumn& column : form->dbgPadrao->columns()) {
        columns << column.fieldName;
        widths << column.width;
    }
    EXPECT_EQ(columns, (QStringList{"NRORDSUMA", "CDSUBARV", "DSSUBGRU", "VRPELOADSUMA", "DSSUBGRUPO", "OBS"}));
    EXPECT_EQ(widths, (QList<int>{26, 99, 246, 44, 272, 28}));
    EXPECT_EQ(form->dbgPadrao->dataSource(), named<DataSource>(*form, "dtsSubGruSeMa"));
    EXPECT_EQ(form->dtsPadrao->dataSet(), &form->subGroupSheet().records());
}

TEST_F(MainScreenLayout, CreationTakesTheBranchAndTheCodeMaskFromTheHost)
{
    EXPECT_EQ(form->selection().rows().medFilial->text().trimmed(), QStringLiteral("0002"));
    EXPECT_EQ(form->selection().rows().edtNmFilial->text(), QStringLiteral("Cozinha Norte"));
    EXPECT_FALSE(form->selection().rows().medFilial->isEnabled())
        << "a module bound to the host's branch cannot change it";
    EXPECT_FALSE(form->selection().rows().lblFilial->isEnabled());
    EXPECT_FALSE(form->selection().rows().btnFilial->isEnabled());
    DataSet* const subGroups = &form->subGroupSheet().records();
    for (auto [dataSet, field] : {std::pair{subGroups, "CDSUBARV"}, {subGroups, "CDSUBARVPRI"},
                                  {named<DataSet>(*form, "cdsSubGruPrin"), "CDSUBARV"}, {&form->equipmentList().records(), "CDARVPROD"},
                                  {&form->selection().services(), "SERVICO"}})
        EXPECT_EQ(dataSet->fieldByName(QString::fromLatin1(field)).editMask(), QStringLiteral("9.99.999;1; ")) << field;
    EXPECT_EQ(form->products().records().fieldByName(QStringLiteral("NRORDEM")).editMask(), QStringLiteral("999;0; "));
    EXPECT_EQ(form->msgPadrao->Msg(QStringLiteral("Imagem_Size")),
              QStringLiteral("Operação Bloqueada! Tamanho da imagem excedeu 200 kb."));
}

TEST_F(MainScreenLayout, ManualEmissionFromTheButtonOrTheMenuOpensTheSiblingWithTheSameParameters)
{
    QList<std::pair<QString, QVariantList>> loads;
    setPackageLoader([&](const QString& name, const QVariantList& parameters) { loads.append({name, parameters}); });
    Cli_qmv00500::frmFotoMontManual = form.get();
    named<TButtonFlat>(*form, "sbtManualCia")->setEnabled(true);
    named<QAction>(*form, "mnuEmiteManual")->setEnabled(true);

    named<TButtonFlat>(*form, "sbtManualCia")->Click();
    named<QAction>(*form, "mnuEmiteManual")->trigger();
    setPackageLoader({});
    Cli_qmv00500::frmFotoMontManual = nullptr;

    ASSERT_EQ(loads.size(), 2);
    const QVariantList expected{QStringLiteral("QMV00500"),
                                static_cast<qlonglong>(reinterpret_cast<quintptr>(form.get()))};
    EXPECT_EQ(loads[0].first, QStringLiteral("QMV01200"));
    EXPECT_EQ(loads[0].second, expected);
    EXPECT_EQ(loads[1], loads[0]);
}

TEST_F(MainScreenLayout, AMissingSiblingScreenIsReportedAndTheScreenCarriesOn)
{
    setPackageLoader([](const QString& name, const QVariantList&) {
        throw std::runtime_error(QStringLiteral("Módulo %1 não encontrado.").arg(name).toStdString());
    });
    named<TButtonFlat>(*form, "sbtManualCia")->setEnabled(true);
    named<TButtonFlat>(*form, "sbtManualCia")->Click();
    setPackageLoader({});
    ASSERT_EQ(ui.errors.size(), 1);
    EXPECT_TRUE(ui.errors.first().contains(QStringLiteral("Módulo QMV01200 não encontrado."))) << ui.errors.first().toStdString();
    EXPECT_TRUE(form->netFotoMantMan->connected());
}

}  // namespace
}  // namespace qmv
