// The filter dialog and the photo import dialog over the loaded main screen and the real server:
// what they send, what they refuse and in which order, and what the main screen shows afterwards.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTest>
#include <gtest/gtest.h>

#include "Cli_qmv00500/loadedscreen.h"
#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "Cli_qmv00501/cli_qmv00501.h"
#include "Cli_qmv00501/tfrmfiltrofotoman.h"
#include "Cli_qmv00503/cli_qmv00503.h"
#include "Cli_qmv00503/tfrmimpfotoman.h"
#include "host/tbtnpesquisa.h"
#include "host/tbuttonflat.h"
#include "host/tcustompagecontrol98.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "support/named.h"

namespace qmv {
namespace {

using test::named;
using namespace Qt::StringLiterals;

class FilterDialog : public ::testing::Test {
protected:
    TfrmFotoMontManual& f() { return s.form(); }

    // Opens the filter from its button; `act` runs inside the dialog.
    void open(std::function<void(TfrmFiltroFotoMan&)> act)
    {
        s.ui().actInModal([act](QWidget& form) {
            auto& dialog = static_cast<TfrmFiltroFotoMan&>(form);
            dialog.FormActivate();
            act(dialog);
        });
        named<TButtonFlat>(f(), "sbtFiltroD")->Click();
    }

    test::LoadedScreen s;
};

TEST_F(FilterDialog, StartsFromAllThenFromTheLastChoicesAndReloadsWithThem)
{
    Cli_qmv00501::boPrimVez = true;
    open([](TfrmFiltroFotoMan& d) {
        EXPECT_EQ(d.cbbIdFFoto->currentIndex(), 2);
        EXPECT_EQ(d.cbbIdFMontagem->currentIndex(), 2);
        d.cbbIdFFoto->setCurrentIndex(0);  // with a photo; closed without confirming
    });
    EXPECT_TRUE(s.takeCalls().isEmpty());
    open([](TfrmFiltroFotoMan& d) {
        EXPECT_EQ(d.cbbIdFFoto->currentIndex(), 0);
        d.cbbIdFMontagem->setCurrentIndex(0);
        QEvent backFromAMessageBox(QEvent::WindowActivate);
        QApplication::sendEvent(&d, &backFromAMessageBox);
        EXPECT_EQ(d.cbbIdFMontagem->currentIndex(), 0) << "a later activation keeps the person's choice";
        d.sbtConfirma->Click();
    });
    EXPECT_EQ(s.takeCalls(), QStringList({R"(GetSubGruSeMa("0001","0001","0001","000000100100010001","0","0"))"}));
    EXPECT_EQ(f().subGroupSheet().records().recordCount(), 1);  // only S1 has both
}

TEST_F(FilterDialog, AnEmptyResultReturnsToTheSubGroupSheetAndLocksThePages)
{
    s.choosePage(f().pages().sheet(MainPage::ProdRec));
    s.takeCalls();
    open([](TfrmFiltroFotoMan& d) {
        d.cbbIdFFoto->setCurrentIndex(0);      // a photo and no instructions: none has that
        d.cbbIdFMontagem->setCurrentIndex(1);
        d.sbtConfirma->Click();
    });
    EXPECT_TRUE(f().subGroupSheet().records().isEmpty());
    EXPECT_EQ(f().pgcPadrao->ActivePage(), f().tshPadrao);
    EXPECT_FALSE(f().pages().sheet(MainPage::FotoServ).isEnabled());
    EXPECT_FALSE(f().pages().sheet(MainPage::ProdRec).isEnabled());
    EXPECT_FALSE(f().pages().innerSheet(InnerPage::InstMont).isEnabled());
}

// The history dialog names a changed column as the screen shows it.
TEST_F(FilterDialog, TheScreenGivesTheCaptionItShowsForAStoredColumn)
{
    const struct {
        const char* table;
        const char* column;
        QString caption;
    } cases[] = {{"SUBGRUSEMA", "NRORDSUMA", u"Clas."_s},
                 {"SUBGRUSEMA", "DTAPRESUMA", u"Apresentação"_s},
                 {"SUBGRUSEMA", "CDPRODUTOPRI", u"Sub-grupo Principal"_s},
                 {"SUBGRUSEMA", "NMFOTOSUMA", u"NMFOTOSUMA"_s},
                 {"EQUISUBSEMA", "QTEQUISUMA", u"Quantidade"_s},
                 {"PRODRECSEMA", "CDPRODINSUMO", u"Código"_s},
                 {"HISTLOTE", "NMUSUARIO", u"NMUSUARIO"_s}};
    const MainScreen& screen = f();
    for (const auto& c : cases)
        EXPECT_EQ(screen.fieldCaption(QString::fromLatin1(c.table), QString::fromLatin1(c.column)), c.caption)
            << c.table << "." << c.column;
}

class ImportDialog : public ::testing::Test {
protected:
    ImportDialog()
    {
        Cli_qmv00503::stLista.clear();
        Cli_qmv00503::stListaOrigem.clear();
        // The origin: branch 0002's copy of the service, with a photo of its own for S1.
        QSqlQuery insert(s.database().db());
        insert.prepare("INSERT INTO FOTOSEMA VALUES ('S1', 'E4', ?)");
        insert.addBindValue(QByteArray("origin-photo"));
        EXPECT_TRUE(insert.exec());
    }

    TfrmFotoMontManual& f() { return s.form(); }

    // Opens the dialog; `act` runs inside it after its activation.
    void open(std::function<void(TfrmImpFotoMan&)> act)
    {
        s.ui().actInModal([act](QWidget& form) {
            auto& dialog = static_cast<TfrmImpFotoMan&>(form);
            dialog.FormActivate();
            act(dialog);
        });
        named<TButtonFlat>(f(), "sbtImpFoto")->Click();
    }

    static void type(QLineEdit& box, const QString& text)
    {
        box.setFocus();
        box.selectAll();
        QTest::keyClicks(&box, text);
    }

    static void typeOrigin(TfrmImpFotoMan& d, const QString& branch, const QString& manual, const QString& service)
    {
        type(*d.medFilialOri, branch);
        type(*d.medManualOri, manual);
        type(*d.medServOrig, service);
    }

    QByteArray photoOf(const char* espeProd)
    {
        QSqlQuery q(s.database().db());
        q.prepare("SELECT FGESPEPROD FROM FOTOSEMA WHERE CDESPEPROD = ?");
        q.addBindValue(QString::fromLatin1(espeProd));
        return q.exec() && q.next() ? q.value(0).toByteArray() : QByteArray();
    }

    test::LoadedScreen s;
};

TEST_F(ImportDialog, RefusesInTheOrderOfItsChecksAndSendsNothing)
{
    struct Case {
        const char* what;
        QString branch, manual, service;
        bool list;
        const char* error;
    };
    const Case cases[] = {
        {"no branch", "", "0001", "1.01.001", false, "Filial deve ser informada."},
        {"unknown branch", "0009", "0001", "1.01.001", false, "Filial não cadastrada."},
        {"no manual", "0002", "", "1.01.001", false, "Manual deve ser informado."},
        {"no service", "0002", "0001", "", false, "Serviço deve ser informado."},
        {"unknown service", "0002", "0001", "9.99.999", false, "Serviço não cadastrado."},
        {"list never chosen", "0002", "0001", "1.01.001", true, "Sub-grupo deve ser informado."},
        {"origin is the destination", "0001", "0001", "1.01.001", false,
         "Não é possivel fazer importação de foto para mesma filial, companhia, manual e serviço."},
    };
    for (const Case& c : cases) {
        s.ui().errors.clear();
        open([&](TfrmImpFotoMan& d) {
            typeOrigin(d, c.branch, c.manual, c.service);
            d.rbtLista->setChecked(c.list);
            d.sbtConfirma->Click();
            EXPECT_TRUE(d.isVisible()) << c.what;
        });
        EXPECT_EQ(s.ui().errors.value(0), QString::fromUtf8(c.error)) << c.what;
        EXPECT_TRUE(s.ui().questions.isEmpty()) << c.what;
        EXPECT_TRUE(s.takeCalls().filter("ImportaFoto").isEmpty()) << c.what;
    }
}

TEST_F(ImportDialog, AllSubGroupsAfterYesCopiesThePhotosAndReloadsTheMainScreen)
{
    s.ui().answerYesNo(false);
    s.ui().answerYesNo(true);
    s.ui().answerYesNo(false);  // the import is kept, not undone at once
    open([&](TfrmImpFotoMan& d) {
        EXPECT_EQ(d.medFilialDes->text(), "0001");
        EXPECT_EQ(d.edtDsServico->text(), f().selection().rows().edtDsServico->text());
        typeOrigin(d, "0002", "0001", "1.01.001");
        d.sbtConfirma->Click();  // No: nothing sent, the dialog stays
        EXPECT_TRUE(d.isVisible());
        EXPECT_TRUE(s.takeCalls().filter("ImportaFoto").isEmpty());
        d.sbtConfirma->Click();
    });
    const QStringList calls = s.takeCalls();
    EXPECT_EQ(calls.filter("ImportaFoto"),
              QStringList({R"(ImportaFoto("0002","0001","0001","0000001001","0001","0001","0000001001","","T"))"}));
    EXPECT_EQ(calls.last(), R"(GetSubGruSeMa("0001","0001","0001","000000100100010001","2","2"))");
    EXPECT_EQ(photoOf("E1"), QByteArray("origin-photo"));
    EXPECT_EQ(photoOf("E4"), QByteArray("origin-photo"));  // the origin is unchanged
}

TEST_F(ImportDialog, AListIsRememberedForItsOriginOnlyAndTodosDoesNotSendIt)
{
    s.ui().answerSearchMany([](DataSource&, const QString&, const QStringList&) {
        return QStringList({"3.01.001", "3.01.002"});
    });
    for (const bool yes : {true, false})  // confirmed, and kept
        s.ui().answerYesNo(yes);
    open([&](TfrmImpFotoMan& d) {
        typeOrigin(d, "0002", "0001", "1.01.001");
        d.medServOrig->setFocus();
        d.rbtLista->setChecked(true);
        d.btnSubGrupo->click();
        d.sbtConfirma->Click();
    });
    const QString sent = s.takeCalls().filter("ImportaFoto").value(0);
    EXPECT_TRUE(sent.endsWith(R"(,"'3.01.001','3.01.002'",""))")) << sent.toStdString();

    // The next opening sends the same list for the same origin; "Todos" sends none.
    for (const bool yes : {true, false, true, false})
        s.ui().answerYesNo(yes);
    open([&](TfrmImpFotoMan& d) {
        typeOrigin(d, "0002", "0001", "1.01.001");
        d.rbtLista->setChecked(true);
        d.sbtConfirma->Click();
    });
    open([&](TfrmImpFotoMan& d) {
        typeOrigin(d, "0002", "0001", "1.01.001");
        d.sbtConfirma->Click();
    });
    const QStringList imports = s.takeCalls().filter("ImportaFoto");
    ASSERT_EQ(imports.size(), 2);
    EXPECT_EQ(imports[0], sent);
    EXPECT_TRUE(imports[1].endsWith(R"(,"","T"))"));
    EXPECT_FALSE(Cli_qmv00503::stLista.isEmpty());

    // For another origin the list is stale: refused, never sent.
    open([&](TfrmImpFotoMan& d) {
        typeOrigin(d, "0001", "0001", "1.01.002");
        d.rbtLista->setChecked(true);
        d.sbtConfirma->Click();
    });
    EXPECT_EQ(s.ui().errors.value(0), "Sub-grupo deve ser informado.");
}

}  // namespace
}  // namespace qmv
