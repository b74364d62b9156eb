#pragma once
// EquipmentList: the sheet "Equipamentos", the equipment of the current sub-group in its grid. Only
// quantities are changed here; every post and every deletion is sent at once. New equipment comes
// from the inclusion dialog. UI thread only.
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace qmv {

class DBGrid;
class DataSet;
class DataSource;
class TMessages;
class TNetConnection;

class EquipmentList : public QObject {
    Q_OBJECT
public:
    struct Screen {
        const DataSet& subGroups;  // its current row is the sub-group whose equipment is listed
        TNetConnection& connection;
        const TMessages& messages;          // the screen's own
        const TMessages& standardMessages;  // the questions every screen asks
        std::function<void()> reloadAfterRefusal;
    };
    EquipmentList(QWidget& sheet, Screen screen, QObject* parent);

    DataSet& records() const { return *cdsEquiSubSeMa_; }
    const DataSource& source() const { return *dtsEquiSubSeMa_; }
    void load();
    // The hierarchical code mask of the equipment's code.
    void setCodeMask(const QString& mask);

    void cdsEquiSubSeMaBeforeInsert(DataSet& sender);
    void cdsEquiSubSeMaBeforePost(DataSet& sender);
    void cdsEquiSubSeMaAfterDelete(DataSet& sender);  // also after post
    void cdsEquiSubSeMaAfterCancel(DataSet& sender);
    void dbgEquiSubSeMaKeyDown(DBGrid& sender, int& key, Qt::KeyboardModifiers shift);

private:
    void buildDataSet();
    void buildGrid(QWidget& sheet);
    void bind();

    Screen screen_;
    DataSet* cdsEquiSubSeMa_ = nullptr;
    DataSource* dtsEquiSubSeMa_ = nullptr;
    DBGrid* dbgEquiSubSeMa_ = nullptr;
};

}  // namespace qmv
