#pragma once
// The equipment inclusion dialog "Inclusão de Equipamentos" (QMV00505) on the general routine form:
// the equipment of the current sub-group's branch and company as a check list; confirming links the
// ticked ones to the sub-group on the server and makes the main screen reload. It reads the main
// screen's current records and calls the server through the main screen's connection. Built
// through create(); closing clears its unit's flag. UI thread only.
#include <QStyle>

#include "host/tfrmrotigeral.h"

class QLabel;
class QPainter;

namespace qmv {

class DBGrid;
class DataSet;
class DataSource;
class Field;

class TfrmCadAutEquip : public TfrmRotiGeral {
    Q_OBJECT
public:
    static TfrmCadAutEquip* create(QWidget* parent);

    void FormCreate() override;
    void FormClose(TCloseAction& action) override;
    void FormKeyDown(int& key, Qt::KeyboardModifiers shift) override;
    void dbgEquipamentoDrawColumnCell(DBGrid& sender, QPainter& canvas, const QRect& rect, Field* field,
                                      QStyle::State state);
    void dbgEquipamentoCellClick(int column);
    void dbgEquipamentoDblClick();
    void dbgEquipamentoKeyDown(int& key, Qt::KeyboardModifiers shift);
    void dbgEquipamentoTitleClick(int column);
    void sbtProcurarClick();
    void sbtConfirmaClick() override;
    void sbtCancelClick() override;

    QWidget* Panel1 = nullptr;
    DBGrid* dbgEquipamento = nullptr;
    TButtonFlat* sbtProcurar = nullptr;
    QLabel* imgCheck = nullptr;
    QLabel* imgUncheck = nullptr;
    DataSet* cdsEquipamentos = nullptr;
    DataSet* cdsEquipAux = nullptr;
    DataSource* dtsEquipamentos = nullptr;

private:
    explicit TfrmCadAutEquip(QWidget* parent);
    void buildDataSets();
    void buildGrid();
    void buildPictures();
    bool isCheckColumn(int column) const;
    void checkAlreadyLinked();
};

}  // namespace qmv
