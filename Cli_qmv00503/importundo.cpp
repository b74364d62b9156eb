// Undoing a photo import: right after it, when the person says so, or later by choosing it from the
// imports into the loaded service kept in the history; the server undoes it (photos changed since are
// left alone), the person is told what was put back and the main screen's sub-groups are read again.
#include "Cli_qmv00503/tfrmimpfotoman.h"

#include <QCborMap>
#include <QCborValue>

#include "host/checkresultserv.h"
#include "host/menserro.h"
#include "host/pesquisa.h"
#include "host/tmessages.h"
#include "host/ui.h"
#include "platform/dataset.h"
#include "platform/datasource.h"
#include "platform/field.h"
#include "screenlink/mainscreen.h"
#include "server/historycalls.h"
#include "server/loadresult.h"

#include <algorithm>

namespace qmv {

namespace {

void showColumns(DataSet& imports)
{
    const std::pair<const char*, const char*> shown[] = {
        {"DTLOTE", "Data (UTC)"}, {"NMUSUARIO", "Usuário"}, {"DSLOTE", "Origem"}, {"NRALTERA", "Fotos"}};
    for (const char* name : {"NRLOTE", "NMCHAVE"})
        imports.fieldByName(QString::fromLatin1(name)).setVisible(false);
    for (const auto& [name, label] : shown)
        imports.fieldByName(QString::fromLatin1(name)).setLabel(QString::fromUtf8(label));
}

}  // namespace

void TfrmImpFotoMan::btnDesfazerClick()
{
    MainScreen& main = mainScreen();
    const LoadedKey m = main.loadedKey();
    DataSet imports;
    DataSource source;
    source.setDataSet(&imports);
    loadResult(imports, GetImportacoes(main.connection(), m.branch, m.company, m.manual, m.service));
    if (imports.isEmpty() || imports.recordCount() == 0)
        MensErro(msgPadrao->Msg(QStringLiteral("DESFAZ_NENHUMA")), true);
    showColumns(imports);
    if (!Pesquisar(source, msgPadrao->Msg(QStringLiteral("DESFAZ_TITULO"))))
        return;
    const QString when = imports.fieldByName(QStringLiteral("DTLOTE")).asString();
    if (ui().askYesNo(msgPadrao->Msg(QStringLiteral("DESFAZ_CONFIRMA")).replace(QStringLiteral("%s"), when),
                       DefaultButton::No))
        undoImport(imports.fieldByName(QStringLiteral("NRLOTE")).asString());
}

void TfrmImpFotoMan::offerUndo(const QCborValue& status)
{
    const QString batch = status.toMap().value(QStringLiteral("lote")).toString();
    if (batch.isEmpty())
        return;
    const QString rows = QString::number(status.toMap().value(QStringLiteral("rows")).toInteger());
    if (ui().askYesNo(msgPadrao->Msg(QStringLiteral("DESFAZ_OFERTA")).replace(QStringLiteral("%d"), rows),
                       DefaultButton::No))
        undoImport(batch);
}

void TfrmImpFotoMan::undoImport(const QString& batch)
{
    MainScreen& main = mainScreen();
    const DataPacket outcome = checkedPacket(DesfazImportaFoto(main.connection(), main.loadedKey().branch, batch));
    const int undone = int(std::count_if(outcome.rows.begin(), outcome.rows.end(), [&](const Row& row) {
        return row.value(outcome.indexOf(QStringLiteral("IDDESFEITO"))).toString() == u"S";
    }));
    QString done = msgPadrao->Msg(QStringLiteral("DESFAZ_FEITO"));
    for (const qsizetype count : {qsizetype(undone), outcome.rows.size() - undone})
        done.replace(done.indexOf(QStringLiteral("%d")), 2, QString::number(count));
    ui().showInfo(done);
    main.reloadSubGroups(QStringLiteral("2"), QStringLiteral("2"));
}

}  // namespace qmv
