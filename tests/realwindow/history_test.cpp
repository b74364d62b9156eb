// The history dialog in real windows: an order typed on the sheet and a photo replaced, then
// "Histórico..." (Ctrl+H) restores both; the database holds the first values again. With "Todo o
// serviço" it lists the changes of every sub-group of the service under their names.
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "Cli_qmv00500/tfrmfotomontmanual.h"
#include "Cli_qmv00507/tfrmhistsubgrupo.h"
#include "host/controls.h"
#include "host/tbuttonflat.h"
#include "platform/dataset.h"
#include "platform/dbgrid.h"
#include "realwindow/realshell.h"
#include "screenlink/mainscreen.h"
#include "server/catalogue.h"
#include "server/loadresult.h"

namespace qmv {
namespace {

using namespace Qt::StringLiterals;

constexpr int subGroupColumn = 2, whatColumn = 3;

QVariant stored(test::RealShell& s, const QString& code, const char* column, const char* table = "SUBGRUSEMA")
{
    const char* key = QByteArrayView(table) == "SUBGRUSEMA" ? "CDESPEPRODSG" : "CDESPEPROD";
    return s.database().scalar(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = '%4'")
                                   .arg(QLatin1StringView(column), QLatin1StringView(table), QLatin1StringView(key), code));
}

// Types an order into a row of the sheet and confirms it, as a person does.
void typeOrder(test::RealShell& s, int row, const QString& order)
{
    DBGrid& grid = *s.form().dbgPadrao;
    s.click(*grid.viewport(), grid.visualRect(grid.model()->index(row, IndiceCol(grid, QStringLiteral("NRORDSUMA")))).center());
    s.type(order);
    s.click(*s.form().sbtConfirmar);
}

TEST(HistoryDialog, RestoresAnEditedOrderAndAReplacedPhoto)
{
    test::RealShell s;
    TfrmFotoMontManual& f = s.form();
    s.typeKey("CIA1", "1", "1.01.001");
    ASSERT_TRUE(f.loaded());
    const QByteArray firstPhoto = stored(s, u"E1"_s, "FGESPEPROD", "FOTOSEMA").toByteArray();

    typeOrder(s, 0, u"009"_s);
    ASSERT_EQ(stored(s, u"E1"_s, "NRORDSUMA").toString(), "009");
    // Replaced as the photo page sends it, through the screen's own connection.
    TNetConnection& net = static_cast<MainScreen&>(f).connection();
    const DataPacket photo = checkedPacket(GetFotoSeMa(net, QStringLiteral("S1"), QStringLiteral("E1")));
    Change replace{ChangeKind::Update, photo.rows.value(0), photo.rows.value(0)};
    replace.current[2] = QByteArray("outra foto");
    ASSERT_TRUE(SetFotoSeMa(net, ChangeSet{photo.fields, {replace}}).ok);

    QStringList shown;
    s.onOtherModal = [&](QWidget& window) {
        auto* dialog = qobject_cast<TfrmHistSubGrupo*>(&window);
        if (!dialog)
            return;
        // Worked from a timer of its own, so that the questions it asks are answered meanwhile.
        QTimer::singleShot(0, dialog, [&, dialog] {
            for (int row = 0; row < dialog->lvwHistorico->topLevelItemCount(); ++row)
                shown << dialog->lvwHistorico->topLevelItem(row)->text(whatColumn);
            const QString shot = qEnvironmentVariable("QMV_SCREENSHOT_DIR");
            if (!shot.isEmpty())
                dialog->grab().save(QDir(shot).filePath(QStringLiteral("historico.png")));
            for (const char* what : {"Foto", "Sub-grupo"}) {
                const auto found =
                    dialog->lvwHistorico->findItems(QString::fromLatin1(what), Qt::MatchStartsWith, whatColumn);
                if (found.isEmpty())
                    break;
                s.click(*dialog->lvwHistorico->viewport(), dialog->lvwHistorico->visualItemRect(found.first()).center());
                s.click(*dialog->btnRestaurar);
            }
            dialog->close();
        });
    };
    s.press(Qt::Key_H, Qt::ControlModifier);
    ASSERT_TRUE(test::eventually([&] { return shown.size() >= 2; }));
    s.settle(500);

    EXPECT_EQ(shown.value(0), QStringLiteral("Foto - alteração: foto substituída"));
    EXPECT_EQ(shown.value(1), QStringLiteral("Sub-grupo - alteração: Clas.: 001 → 009"));
    EXPECT_EQ(s.messages.size(), 2) << s.messages.join(u'|').toStdString();
    EXPECT_EQ(stored(s, u"E1"_s, "NRORDSUMA").toString(), "001");
    EXPECT_EQ(stored(s, u"E1"_s, "FGESPEPROD", "FOTOSEMA").toByteArray(), firstPhoto);
}

// Opened on the first sub-group, the box widens the list to the service; an entry of another
// sub-group is named after it and restored like any other.
TEST(HistoryDialog, TheWholeServiceListsEverySubGroupsChangesUnderItsName)
{
    test::RealShell s;
    TfrmFotoMontManual& f = s.form();
    s.typeKey("CIA1", "1", "1.01.001");
    ASSERT_TRUE(f.loaded());
    typeOrder(s, 1, u"008"_s);
    typeOrder(s, 0, u"009"_s);
    ASSERT_EQ(stored(s, u"E2"_s, "NRORDSUMA").toString(), "008");

    QStringList narrow, wide;
    s.onOtherModal = [&](QWidget& window) {
        auto* dialog = qobject_cast<TfrmHistSubGrupo*>(&window);
        if (!dialog)
            return;
        QTimer::singleShot(0, dialog, [&, dialog] {
            QTreeWidget& list = *dialog->lvwHistorico;
            const auto rows = [&] {
                QStringList lines;
                for (int row = 0; row < list.topLevelItemCount(); ++row)
                    lines << list.topLevelItem(row)->text(subGroupColumn) + u'|' + list.topLevelItem(row)->text(whatColumn);
                return lines;
            };
            narrow = rows();
            EXPECT_TRUE(list.isColumnHidden(subGroupColumn));
            s.click(*dialog->chkServico);
            wide = rows();
            EXPECT_FALSE(list.isColumnHidden(subGroupColumn));
            if (const QString shot = qEnvironmentVariable("QMV_SCREENSHOT_DIR"); !shot.isEmpty())
                dialog->grab().save(QDir(shot).filePath(QStringLiteral("historico-servico.png")));
            const auto salad = list.findItems(u"Salada"_s, Qt::MatchExactly, subGroupColumn);
            if (!salad.isEmpty()) {
                s.click(*list.viewport(), list.visualItemRect(salad.first()).center());
                s.click(*dialog->btnRestaurar);
            }
            dialog->close();
        });
    };
    s.press(Qt::Key_H, Qt::ControlModifier);
    ASSERT_TRUE(test::eventually([&] { return !wide.isEmpty(); }));
    s.settle(500);

    EXPECT_EQ(narrow, QStringList{u"Prato Quente|Sub-grupo - alteração: Clas.: 001 → 009"_s});
    EXPECT_EQ(wide, (QStringList{u"Prato Quente|Sub-grupo - alteração: Clas.: 001 → 009"_s,
                                 u"Salada|Sub-grupo - alteração: Clas.: 002 → 008"_s}));
    EXPECT_EQ(stored(s, u"E2"_s, "NRORDSUMA").toString(), "002");
    EXPECT_EQ(stored(s, u"E1"_s, "NRORDSUMA").toString(), "009");
}

}  // namespace
}  // namespace qmv
