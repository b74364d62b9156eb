// What a person reads on the real screens: texts shown whole in their boxes and cells at the
// screen's default size and the host's font, the program named once in the title, Qt's file dialog
// in Portuguese, and a message box that a key held down closes once.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QFontComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QProcess>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "Cli_qmv00500/equipmentlist.h"
#include "Cli_qmv00500/productlist.h"
#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "Cli_qmv00506/cli_qmv00506.h"
#include "host/controls.h"
#include "host/formatpanel.h"
#include "host/shell/hostlook.h"
#include "host/shell/shellwindow.h"
#include "host/tcustompagecontrol98.h"
#include "host/ui.h"
#include "platform/dbgrid.h"
#include "realwindow/realshell.h"
#include "support/named.h"

namespace qmv {
namespace {

using test::named;

using test::RealShell;

// Sends keys through the display's own keyboard (xdotool), as a person's keyboard does, with the
// repeats the display makes of a key held down; Qt's events keep flowing meanwhile.
void keyboard(const QStringList& args)
{
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), args);
    ASSERT_TRUE(xdotool.waitForStarted()) << "xdotool is not installed";
    ASSERT_TRUE(test::eventually([&xdotool] { return xdotool.state() == QProcess::NotRunning; }, 10000));
}

class Visible : public ::testing::Test {
protected:
    TfrmFotoMontManual& f() { return s.form(); }

    void loadService()
    {
        s.typeKey("CIA1", "1", "1.01.001");
        ASSERT_TRUE(f().loaded()) << s.messages.join('|').toStdString();
    }

    void showEquipment()
    {
        s.clickTab(*f().pgcPadrao, f().pages().sheet(MainPage::FotoServ));
        s.clickTab(f().pages().inner(), f().pages().innerSheet(InnerPage::Equipamento));
        ASSERT_GT(f().equipmentList().records().recordCount(), 0);
    }

    RealShell s;
};

// A text and the room it has, in pixels.
struct Fit {
    std::string what;
    int needed;
    int room;
};

// A name longer than its box shows its start: the caret at the start is at the box's left edge.
Fit startShown(const std::string& what, QComboBox& box)
{
    QLineEdit& edit = *box.lineEdit();
    return {what + " \"" + edit.text().toStdString() + "\" from its start", edit.inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), 4};
}

Fit lineEditFit(const std::string& what, QComboBox& box)
{
    QLineEdit& edit = *box.lineEdit();
    return {what + " \"" + edit.text().toStdString() + "\"", edit.fontMetrics().horizontalAdvance(edit.text()) + 4,
            edit.width()};
}

QList<Fit> columnFits(DBGrid& grid, const QString& field)
{
    const int column = IndiceCol(grid, field);
    QList<Fit> fits;
    const std::string name = field.toStdString();
    fits << Fit{name + " title", grid.horizontalHeader()->sectionSizeHint(column), grid.columnWidth(column)};
    fits << Fit{name + " in view", grid.columnViewportPosition(column) + grid.columnWidth(column),
                grid.viewport()->width()};
    for (int row = 0; row < grid.model()->rowCount(); ++row) {
        const QModelIndex cell = grid.model()->index(row, column);
        QStyleOptionViewItem option;
        option.initFrom(grid.viewport());
        fits << Fit{name + " \"" + cell.data().toString().toStdString() + "\"",
                    grid.itemDelegateForIndex(cell)->sizeHint(option, cell).width() + 1, grid.columnWidth(column)};
    }
    return fits;
}

TEST_F(Visible, BoxesAndCellsShowTheirTextsWhole)
{
    loadService();
    QList<Fit> fits;
    showEquipment();
    fits << columnFits(*named<DBGrid>(f(), "dbgEquiSubSeMa"), QStringLiteral("QTEQUISUMA"));
    s.clickTab(f().pages().inner(), f().pages().innerSheet(InnerPage::InstMont));
    fits << startShown("font box", *named<TFormatPanel>(f(), "fpnMontagem")->fontBox())
         << lineEditFit("size box", *named<TFormatPanel>(f(), "fpnMontagem")->sizeBox());
    s.clickTab(*f().pgcPadrao, f().pages().sheet(MainPage::ProdRec));
    ASSERT_GT(f().products().records().recordCount(), 1);
    fits << columnFits(*named<DBGrid>(f(), "dbgProRecSeMa"), QStringLiteral("SGUNIDADE"));

    s.onOtherModal = [&fits](QWidget& dialog) {
        if (auto* bar = dialog.findChild<TFormatPanel*>())
            fits << lineEditFit("observation size box", *bar->sizeBox());
        dialog.close();
    };
    Cli_qmv00506::CriaObsSubGrupo();

    // The window manager's title bar: its usual font (bold sans at 10 points), as high as the frame's
    // top, with an icon and three buttons about as wide.
    s.onMessage = [&fits](QMessageBox& box) {
        QFont bold(QStringLiteral("Sans"), 10, QFont::Bold);
        const int bar = box.geometry().top() - box.frameGeometry().top();
        fits << Fit{"message title", QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + 5 * bar,
                    box.frameGeometry().width()};
        box.accept();
    };
    ui().showError(QStringLiteral("Quantidade deve ser informada."));

    ASSERT_GE(fits.size(), 10);
    for (const Fit& fit : fits)
        EXPECT_LE(fit.needed, fit.room) << fit.what;
}

TEST_F(Visible, TheMaximisedScreenAndTheProgramAreNamedOnceInTheTitle)
{
    auto* frame = qobject_cast<QMdiSubWindow*>(f().parentWidget());
    ASSERT_NE(frame, nullptr);
    frame->showMaximized();
    s.settle(500);
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), {"getwindowname", QString::number(s.shell().winId())});
    ASSERT_TRUE(xdotool.waitForFinished(5000));
    const QString title = QString::fromUtf8(xdotool.readAllStandardOutput()).trimmed();
    EXPECT_EQ(title.count(QString::fromUtf8(hostDisplayName)), 1) << title.toStdString();
    EXPECT_TRUE(title.contains(f().windowTitle())) << title.toStdString();
}

TEST_F(Visible, TheFileDialogNamesFoldersInPortuguese)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("fotos")));
    QString type;
    s.onOtherModal = [&](QWidget& dialog) {
        auto* files = dialog.findChild<QFileSystemModel*>();
        if (files) {
            static_cast<QFileDialog&>(dialog).setDirectory(dir.path());
            const QModelIndex folder = files->index(dir.filePath(QStringLiteral("fotos")));
            test::eventually([&] { return !files->data(folder.siblingAtColumn(2)).toString().isEmpty(); });
            type = files->data(folder.siblingAtColumn(2)).toString();
        }
        dialog.close();
    };
    ui().openFile({QStringLiteral("Abrir"), QStringLiteral("Todos|*.*"), 1, {}, {}});
    EXPECT_EQ(type, "Pasta");
}

// The message comes from Ctrl+Enter (confirm) with a zero quantity; the keys are held long enough
// for the display to repeat them, before and after the box is answered. The box's own loop runs
// while the keyboard plays, so what is seen midway is taken by a timer.
TEST_F(Visible, AMessageShownFromAKeyIsClosedOnceByEnter)
{
    loadService();
    showEquipment();
    DBGrid& grid = *named<DBGrid>(f(), "dbgEquiSubSeMa");
    const QModelIndex quantity = grid.model()->index(0, IndiceCol(grid, QStringLiteral("QTEQUISUMA")));
    grid.scrollTo(quantity);
    s.click(*grid.viewport(), grid.visualRect(quantity).center());
    s.type("0");
    s.press(Qt::Key_Return);
    s.onMessage = [](QMessageBox&) {};  // answered by the keyboard below
    bool openAfterTheHold = false;
    QTimer::singleShot(2300, [&openAfterTheHold] {
        openAfterTheHold = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr;
    });
    QTimer::singleShot(9000, [] {  // a box left open fails the test instead of hanging it
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->reject();
    });
    keyboard({"keydown", "ctrl", "keydown", "Return", "sleep", "1.5", "keyup", "Return", "keyup", "ctrl", "sleep",
              "1.5", "keydown", "Return", "sleep", "1.5", "keyup", "Return"});
    s.settle(500);
    EXPECT_TRUE(openAfterTheHold) << "a repeat closed it";
    EXPECT_EQ(s.messages, QStringList{"Quantidade deve ser informada."});
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    s.onMessage = nullptr;
    f().equipmentList().records().cancel();
}

}  // namespace
}  // namespace qmv
