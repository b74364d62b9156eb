// The history dialog in real windows: an order typed on the sheet and a photo replaced, then
// "Histórico..." (Ctrl+H) restores both; the database holds the first values again.
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

TEST(HistoryDialog, RestoresAnEditedOrderAndAReplacedPhoto)
{
    test::RealShell s;
    TfrmFotoMontManual& f = s.form();
    s.typeKey("CIA1", "1", "1.01.001");
    ASSERT_TRUE(f.loaded());
    const auto stored = [&](const QString& sql) { return s.database().scalar(sql); };
    const QByteArray firstPhoto = stored(QStringLiteral("SELECT FGESPEPROD FROM FOTOSEMA WHERE CDESPEPROD = 'E1'")).toByteArray();

    DBGrid& grid = *f.dbgPadrao;
    s.click(*grid.viewport(), grid.visualRect(grid.model()->index(0, IndiceCol(grid, QStringLiteral("NRORDSUMA")))).center());
    s.type(QStringLiteral("009"));
    s.click(*f.sbtConfirmar);
    ASSERT_EQ(stored(QStringLiteral("SELECT NRORDSUMA FROM SUBGRUSEMA WHERE CDESPEPRODSG = 'E1'")).toString(), "009");
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
                shown << dialog->lvwHistorico->topLevelItem(row)->text(2);
            const QString shot = qEnvironmentVariable("QMV_SCREENSHOT_DIR");
            if (!shot.isEmpty())
                dialog->grab().save(QDir(shot).filePath(QStringLiteral("historico.png")));
            for (const char* what : {"Foto", "Sub-grupo"}) {
                const auto found = dialog->lvwHistorico->findItems(QString::fromLatin1(what), Qt::MatchStartsWith, 2);
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
    EXPECT_EQ(stored(QStringLiteral("SELECT NRORDSUMA FROM SUBGRUSEMA WHERE CDESPEPRODSG = 'E1'")).toString(), "001");
    EXPECT_EQ(stored(QStringLiteral("SELECT FGESPEPROD FROM FOTOSEMA WHERE CDESPEPROD = 'E1'")).toByteArray(), firstPhoto);
}

}  // namespace
}  // namespace qmv
