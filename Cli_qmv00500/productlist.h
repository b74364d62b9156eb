#pragma once
// ProductList: the page "Produto/Receita", the products and recipes of the current sub-group in
// their grid. The list comes from the service's composition; the person keeps each item's order and
// comment, and every post or deletion is sent at once. UI thread only.
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace qmv {

class DBGrid;
class DataSet;
class DataSource;
class Field;
class TMessages;
class TNetConnection;

class ProductList : public QObject {
    Q_OBJECT
public:
    struct Screen {
        TNetConnection& connection;
        const TMessages& messages;          // the screen's own
        const TMessages& standardMessages;  // the questions every screen asks
        std::function<void()> reloadAfterRefusal;
    };
    ProductList(QWidget& page, Screen screen, QObject* parent);

    DataSet& records() const { return *cdsProRecSeMa_; }
    // The list of the sub-group record's current row; branch as the selection panel shows it.
    void load(const QString& branch, const DataSet& subGroup);

    void cdsProRecSeMaBeforeInsert(DataSet& sender);
    void cdsProRecSeMaBeforePost(DataSet& sender);
    void cdsProRecSeMaAfterPost(DataSet& sender);  // also after delete
    void cdsProRecSeMaNRORDEMSetText(Field& sender, const QString& text);
    void cdsProRecSeMaCODIGOGetText(Field& sender, QString& text, bool displayText);

private:
    void buildDataSet();
    void buildGrid(QWidget& page);
    void bind();

    Screen screen_;
    DataSet* cdsProRecSeMa_ = nullptr;
    DataSource* dtsProRecSeMa_ = nullptr;
    DBGrid* dbgProRecSeMa_ = nullptr;
};

}  // namespace qmv
