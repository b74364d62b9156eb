#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "host/abort.h"
#include "host/help.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "host/tfrmdadosgerrel.h"
#include "host/tfrmfiltropadrao.h"
#include "host/tfrmpadraogrid.h"
#include "host/tfrmrotigeral.h"
#include "platform/dbgrid.h"
#include "platform/dbtext.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

DataPacket rows(int count)
{
    DataPacket p;
    p.fields = {FieldDef{"CDSUBGRU", FieldKind::Text, 10, "Código"}, FieldDef{"DSSUBGRU", FieldKind::Text, 50, "Descrição"}};
    for (int i = 1; i <= count; ++i)
        p.rows << Row{QString("SG%1").arg(i), QString("Sub-grupo %1").arg(i)};
    return p;
}

// Which standard commands are enabled, as one text: I A E P V C X (include ... cancel), then print.
QString commands(const TfrmPadraoGrid& f)
{
    QString out;
    const QList<QPair<QChar, TButtonFlat*>> buttons = {
        {'I', f.sbtIncluir}, {'A', f.sbtAlterar}, {'E', f.sbtExcluir}, {'P', f.sbtProcurar},
        {'V', f.sbtVerificar}, {'C', f.sbtConfirmar}, {'X', f.sbtCancelar}, {'R', f.sbtImprimir}};
    for (const auto& [letter, button] : buttons)
        out += button->isEnabled() ? letter : QChar('-');
    return out;
}

struct GridForm {
    ScriptedUi ui;
    DataSet ds;
    TfrmPadraoGrid* form = new TfrmPadraoGrid;
    QPointer<TfrmPadraoGrid> alive = form;

    GridForm()
    {
        form->setObjectName("frmTeste");
        form->setScreenCode("QMV00999");
        form->setHelp("Qmvhelp.hlp", 10000999);
        form->dtsPadrao->setDataSet(&ds);
        form->dbtNome->setDataField("DSSUBGRU");
        form->FormCreate();
        form->show();
        QApplication::setActiveWindow(form);
    }
    ~GridForm()
    {
        delete alive.data();
        setHelpViewer({});
    }
    void key(int k, Qt::KeyboardModifiers m = {})
    {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : form;
        QTest::keyClick(target, Qt::Key(k), m);
        QCoreApplication::processEvents();
    }
};

TEST(TfrmPadraoGrid, TheStateOfDtsPadraoDrivesTheStandardToolbar)
{
    GridForm f;
    EXPECT_EQ(commands(*f.form), "--------");
    f.ds.loadPacket(rows(3));
    EXPECT_EQ(commands(*f.form), "IAEPV--R");
    EXPECT_TRUE(f.form->mnuExcluir->isEnabled());
    f.ds.edit();
    EXPECT_EQ(commands(*f.form), "-----CX-");
    EXPECT_TRUE(f.form->mnuConfirmar->isEnabled());
    EXPECT_FALSE(f.form->mnuIncluir->isEnabled());
    f.ds.cancel();
    f.ds.loadPacket(rows(0));
    EXPECT_EQ(commands(*f.form), "I---V---");
    DataSet other;
    other.loadPacket(rows(1));
    f.form->dtsPadrao->setDataSet(&other);
    EXPECT_EQ(commands(*f.form), "IAEPV--R");
    EXPECT_EQ(f.form->lblCodTela->text(), "QMV00999");
}

TEST(TfrmPadraoGrid, CommandsActOnTheDataSetOfDtsPadrao)
{
    GridForm f;
    f.ds.loadPacket(rows(3));
    f.form->sbtAlterar->Click();
    EXPECT_EQ(f.ds.state(), DataSetState::Edit);
    f.ds.fieldByName("DSSUBGRU").setAsString("Alterado");
    f.form->sbtConfirmar->Click();
    EXPECT_EQ(f.ds.state(), DataSetState::Browse);
    EXPECT_EQ(f.ds.changeCount(), 1);
    f.form->mnuIncluir->trigger();
    EXPECT_EQ(f.ds.state(), DataSetState::Insert);
    f.form->sbtCancelar->Click();
    EXPECT_EQ(f.ds.recordCount(), 3);

    f.ds.beforeInsert = [](DataSet&) { throw Abort(); };
    f.form->sbtIncluir->Click();
    EXPECT_EQ(f.ds.state(), DataSetState::Browse);
    EXPECT_TRUE(f.ui.errors.isEmpty());
}

TEST(TfrmPadraoGrid, DeleteAsksFirstAndDeletesOnlyOnYes)
{
    GridForm f;
    f.ds.loadPacket(rows(2));
    f.ui.answerYesNo(false);
    f.ui.answerYesNo(true);
    f.form->sbtExcluir->Click();
    EXPECT_EQ(f.ds.recordCount(), 2);
    f.form->sbtExcluir->Click();
    EXPECT_EQ(f.ds.recordCount(), 1);
    EXPECT_EQ(f.ui.questions, (QStringList{"Confirma exclusão?", "Confirma exclusão?"}));
}

TEST(TfrmPadraoGrid, EscCancelsTheEditAndF1ShowsTheHelpContext)
{
    GridForm f;
    f.ds.loadPacket(rows(2));
    QString helpAsked;
    setHelpViewer([&](const QString& file, int context) { helpAsked = QString("%1#%2").arg(file).arg(context); });
    f.form->dbgPadrao->setFocus();
    f.ds.edit();
    f.ds.fieldByName("DSSUBGRU").setAsString("x");
    f.key(Qt::Key_Escape);
    EXPECT_EQ(f.ds.state(), DataSetState::Browse);
    EXPECT_EQ(f.ds.fieldByName("DSSUBGRU").asString(), "Sub-grupo 1");
    f.key(Qt::Key_F1);
    EXPECT_EQ(helpAsked, "Qmvhelp.hlp#10000999");
}

TEST(TfrmPadraoGrid, EscInAnOpenCellEditorLeavesTheCellFirst)
{
    GridForm f;
    f.ds.loadPacket(rows(2));
    f.form->dbgPadrao->setFocus();
    f.form->dbgPadrao->setCurrentIndex(f.form->dbgPadrao->model()->index(0, 1));
    f.key(Qt::Key_Z);  // opens the cell editor with the key
    ASSERT_NE(QApplication::focusWidget(), f.form->dbgPadrao);
    f.key(Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), f.form->dbgPadrao);
}

TEST(TfrmPadraoGrid, FormKeyDownOfAScreenSeesKeysBeforeItsControls)
{
    struct Screen : TfrmPadraoGrid {
        QList<int> keys;
        void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override
        {
            TfrmPadraoGrid::FormKeyDown(key, shift);
            keys << key;
            if (key == Qt::Key_F12)
                key = 0;
        }
    };
    ScriptedUi ui;
    DataSet ds;
    ds.loadPacket(rows(3));
    Screen screen;
    screen.dtsPadrao->setDataSet(&ds);
    screen.show();
    QApplication::setActiveWindow(&screen);
    screen.dbgPadrao->setFocus();
    QTest::keyClick(screen.dbgPadrao, Qt::Key_Down);
    QTest::keyClick(screen.dbgPadrao, Qt::Key_F12);
    QTest::keyClick(screen.dbgPadrao, Qt::Key_F1);
    EXPECT_EQ(ds.recNo(), 2);
    EXPECT_EQ(screen.keys, (QList<int>{Qt::Key_Down, Qt::Key_F12, 0}));
    ASSERT_EQ(ui.infos.size(), 1);  // F1 without a help viewer says which topic there is
}

TEST(TfrmPadraoGrid, ScreensAddTheirButtonsBeforePrintHelpAndClose)
{
    GridForm f;
    auto* own = new TButtonFlat(nullptr, "sbtFiltroD", "Filtrar");
    f.form->addCommandButton(own);
    auto* bar = f.form->panMenu->layout();
    EXPECT_EQ(own->parentWidget(), f.form->panMenu);
    EXPECT_EQ(bar->indexOf(own) + 1, bar->indexOf(f.form->sbtImprimir));
    EXPECT_EQ(f.form->mnuOperacao->actions().value(0), f.form->mnuListagem);
}

TEST(TfrmPadraoGrid, CloseFreesTheWindowUnlessTheCloseHandlerStopsIt)
{
    struct Screen : TfrmPadraoGrid {
        bool refuse = false;
        int closes = 0;
        void FormClose(TCloseAction& action) override
        {
            ++closes;
            if (refuse)
                throw Abort();
            TfrmPadraoGrid::FormClose(action);
        }
    };
    ScriptedUi ui;
    auto* screen = new Screen;
    QPointer<Screen> alive = screen;
    screen->show();
    screen->refuse = true;
    EXPECT_FALSE(screen->close());
    EXPECT_TRUE(screen->isVisible());
    screen->refuse = false;
    screen->sbtFechar->Click();
    EXPECT_EQ(screen->closes, 2);
    EXPECT_FALSE(screen->isVisible());
    ASSERT_TRUE(alive);  // freed once back in the event loop
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(alive);
}

TEST(TfrmRotiGeral, EscRunsTheCancelHandlerAndEnterMovesOn)
{
    struct Routine : TfrmRotiGeral {
        int cancels = 0;
        void sbtCancelClick() override
        {
            ++cancels;
            TfrmRotiGeral::sbtCancelClick();
        }
    };
    ScriptedUi ui;
    auto* routine = new Routine;
    QPointer<Routine> alive = routine;
    auto* first = new QLineEdit(routine->grbDadosRel);
    auto* second = new QLineEdit(routine->grbDadosRel);
    auto* layout = new QVBoxLayout(routine->grbDadosRel);
    layout->addWidget(first);
    layout->addWidget(second);
    routine->setScreenCode("QMV00503");
    routine->show();
    QApplication::setActiveWindow(routine);
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_TRUE(second->hasFocus());
    QTest::keyClick(second, Qt::Key_Escape);
    EXPECT_EQ(routine->cancels, 1);
    EXPECT_FALSE(routine->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(alive);
}

TEST(TfrmFiltroPadrao, KeepsTheSizeItsFilterAsksForAndClosesByItsButton)
{
    ScriptedUi ui;
    TfrmFiltroPadrao filter;
    filter.setAttribute(Qt::WA_DeleteOnClose, false);
    filter.resize(301, 148);
    filter.grbFiltroPadrao->setFixedSize(246, 148);
    filter.show();
    EXPECT_EQ(filter.size(), QSize(301, 148));
    EXPECT_EQ(filter.panMenu->width(), 55);
    filter.sbtFechar->Click();
    EXPECT_FALSE(filter.isVisible());
}

TEST(TfrmDadosGerRel, PrintsTheMainFormsGridToAPdfTheUserNames)
{
    GridForm f;
    f.ds.loadPacket(rows(2));
    f.form->dbgPadrao->setDataSource(f.form->dtsPadrao);
    TfrmDadosGerRel report;
    report.setWindowTitle("Foto Montagem do Manual");
    report.lblCodRel->setText("QMV005");
    report.FormCreate();
    report.report().mainForm = f.form;
    const QString html = report.reportHtml();
    EXPECT_TRUE(html.contains("Sub-grupo 2"));
    EXPECT_TRUE(html.contains("QMV005"));
    EXPECT_TRUE(html.contains("Descrição"));
    EXPECT_EQ(report.lblNmRelat->text(), "Foto Montagem do Manual");

    QTemporaryDir dir;
    const QString path = dir.filePath("relatorio.pdf");
    f.ui.answerSaveFile(path);
    report.sbtImprimir->Click();
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));

    report.report().mainForm = nullptr;
    report.sbtImprimir->Click();
    EXPECT_EQ(f.ui.errors, QStringList{"Não há tela de origem para o relatório."});
}

}  // namespace
}  // namespace qmv
