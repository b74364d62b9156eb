#pragma once
// The history of the main screen's current sub-group ("Histórico do Sub-grupo"): its entries of every
// table, newest first (when, who, what changed, a thumbnail of a replaced photo and the first lines of
// replaced instructions); "Todo o serviço" widens it to every sub-group of the loaded service, each
// entry under its sub-group's description (old photos and texts there only through "Ver").
// "Restaurar" puts the selected entry's row back as it was before, after asking, and reloads the
// screen; "Ver" shows the whole old photo or text. Built through create(). UI thread.
#include "Cli_qmv00507/historylines.h"
#include "host/tfrmrotigeral.h"

#include <QHash>

class QCheckBox;
class QPushButton;
class QTreeWidget;

namespace qmv {

class MainScreen;

class TfrmHistSubGrupo : public TfrmRotiGeral {
    Q_OBJECT
public:
    static TfrmHistSubGrupo* create(QWidget* parent);

    QTreeWidget* lvwHistorico = nullptr;
    QPushButton* btnRestaurar = nullptr;
    QPushButton* btnVer = nullptr;
    QCheckBox* chkServico = nullptr;

    // Reads the sub-group's (or the whole service's) history again from the server.
    void carregaHistorico();
    void btnRestaurarClick();
    void btnVerClick();

private:
    explicit TfrmHistSubGrupo(QWidget* parent);
    void buildMessages();
    const HistoryLine* selected() const;
    QByteArray content(const QString& digest);
    DataPacket entries(MainScreen& main);
    // The description the sheet shows for each sub-group of the service, by CDESPEPRODSG.
    static QHash<QString, QString> subGroupNames(MainScreen& main);
    void describe(int row);

    QString branch_;
    QString subGroupCode_;
    QHash<QString, QString> names_;
    QList<HistoryLine> lines_;
    QHash<QString, QByteArray> contents_;  // by digest, fetched once
};

}  // namespace qmv
