#pragma once
// TfrmDadosGerRel: the report parameters dialog. The group box grbDadosRel shows the report
// (panRelat with lblRelat and the report's title); the command column holds the print button, the
// closing button and the report code lblCodRel. The report lists what the main form handed over in
// report().mainForm shows in its grid, saved as a PDF document where the person chooses. UI thread.
#include <QPointer>

#include "host/tfrmdialogbase.h"

class QGroupBox;
class QLabel;

namespace qmv {

struct TRelatorio {
    QPointer<QWidget> mainForm;  // the maintenance form whose data the report lists
};

class TfrmDadosGerRel : public TfrmDialogBase {
    Q_OBJECT
public:
    explicit TfrmDadosGerRel(QWidget* parent = nullptr);

    QGroupBox* grbDadosRel = nullptr;
    QWidget* panRelat = nullptr;
    QLabel* lblRelat = nullptr;
    QLabel* lblNmRelat = nullptr;
    QLabel* lblCodRel = nullptr;
    TButtonFlat* sbtImprimir = nullptr;
    TButtonFlat* sbtFechar = nullptr;

    TRelatorio& report() { return report_; }

    void FormCreate() override;
    void FormClose(TCloseAction& action) override;
    virtual void sbtImprimirClick();
    virtual void sbtFecharClick();

    // The report as HTML; throws (through MensErro) when there is no main form to list.
    QString reportHtml() const;

protected:
    void cancelDialog() override { sbtFecharClick(); }

private:
    TRelatorio report_;
};

}  // namespace qmv
