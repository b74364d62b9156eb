#include "Cli_qmv00500/loadedscreen.h"

#include <QAbstractItemView>
#include <QSqlQuery>
#include <QTabBar>
#include <QTest>

#include "Cli_qmv00500/cli_qmv00500.h"
#include "Cli_qmv00500/screenpages.h"
#include "Cli_qmv00500/subgroupsheet.h"
#include "host/tcustompagecontrol98.h"
#include "platform/dataset.h"
#include "platform/dbgrid.h"

namespace qmv::test {

LoadedScreen::LoadedScreen()
{
    screen_.typeKey(QStringLiteral("cia1"), QStringLiteral("1"), QStringLiteral("1.01.001"));
    screen_.leavePanel();
    if (!screen_.ui().errors.isEmpty() || form().subGroupSheet().records().recordCount() != 3)
        ADD_FAILURE() << "the demo selection did not load: " << screen_.ui().errors.join('|').toStdString();
    transport().clearLog();
    Cli_qmv00500::frmFotoMontManual = &form();  // the dialogs reach the screen through it
}

QStringList LoadedScreen::takeCalls()
{
    QStringList calls = transport().calls();
    transport().clearLog();
    return calls;
}

namespace {

void clickTab(QTabWidget& pages, QWidget& page)
{
    QTabBar& bar = *pages.tabBar();
    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.tabRect(pages.indexOf(&page)).center());
    if (pages.currentWidget() != &page)
        ADD_FAILURE() << "the tab of " << page.objectName().toStdString() << " did not open its page";
}

}  // namespace

void LoadedScreen::choosePage(QWidget& page)
{
    clickTab(*form().pgcPadrao, page);
}

void LoadedScreen::chooseInnerPage(QWidget& page)
{
    clickTab(form().pages().inner(), page);
}

void LoadedScreen::goToRow(int row)
{
    DBGrid& grid = *form().dbgPadrao;
    grid.setCurrentIndex(grid.model()->index(row, grid.currentIndex().isValid() ? grid.currentIndex().column() : 0));
}

void LoadedScreen::typeInCell(const QString& field, const QString& text)
{
    DBGrid& grid = *form().dbgPadrao;
    int column = 0;
    while (column < grid.columnCount() && grid.columnField(column) != field)
        ++column;
    const QModelIndex cell = grid.model()->index(grid.currentIndex().row(), column);
    grid.setFocus();
    grid.setCurrentIndex(cell);
    grid.edit(cell);
    QWidget* editor = grid.indexWidget(cell) ? grid.indexWidget(cell) : QApplication::focusWidget();
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Tab);
}

QVariant LoadedScreen::stored(const QString& subGroup, const QString& column) const
{
    QSqlQuery query(database().db());
    query.prepare(QStringLiteral("SELECT %1 FROM SUBGRUSEMA WHERE CDFILIAL = '0001' AND CDSUBGRU = ? "
                                 "AND CDCLASSE = '0001'").arg(column));
    query.addBindValue(subGroup);
    if (!query.exec() || !query.next())
        return {};
    return query.value(0);
}

}  // namespace qmv::test
