#pragma once
// The report parameters form "Foto Montagem do Manual" (QMV00502, report QMV005) on the host's
// report-parameters form, which produces the report; this form identifies it and hands the main
// maintenance form over to it at creation. Built through create(); UI thread only.
#include "host/tfrmdadosgerrel.h"

namespace qmv {

class TfrmRelFotoMan : public TfrmDadosGerRel {
    Q_OBJECT
public:
    static TfrmRelFotoMan* create(QWidget* parent);

    void FormCreate() override;
    void FormClose(TCloseAction& action) override;

private:
    explicit TfrmRelFotoMan(QWidget* parent);
};

}  // namespace qmv
