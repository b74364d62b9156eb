// The dialogs' creation procedures: each dialog on its base form with its identification, created
// while its unit's flag is false, shown modally with the cursor and window state of its procedure,
// and its flag cleared by its closing.
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <gtest/gtest.h>

#include "Cli_qmv00501/cli_qmv00501.h"
#include "Cli_qmv00501/tfrmfiltrofotoman.h"
#include "Cli_qmv00502/cli_qmv00502.h"
#include "Cli_qmv00502/tfrmrelfotoman.h"
#include "Cli_qmv00503/cli_qmv00503.h"
#include "Cli_qmv00503/tfrmimpfotoman.h"
#include "Cli_qmv00505/cli_qmv00505.h"
#include "Cli_qmv00505/tfrmcadautequip.h"
#include "Cli_qmv00506/cli_qmv00506.h"
#include "Cli_qmv00506/tfrmobssubgrupo.h"
#include "module/packagetable.h"
#include "support/scriptedui.h"

namespace qmv {
namespace {

// A fresh package load for every test, and the dialogs left behind released at its end.
class Dialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        packageUnits().finalize();
        packageUnits().initialize();
    }
    void TearDown() override
    {
        delete Cli_qmv00501::frmFiltroFotoMan.data();
        delete Cli_qmv00502::frmRelFotoMan.data();
        delete Cli_qmv00503::frmImpFotoMan.data();
        delete Cli_qmv00505::frmCadAutEquip.data();
        delete Cli_qmv00506::frmObsSubGrupo.data();
    }

    ScriptedUi ui;
};

// What the window system does when the dialog comes to the front.
void activate(QWidget& form)
{
    QEvent activation(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&form, &activation);
}

struct Identity {
    QString caption;
    QString screenCode;
    QString helpFile;
    int helpContext;
    QSize size;
};

void expectIdentity(TfrmBase& form, const Identity& expected)
{
    EXPECT_EQ(form.windowTitle(), expected.caption);
    EXPECT_EQ(form.lblCodTela->text(), expected.screenCode);
    EXPECT_EQ(form.helpFile(), expected.helpFile);
    EXPECT_EQ(form.helpContext(), expected.helpContext);
    if (expected.size.isValid()) {
        EXPECT_EQ(form.size(), expected.size);
    }
}

TEST_F(Dialogs, FilterDialogIsModalOnCreationAndHiddenWhenClosed)
{
    ui.setCursor(CursorShape::Wait);
    bool flagInside = false;
    ui.actInModal([&](QWidget& form) {
        flagInside = Cli_qmv00501::boIDCriado;
        expectIdentity(static_cast<TfrmFiltroFotoMan&>(form),
                       {"Filtro de Foto Montagem do Manual", "QMV00501", {}, 0, {301, 148}});
    });
    Cli_qmv00501::CriaFiltroFoto();
    EXPECT_TRUE(flagInside);
    EXPECT_EQ(ui.modalForms, QStringList{"frmFiltroFotoMan"});
    EXPECT_EQ(ui.cursorDuringModal.value(0), CursorShape::Wait) << "the filter dialog leaves the cursor alone";
    EXPECT_EQ(ui.cursor(), CursorShape::Wait);
    EXPECT_FALSE(Cli_qmv00501::boIDCriado);
    ASSERT_TRUE(Cli_qmv00501::frmFiltroFotoMan) << "a closed filter dialog is hidden, not released";
    EXPECT_FALSE(Cli_qmv00501::frmFiltroFotoMan->isVisible());
}

TEST_F(Dialogs, FilterDialogStartsFromAllAndThenFromTheChoicesStoredAtClose)
{
    ui.actInModal([](QWidget& form) {
        activate(form);
        auto& filter = static_cast<TfrmFiltroFotoMan&>(form);
        EXPECT_EQ(filter.cbbIdFFoto->currentText(), QStringLiteral("Todas"));
        EXPECT_EQ(filter.cbbIdFMontagem->currentText(), QStringLiteral("Todos"));
        filter.cbbIdFFoto->setCurrentIndex(1);
        filter.cbbIdFMontagem->setCurrentIndex(0);
    });
    Cli_qmv00501::CriaFiltroFoto();
    EXPECT_EQ(Cli_qmv00501::Filtro.foto, QStringLiteral("1"));
    EXPECT_EQ(Cli_qmv00501::Filtro.montagem, QStringLiteral("0"));
    EXPECT_FALSE(Cli_qmv00501::boPrimVez);

    QPointer<TfrmFiltroFotoMan> first = Cli_qmv00501::frmFiltroFotoMan;
    ui.actInModal([&](QWidget& form) {
        activate(form);
        auto& filter = static_cast<TfrmFiltroFotoMan&>(form);
        EXPECT_NE(&filter, first.data()) << "the next opening creates a new dialog";
        EXPECT_EQ(filter.cbbIdFFoto->currentText(), QStringLiteral("Não Cadastrada"));
        EXPECT_EQ(filter.cbbIdFMontagem->currentText(), QStringLiteral("Cadastrado"));
    });
    Cli_qmv00501::CriaFiltroFoto();
    EXPECT_FALSE(first) << "the dialog hidden by the earlier closing is released";
}

TEST_F(Dialogs, FilterChoicesLastUntilThePackageIsUnloaded)
{
    ui.actInModal([](QWidget& form) {
        activate(form);
        static_cast<TfrmFiltroFotoMan&>(form).cbbIdFFoto->setCurrentIndex(0);
    });
    Cli_qmv00501::CriaFiltroFoto();
    packageUnits().finalize();
    EXPECT_TRUE(Cli_qmv00501::Filtro.foto.isEmpty());
    EXPECT_TRUE(Cli_qmv00501::Filtro.montagem.isEmpty());
    packageUnits().initialize();
    EXPECT_TRUE(Cli_qmv00501::boPrimVez);
    ui.actInModal([](QWidget& form) {
        activate(form);
        EXPECT_EQ(static_cast<TfrmFiltroFotoMan&>(form).cbbIdFFoto->currentIndex(), 2);
    });
    Cli_qmv00501::CriaFiltroFoto();
}

TEST_F(Dialogs, FilterDialogAlreadyOpenIsShownWithoutAnotherModalLoop)
{
    ui.actInModal([](QWidget&) {
        Cli_qmv00501::CriaFiltroFoto();
        EXPECT_TRUE(Cli_qmv00501::frmFiltroFotoMan->isVisible());
    });
    Cli_qmv00501::CriaFiltroFoto();
    EXPECT_EQ(ui.modalForms.size(), 1);
}

TEST_F(Dialogs, ReportFormShowsNormalWithTheDefaultCursor)
{
    Qt::WindowStates stateInside = Qt::WindowMaximized;
    ui.actInModal([&](QWidget& form) {
        stateInside = form.windowState();
        EXPECT_TRUE(Cli_qmv00502::boIdCriado);
        expectIdentity(static_cast<TfrmRelFotoMan&>(form), {"Foto Montagem do Manual", "QMV00502", "Qmvhelp.hlp", 10000502, {}});
        EXPECT_EQ(static_cast<TfrmRelFotoMan&>(form).lblCodRel->text(), QStringLiteral("QMV005"));
    });
    Cli_qmv00502::CriaRelFotoMan();
    EXPECT_EQ(ui.modalForms, QStringList{"frmRelFotoMan"});
    EXPECT_EQ(ui.cursorDuringModal.value(0), CursorShape::Default);
    EXPECT_EQ(stateInside, Qt::WindowNoState);
    EXPECT_FALSE(Cli_qmv00502::boIdCriado);
    EXPECT_EQ(ui.log.mid(0, 3), (QStringList{"cursor:wait", "cursor:default", "modal:frmRelFotoMan"}));
}

// The three routine dialogs keep the wait cursor while they are up and restore it once closed.
struct RoutineDialog {
    const char* name;
    void (*create)();
    bool* flag;
    Identity identity;
    bool normalAfter;
};

void PrintTo(const RoutineDialog& dialog, std::ostream* out)
{
    *out << dialog.name;
}

class RoutineDialogs : public Dialogs, public ::testing::WithParamInterface<RoutineDialog> {};

TEST_P(RoutineDialogs, KeepTheWaitCursorWhileOpenAndClearTheirFlagWhenClosed)
{
    const RoutineDialog& dialog = GetParam();
    QPointer<QWidget> shown;
    bool flagInside = false;
    ui.actInModal([&](QWidget& form) {
        shown = &form;
        flagInside = *dialog.flag;
        form.setWindowState(Qt::WindowMaximized);
        expectIdentity(dynamic_cast<TfrmBase&>(form), dialog.identity);
    });
    dialog.create();
    EXPECT_EQ(ui.modalForms, QStringList{QString::fromLatin1(dialog.name)});
    EXPECT_EQ(ui.cursorDuringModal.value(0), CursorShape::Wait);
    EXPECT_EQ(ui.cursor(), CursorShape::Default);
    EXPECT_EQ(ui.log.last(), QStringLiteral("cursor:default"));
    EXPECT_TRUE(flagInside);
    EXPECT_FALSE(*dialog.flag);
    if (dialog.normalAfter && shown) {
        EXPECT_EQ(shown->windowState(), Qt::WindowNoState);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Units, RoutineDialogs,
    ::testing::Values(
        RoutineDialog{"frmImpFotoMan", &Cli_qmv00503::CriaImpFotoMan, &Cli_qmv00503::boIdCriado,
                      {"Importação de Foto Montagem do Manual", "QMV00503", "Qmvhelp.hlp", 10000503, {512, 312}},
                      false},
        RoutineDialog{"frmObsSubGrupo", &Cli_qmv00506::CriaObsSubGrupo, &Cli_qmv00506::boStCriado,
                      {"Observação do Delivery", "RXT02203", "Rxthelp.hlp", 10102203, {489, 273}}, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Dialogs, ObservationEditorIgnoresTheRoutineFormsKeys)
{
    ui.actInModal([](QWidget& form) {
        auto& editor = static_cast<TfrmObsSubGrupo&>(form);
        int key = Qt::Key_Escape;
        editor.FormKeyDown(key, Qt::NoModifier);
        EXPECT_TRUE(editor.isVisible()) << "Esc must not close the observation editor";
        EXPECT_EQ(key, Qt::Key_Escape);
    });
    Cli_qmv00506::CriaObsSubGrupo();
}

}  // namespace
}  // namespace qmv
