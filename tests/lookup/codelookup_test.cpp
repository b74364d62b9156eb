// The code lookup group on real lookups (SQLite): the change cascade, the copy order after a
// choice, the exit validations with their messages and focus, Vd_Filial, and which focus
// changes count as leaving the code edit.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "host/abort.h"
#include "host/routines.h"
#include "host/tbtnpesquisa.h"
#include "lookup/codelookup.h"
#include "lookup/lookupdb.h"
#include "lookup/lookupqueries.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

const QString kCiaInv = QStringLiteral("Companhia não cadastrada.");
const QString kManInv = QStringLiteral("Manual não cadastrado.");
const QString kFilialNull = QStringLiteral("Filial deve ser informada.");
const QString kFilialInv = QStringLiteral("Filial não cadastrada.");

// Branch, company and manual rows wired as a selection panel wires them, plus one control
// outside the panel to leave to.
class Groups : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(db_.available());
        auto* layout = new QVBoxLayout(&window_);
        for (QWidget* e : std::initializer_list<QWidget*>{&medFilial, &edtNmFilial, &medCdCia,
                                                          &btpCompanhia, &edtNmCia, &medCdManCia,
                                                          &edtDsManCia, &outside})
            layout->addWidget(e);
        for (QLineEdit* e : {&edtNmFilial, &edtNmCia, &edtDsManCia})
            CodeLookup::makeNameBox(*e);

        filial.setSource(qryFilial.get(), "CDFILIAL", "NMFILIAL");
        filial.setDependent(&medCdCia);
        filial.findExact = [this](const QString& code) {
            qryFilial->Close();
            qryFilial->ParamByName("P_CDFILIAL").setAsString(code);
            qryFilial->ParamByName("P_TCDFILIAL").setAsString("");
            qryFilial->Open();
            return !qryFilial->IsEmpty();
        };
        filial.onExit = [this] { Vd_Filial(false); };

        cia.setUpperCaseEntry(5);
        cia.setSource(qryCompanhia.get(), "SGCIA", "NMCIA");
        cia.setDependent(&medCdManCia);
        cia.findExact = [this](const QString& code) {
            ++ciaLookups;
            qryCompanhia->Close();
            qryCompanhia->ParamByName("P_CDFILIAL").setAsString(medFilial.text());
            qryCompanhia->ParamByName("P_SGCIA").setAsString(code);
            qryCompanhia->ParamByName("P_TSGCIA").setAsString("");
            qryCompanhia->Open();
            return !qryCompanhia->IsEmpty();
        };
        cia.onAfterCopy = [this](DataSet& row) {
            log << "state";
            stCdCia = row.fieldByName("CDCIA").asString();
            qryManualCia->Close();
            qryManualCia->ParamByName("P_CDCIA").setAsString(stCdCia);
        };
        cia.onExit = [this] { cia.validateTyped(kCiaInv); };
        cia.onBeforeList = [this] {
            qryCompanhia->Close();
            qryCompanhia->ParamByName("P_CDFILIAL").setAsString(medFilial.text());
            qryCompanhia->ParamByName("P_TSGCIA").setAsString("T");
            qryCompanhia->ParamByName("P_SGCIA").setAsString("");
            qryCompanhia->Open();
        };
        cia.bindButton(btpCompanhia);
        btpCompanhia.setTitle("Companhia");
        btpCompanhia.setEmptyError("Não há companhia cadastrada para a filial cadastrada.");

        manual.setUpperCaseEntry(4);
        manual.setSource(qryManualCia.get(), "CDMANCIA", "DSMANUAL");
        manual.findExact = [this](const QString& code) {
            qryManualCia->Close();
            qryManualCia->ParamByName("P_CDFILIAL").setAsString(medFilial.text());
            qryManualCia->ParamByName("P_CDMANCIA").setAsString(Ajusta(code, 4));
            qryManualCia->ParamByName("P_TCDMANCIA").clear();
            qryManualCia->Open();
            return !qryManualCia->IsEmpty();
        };
        manual.onAfterCopy = [this](DataSet& row) {
            stCdManCia = row.fieldByName("CDMANCIA").asString();
        };
        manual.onExit = [this] { manual.validateTyped(kManInv); };

        QObject::connect(&medCdCia, &QLineEdit::textChanged, [this] { log << "code"; });
        QObject::connect(&edtNmCia, &QLineEdit::textChanged, [this] { log << "name"; });

        window_.show();
        QApplication::setActiveWindow(&window_);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    }

    void Vd_Filial(bool required)
    {
        filial.validateRequired(required, {4, kFilialNull, kFilialInv, true});
    }

    // The user moves the focus into a field, types, and tabs to the next control.
    void typeAndLeave(QLineEdit& edit, const QString& text, QWidget& next)
    {
        edit.setFocus(Qt::TabFocusReason);
        edit.setText(text);
        next.setFocus(Qt::TabFocusReason);
    }

    void chooseCompany(const QString& sgcia)
    {
        qryCompanhia->Close();
        qryCompanhia->ParamByName("P_CDFILIAL").setAsString(medFilial.text());
        qryCompanhia->ParamByName("P_TSGCIA").setAsString("T");
        qryCompanhia->ParamByName("P_SGCIA").setAsString("");
        qryCompanhia->Open();
        ASSERT_TRUE(qryCompanhia->locate("SGCIA", {sgcia}));
        cia.afterList();
    }

    void fillValidKey()
    {
        medFilial.setText("0001");
        edtNmFilial.setText("Cozinha Guarulhos");
        chooseCompany("AIR");
        typeAndLeave(medCdManCia, "1", outside);
    }

    test::LookupDb db_{"QSQLITE"};
    dtmDBGeral module_{db_.driver(), db_.name()};
    std::unique_ptr<TADOIBQuery> qryFilial = makeQryFilial(module_);
    std::unique_ptr<TADOIBQuery> qryCompanhia = makeQryCompanhia(module_);
    std::unique_ptr<TADOIBQuery> qryManualCia = makeQryManualCia(module_);
    ScriptedUi ui_;
    QWidget window_;
    QLineEdit medFilial, edtNmFilial, medCdCia, edtNmCia, medCdManCia, edtDsManCia, outside;
    TBtnPesquisa btpCompanhia{nullptr, "btpCompanhia"};
    CodeLookup filial{medFilial, edtNmFilial};
    CodeLookup cia{medCdCia, edtNmCia};
    CodeLookup manual{medCdManCia, edtDsManCia};
    QString stCdCia, stCdManCia;
    QStringList log;
    int ciaLookups = 0;
};

TEST_F(Groups, ABranchChangeClearsItsNameAndCascadesThroughCompanyAndManual)
{
    fillValidKey();
    ASSERT_EQ(edtDsManCia.text(), "Manual de Bordo");
    medFilial.setText("0002");
    EXPECT_EQ(edtNmFilial.text(), "");
    EXPECT_EQ(medCdCia.text(), "");
    EXPECT_EQ(edtNmCia.text(), "");
    EXPECT_EQ(medCdManCia.text(), "");
    EXPECT_EQ(edtDsManCia.text(), "");
    EXPECT_EQ(stCdCia, "0010");  // the kept state is never cleared
    EXPECT_TRUE(ui_.errors.isEmpty());
}

TEST_F(Groups, ChoosingADifferentCompanyClearsManualButTheSameOneKeepsIt)
{
    fillValidKey();
    chooseCompany("AIR");
    EXPECT_EQ(medCdManCia.text(), "0001");
    EXPECT_EQ(edtDsManCia.text(), "Manual de Bordo");

    chooseCompany("BUS");
    EXPECT_EQ(medCdCia.text(), "BUS");
    EXPECT_EQ(edtNmCia.text(), "Viação Rodoviária");
    EXPECT_EQ(stCdCia, "0020");
    EXPECT_EQ(medCdManCia.text(), "");
    EXPECT_EQ(edtDsManCia.text(), "");
}

TEST_F(Groups, AChoiceIsCopiedCodeFirstThenNameThenState)
{
    medFilial.setText("0001");
    log.clear();
    chooseCompany("BUS");
    // The code's change clears the (already empty) name box before the name is written.
    EXPECT_EQ(log, QStringList({"code", "name", "state"}));
    log.clear();
    chooseCompany("BUS");
    EXPECT_EQ(log, QStringList({"state"}));  // same code, same name: nothing written changes
}

TEST_F(Groups, ChoosingACompanyPrimesTheManualQueryWithItsCode)
{
    medFilial.setText("0001");
    chooseCompany("BUS");
    EXPECT_FALSE(qryManualCia->Active());
    EXPECT_EQ(qryManualCia->ParamByName("P_CDCIA").asString(), "0020");
    typeAndLeave(medCdManCia, "0001", outside);
    EXPECT_EQ(edtDsManCia.text(), "Manual Rodoviário");
}

TEST_F(Groups, LeavingATypedCompanyLooksItUpInUpperCase)
{
    medFilial.setText("0001");
    typeAndLeave(medCdCia, "bus", medCdManCia);
    EXPECT_EQ(medCdCia.text(), "BUS");
    EXPECT_EQ(edtNmCia.text(), "Viação Rodoviária");
    EXPECT_EQ(stCdCia, "0020");
    EXPECT_EQ(QApplication::focusWidget(), &medCdManCia);
    EXPECT_TRUE(ui_.errors.isEmpty());
}

TEST_F(Groups, AnUnknownCompanyGivesItsMessageAndKeepsTheFocus)
{
    medFilial.setText("0002");
    typeAndLeave(medCdCia, "BUS", medCdManCia);  // BUS is not served by branch 0002
    EXPECT_EQ(ui_.errors, QStringList({kCiaInv}));
    EXPECT_EQ(QApplication::focusWidget(), &medCdCia);
    EXPECT_EQ(medCdCia.text(), "BUS");
    EXPECT_EQ(edtNmCia.text(), "");
    EXPECT_EQ(stCdCia, "");

    outside.setFocus(Qt::TabFocusReason);  // the next exit validates again
    EXPECT_EQ(ui_.errors, QStringList({kCiaInv, kCiaInv}));
}

TEST_F(Groups, LeavingANamedOrEmptyCompanyDoesNotQuery)
{
    medFilial.setText("0001");
    typeAndLeave(medCdCia, "", outside);
    EXPECT_EQ(ciaLookups, 0);
    chooseCompany("AIR");
    medCdCia.setFocus(Qt::TabFocusReason);
    outside.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(ciaLookups, 0);
    typeAndLeave(medCdCia, "   ", outside);
    EXPECT_EQ(ciaLookups, 0);
    EXPECT_TRUE(ui_.errors.isEmpty());
}

TEST_F(Groups, ATypedManualIsZeroFilledForTheLookupAndShownAsFound)
{
    medFilial.setText("0001");
    chooseCompany("AIR");
    typeAndLeave(medCdManCia, "2", outside);
    EXPECT_EQ(qryManualCia->ParamByName("P_CDMANCIA").asString(), "0002");
    EXPECT_TRUE(qryManualCia->ParamByName("P_TCDMANCIA").isNull());
    EXPECT_EQ(medCdManCia.text(), "0002");
    EXPECT_EQ(edtDsManCia.text(), "Manual de Bordo Verão");
    EXPECT_EQ(stCdManCia, "0002");
}

TEST_F(Groups, AManualOfAnotherTypeIsNotRegistered)
{
    medFilial.setText("0001");
    chooseCompany("AIR");
    typeAndLeave(medCdManCia, "3", outside);
    EXPECT_EQ(ui_.errors, QStringList({kManInv}));
    EXPECT_EQ(QApplication::focusWidget(), &medCdManCia);
    EXPECT_EQ(stCdManCia, "");
}

TEST_F(Groups, TheManualUsesTheCompanyLastChosenEvenAfterItsEditWasCleared)
{
    medFilial.setText("0001");
    chooseCompany("BUS");
    medCdCia.setText("");
    typeAndLeave(medCdManCia, "1", outside);
    EXPECT_EQ(edtDsManCia.text(), "Manual Rodoviário");
}

TEST_F(Groups, VdFilialOnItsOwnExitIgnoresAnEmptyBranch)
{
    typeAndLeave(medFilial, "", outside);
    EXPECT_TRUE(ui_.errors.isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), &outside);
}

TEST_F(Groups, VdFilialZeroFillsLooksUpAndNamesTheBranch)
{
    typeAndLeave(medFilial, "2", outside);
    EXPECT_EQ(medFilial.text(), "0002");
    EXPECT_EQ(edtNmFilial.text(), "Cozinha Galeão");
    EXPECT_TRUE(ui_.errors.isEmpty());
}

TEST_F(Groups, VdFilialRunsEvenWhenTheNameIsShown)
{
    typeAndLeave(medFilial, "1", outside);
    ASSERT_EQ(edtNmFilial.text(), "Cozinha Guarulhos");
    db_.exec("UPDATE FILIAL SET NMFILIAL = 'Guarulhos Nova' WHERE CDFILIAL = '0001'");
    medFilial.setFocus(Qt::TabFocusReason);
    outside.setFocus(Qt::TabFocusReason);
    EXPECT_EQ(edtNmFilial.text(), "Guarulhos Nova");
}

TEST_F(Groups, VdFilialRequiredReportsAnEmptyBranchAndFocusesIt)
{
    outside.setFocus(Qt::TabFocusReason);
    EXPECT_THROW(Vd_Filial(true), Abort);
    EXPECT_EQ(ui_.errors, QStringList({kFilialNull}));
    EXPECT_EQ(QApplication::focusWidget(), &medFilial);
}

TEST_F(Groups, VdFilialReportsAnUnknownBranchAndKeepsTheFocus)
{
    typeAndLeave(medFilial, "9", outside);
    EXPECT_EQ(ui_.errors, QStringList({kFilialInv}));
    EXPECT_EQ(medFilial.text(), "0009");
    EXPECT_EQ(edtNmFilial.text(), "");
    EXPECT_EQ(QApplication::focusWidget(), &medFilial);
}

TEST_F(Groups, VdFilialDoesNotFocusADisabledBranch)
{
    medFilial.setText("0009");
    medFilial.setEnabled(false);
    outside.setFocus(Qt::TabFocusReason);
    EXPECT_THROW(Vd_Filial(true), Abort);
    EXPECT_EQ(ui_.errors, QStringList({kFilialInv}));
    EXPECT_EQ(QApplication::focusWidget(), &outside);
}

TEST_F(Groups, ADatabaseFailureOnExitIsShownAndTheFocusStaysOnTheCode)
{
    medFilial.setText("0001");
    db_.exec("DROP TABLE CIAFILI");
    typeAndLeave(medCdCia, "AIR", outside);
    ASSERT_EQ(ui_.errors.size(), 1);
    EXPECT_TRUE(ui_.errors[0].contains("CIAFILI", Qt::CaseInsensitive)) << ui_.errors[0].toStdString();
    EXPECT_EQ(QApplication::focusWidget(), &medCdCia);
}

TEST_F(Groups, AFocusChangeToAnotherWindowOrNowhereIsNotAnExit)
{
    medFilial.setText("0001");
    medCdCia.setFocus(Qt::TabFocusReason);
    medCdCia.setText("ZZZ");
    QWidget other;
    QLineEdit otherEdit(&other);
    other.show();
    QApplication::setActiveWindow(&other);
    otherEdit.setFocus(Qt::OtherFocusReason);
    medCdCia.clearFocus();
    EXPECT_TRUE(ui_.errors.isEmpty());
    EXPECT_EQ(ciaLookups, 0);
}

TEST_F(Groups, DisablingOrHidingTheFocusedCodeIsNotAnExit)
{
    medFilial.setFocus(Qt::TabFocusReason);
    medFilial.setText("0009");
    medFilial.setEnabled(false);
    medCdCia.setFocus(Qt::TabFocusReason);
    medCdCia.setText("ZZZ");
    medCdCia.hide();
    EXPECT_TRUE(ui_.errors.isEmpty());
    EXPECT_EQ(ciaLookups, 0);
}

// Picks the row whose `field` is `value` in the list the button shows.
ScriptedUi::SearchAnswer pick(const QString& field, const QString& value)
{
    return [=](DataSource& source, const QString&) {
        return source.dataSet()->locate(field, {value});
    };
}

TEST_F(Groups, TheButtonListsTheBranchsCompaniesAndCopiesThePickedOne)
{
    medFilial.setText("0001");
    outside.setFocus(Qt::TabFocusReason);
    ui_.answerSearch([](DataSource& source, const QString&) {
        DataSet& ds = *source.dataSet();
        EXPECT_EQ(ds.recordCount(), 2);
        EXPECT_FALSE(ds.fieldByName("CDCIA").visible());
        return ds.locate("SGCIA", {"BUS"});
    });
    btpCompanhia.click();
    EXPECT_EQ(ui_.searchTitles, QStringList({"Companhia"}));
    EXPECT_EQ(medCdCia.text(), "BUS");
    EXPECT_EQ(edtNmCia.text(), "Viação Rodoviária");
    EXPECT_EQ(stCdCia, "0020");
    EXPECT_EQ(QApplication::focusWidget(), &medCdCia);  // the button hands the focus to the code
    EXPECT_TRUE(ui_.errors.isEmpty());
}

TEST_F(Groups, AListDismissedChangesNothing)
{
    fillValidKey();
    ui_.answerSearch([](DataSource&, const QString&) { return false; });
    btpCompanhia.click();
    EXPECT_EQ(medCdCia.text(), "AIR");
    EXPECT_EQ(medCdManCia.text(), "0001");
    EXPECT_EQ(stCdCia, "0010");
}

TEST_F(Groups, AnEmptyListShowsTheButtonsEmptyError)
{
    medFilial.setText("0003");
    btpCompanhia.click();
    EXPECT_EQ(ui_.errors, QStringList({"Não há companhia cadastrada para a filial cadastrada."}));
    EXPECT_TRUE(ui_.searchTitles.isEmpty());
    EXPECT_EQ(medCdCia.text(), "");
}

TEST_F(Groups, PickingTheSameCompanyFromTheListKeepsManual)
{
    fillValidKey();
    ui_.answerSearch(pick("SGCIA", "AIR"));
    btpCompanhia.click();
    EXPECT_EQ(medCdManCia.text(), "0001");
    EXPECT_EQ(edtDsManCia.text(), "Manual de Bordo");
}

TEST_F(Groups, AMaskedCodeShowingOnlyItsLiteralsIsEmpty)
{
    medCdCia.setValidator(nullptr);
    medCdCia.setInputMask("9.99.999; ");
    EXPECT_EQ(cia.code(), "");
    typeAndLeave(medCdCia, "", outside);
    EXPECT_EQ(ciaLookups, 0);
    medCdCia.setText("1.01.001");
    EXPECT_EQ(cia.code(), "1.01.001");
    medCdCia.setText("1");
    EXPECT_EQ(cia.code(), "1..");
}

TEST_F(Groups, UpperCaseEntryCutsToTheMaximumLength)
{
    medCdCia.setFocus(Qt::TabFocusReason);
    QTest::keyClicks(&medCdCia, "abcdefg");
    EXPECT_EQ(medCdCia.text(), "ABCDE");
    EXPECT_EQ(edtNmCia.focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(edtNmCia.isReadOnly());
}

}  // namespace
}  // namespace qmv
