#include "host/tfrmdialogbase.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

#include "host/guard.h"
#include "host/tbuttonflat.h"

namespace qmv {

TfrmDialogBase::TfrmDialogBase(QWidget* parent)
    : TfrmBase(parent, Qt::Dialog)
    , panMenu(new QFrame(this))
    , panBotoes(new QWidget(panMenu))
    , panAjuda(new QWidget(panMenu))
    , layout_(new QHBoxLayout(this))
    , buttons_(new QVBoxLayout(panBotoes))
{
    panMenu->setObjectName(QStringLiteral("panMenu"));
    panBotoes->setObjectName(QStringLiteral("panBotoes"));
    panAjuda->setObjectName(QStringLiteral("panAjuda"));
    panMenu->setFrameShape(QFrame::StyledPanel);
    panMenu->setFixedWidth(55);
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    layout_->addWidget(panMenu);
    buttons_->setContentsMargins(2, 2, 2, 2);
    buttons_->setSpacing(2);

    sbtAjuda = new TButtonFlat(panAjuda, QStringLiteral("sbtAjuda"), QStringLiteral("Ajuda"));
    sbtAjuda->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    sbtAjuda->setFixedSize(25, 25);
    connect(sbtAjuda, &QAbstractButton::clicked, this, [this] { guard([this] { ShowHelp(); }); });
    auto* help = new QVBoxLayout(panAjuda);
    help->setContentsMargins(2, 2, 2, 2);
    help->addWidget(sbtAjuda, 0, Qt::AlignHCenter);

    auto* column = new QVBoxLayout(panMenu);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(panBotoes);
    column->addStretch(1);
    column->addWidget(panAjuda);
    lblCodTela->setParent(panMenu);
    lblCodTela->setAlignment(Qt::AlignCenter);
    QFont small = lblCodTela->font();
    small.setPointSizeF(small.pointSizeF() * 0.8);
    lblCodTela->setFont(small);
    column->addWidget(lblCodTela);
    setCommandLayout(column, 1);
}

void TfrmDialogBase::setClientArea(QWidget* area)
{
    layout_->insertWidget(0, area, 1);
}

TButtonFlat* TfrmDialogBase::addBaseButton(const char* name, const QString& hint, int standardIcon,
                                           std::function<void()> handler)
{
    auto* button = new TButtonFlat(panBotoes, QLatin1String(name), hint);
    button->setIcon(style()->standardIcon(static_cast<QStyle::StandardPixmap>(standardIcon)));
    button->setFixedSize(25, 25);
    buttons_->addWidget(button, 0, Qt::AlignHCenter);
    connect(button, &QAbstractButton::clicked, this, [handler] { guard(handler); });
    return button;
}

bool TfrmDialogBase::EscapeKey()
{
    cancelDialog();
    return true;
}

}  // namespace qmv
