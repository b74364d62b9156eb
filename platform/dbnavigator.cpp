#include "platform/dbnavigator.h"

#include <QHBoxLayout>

#include "platform/datasource.h"
#include "platform/widgetaction.h"

namespace qmv {

namespace {

struct ButtonText {
    const char* name;
    const char* text;
    const char* hint;
};

const ButtonText buttonTexts[] = {
    {"nbFirst", "|<", "Primeiro"},   {"nbPrior", "<", "Anterior"},  {"nbNext", ">", "Próximo"},
    {"nbLast", ">|", "Último"},      {"nbInsert", "+", "Incluir"},  {"nbDelete", "-", "Excluir"},
    {"nbEdit", "^", "Alterar"},      {"nbPost", "\u2713", "Confirmar"}, {"nbCancel", "x", "Cancelar"},
    {"nbRefresh", "\u21bb", "Atualizar"},
};

}  // namespace

DBNavigator::DBNavigator(QWidget* parent, const QString& name)
    : QWidget(parent)
{
    setObjectName(name);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < int(buttons_.size()); ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QLatin1String(buttonTexts[i].name));
        b->setText(QString::fromUtf8(buttonTexts[i].text));
        b->setToolTip(QString::fromUtf8(buttonTexts[i].hint));
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoRaise(true);
        layout->addWidget(b);
        const auto which = static_cast<NavigateButton>(i);
        connect(b, &QToolButton::clicked, this, [this, which] { act(which); });
        buttons_[size_t(i)] = b;
    }
    setVisibleButtons({NavigateButton::First, NavigateButton::Prior, NavigateButton::Next, NavigateButton::Last});
    updateButtons();
}

void DBNavigator::setDataSource(DataSource* source)
{
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source) {
        connect(source, &DataSource::stateChanged, this, &DBNavigator::updateButtons);
        connect(source, &DataSource::dataChanged, this, &DBNavigator::updateButtons);
        connect(source, &DataSource::dataSetChanged, this, &DBNavigator::updateButtons);
    }
    updateButtons();
}

void DBNavigator::setVisibleButtons(const QList<NavigateButton>& visible)
{
    for (int i = 0; i < int(buttons_.size()); ++i)
        buttons_[size_t(i)]->setVisible(visible.contains(static_cast<NavigateButton>(i)));
}

QToolButton* DBNavigator::button(NavigateButton which) const
{
    return buttons_[size_t(which)];
}

void DBNavigator::BtnClick(NavigateButton which)
{
    if (button(which)->isEnabled())
        act(which);
}

void DBNavigator::act(NavigateButton which)
{
    DataSet* ds = source_ ? source_->dataSet() : nullptr;
    if (!ds)
        return;
    runWidgetAction([&] {
        switch (which) {
        case NavigateButton::First: ds->first(); break;
        case NavigateButton::Prior: ds->prior(); break;
        case NavigateButton::Next: ds->next(); break;
        case NavigateButton::Last: ds->last(); break;
        case NavigateButton::Insert: ds->insert(); break;
        case NavigateButton::Delete:
            if (!confirmDelete || confirmDelete())
                ds->remove();
            break;
        case NavigateButton::Edit: ds->edit(); break;
        case NavigateButton::Post: ds->post(); break;
        case NavigateButton::Cancel: ds->cancel(); break;
        case NavigateButton::Refresh:
            if (onRefresh)
                onRefresh();
            break;
        }
    });
    updateButtons();
}

void DBNavigator::updateButtons()
{
    DataSet* ds = source_ ? source_->dataSet() : nullptr;
    const bool active = ds && ds->isActive();
    const bool editing = active && (ds->state() == DataSetState::Edit || ds->state() == DataSetState::Insert);
    const bool browse = active && ds->state() == DataSetState::Browse;
    const int recNo = active ? ds->recNo() : 0;
    const int count = active ? ds->recordCount() : 0;
    const bool canBack = active && recNo > 1;
    const bool canForward = active && recNo > 0 && recNo < count;
    button(NavigateButton::First)->setEnabled(canBack);
    button(NavigateButton::Prior)->setEnabled(canBack);
    button(NavigateButton::Next)->setEnabled(canForward);
    button(NavigateButton::Last)->setEnabled(canForward);
    button(NavigateButton::Insert)->setEnabled(browse);
    button(NavigateButton::Delete)->setEnabled(browse && !ds->isEmpty());
    button(NavigateButton::Edit)->setEnabled(browse && !ds->isEmpty());
    button(NavigateButton::Post)->setEnabled(editing);
    button(NavigateButton::Cancel)->setEnabled(editing);
    button(NavigateButton::Refresh)->setEnabled(active && !editing && onRefresh != nullptr);
}

}  // namespace qmv
