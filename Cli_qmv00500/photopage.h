#pragma once
// PhotoPage: the sub-group photo on the left of "Foto Sub-Grupo": the bar with the picture button,
// the delete button and the fit box, the picture in its scrolling area, the photo dataset and the
// picture file dialog; attaching, removing and sending the photo. UI thread only.
#include <QObject>
#include <functional>

#include "host/ui.h"

class QCheckBox;
class QScrollArea;
class QSplitter;
class QWidget;

namespace qmv {

class DataSet;
class DataSource;
class TBtnPesquisa;
class TButtonFlat;
class TEDBImage;
class TMessages;
class TNetConnection;

class PhotoPage : public QObject {
    Q_OBJECT
public:
    struct Screen {
        QWidget& window;           // held still while a photo is removed
        const DataSet& subGroups;  // its current row is the sub-group whose photo is shown
        TNetConnection& connection;
        TMessages& messages;
        std::function<bool()> inView;  // the page "Foto Sub-Grupo" is in front
        std::function<void()> reloadAfterRefusal;
    };
    // The photo goes to the left of split, ahead of the inner pages.
    PhotoPage(QSplitter& split, Screen screen, QObject* parent);

    DataSet& records() const { return *cdsFotoSeMa_; }
    void load();

    void btpFotoServClick();
    void sbtDelFotoServClick();
    void chbAjustarFtoServClick();
    void cdsFotoSeMaAfterPost(DataSet& sender);
    void cdsFotoSeMaAfterDelete(DataSet& sender);
    void dtsFotoSeMaStateChange();

private:
    QWidget* buildBar(QWidget& area);
    void buildPicture(QWidget& area);
    void buildDataSet();
    void bind();

    Screen screen_;
    TBtnPesquisa* btpFotoServ_ = nullptr;
    TButtonFlat* sbtDelFotoServ_ = nullptr;
    QCheckBox* chbAjustarFtoServ_ = nullptr;
    QScrollArea* scbFormulario_ = nullptr;
    TEDBImage* imgFotoServico_ = nullptr;
    DataSet* cdsFotoSeMa_ = nullptr;
    DataSource* dtsFotoSeMa_ = nullptr;
    FileDialogSpec opdImagem_;
};

}  // namespace qmv
