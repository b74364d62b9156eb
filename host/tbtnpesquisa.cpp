#include "host/tbtnpesquisa.h"

#include "host/guard.h"
#include "host/menserro.h"
#include "host/pesquisa.h"
#include "platform/datasource.h"

namespace qmv {

namespace {
bool focusMoveByButton = false;
}

TBtnPesquisa::TBtnPesquisa(QWidget* parent, const QString& name)
    : QToolButton(parent)
{
    setObjectName(name);
    setText(QStringLiteral("..."));
    setToolTip(QStringLiteral("Pesquisar"));
    setFocusPolicy(Qt::NoFocus);  // the code edit keeps the focus: no exit runs before the list
    connect(this, &QToolButton::clicked, this, [this] {
        if (BeforePesq || source_)
            guard([this] { Pesquisa(); });
    });
}

void TBtnPesquisa::Pesquisa()
{
    bool proceed = true;
    if (BeforePesq)
        BeforePesq(this, proceed);
    if (!proceed || !source_)
        return;
    const DataSet* ds = source_->dataSet();
    if (!ds || !ds->isActive() || ds->isEmpty()) {
        MensErro(emptyError_.isEmpty() ? QStringLiteral("Não há registros para pesquisar.") : emptyError_, true);
        return;
    }
    if (!Pesquisar(*source_, title_, false, true))
        return;
    if (AfterPesq)
        AfterPesq(this);
    if (associate_ && associate_->isEnabled()) {
        focusMoveByButton = true;
        associate_->setFocus(Qt::OtherFocusReason);
        focusMoveByButton = false;
    }
}

bool TBtnPesquisa::movingFocus()
{
    return focusMoveByButton;
}

}  // namespace qmv
