#include "host/finddialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "host/guard.h"
#include "platform/dataset.h"

namespace qmv {

FindDialog::FindDialog(DataSet& dataSet, QWidget* parent)
    : QDialog(parent)
    , dataSet_(dataSet)
    , fields_(new QComboBox(this))
    , value_(new QLineEdit(this))
    , status_(new QLabel(this))
{
    setObjectName(QStringLiteral("frmProcura"));
    setWindowTitle(QStringLiteral("Procurar"));
    fields_->setObjectName(QStringLiteral("cbbCampo"));
    value_->setObjectName(QStringLiteral("edtValor"));
    for (const Field* f : dataSet.fields())
        if (f->visible() && f->kind() != FieldKind::Blob)
            fields_->addItem(f->label(), f->name());
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("Procurar"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { find(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Campo"), fields_);
    layout->addRow(QStringLiteral("Valor"), value_);
    layout->addRow(status_);
    layout->addRow(buttons);
}

bool FindDialog::find()
{
    const QString field = fields_->currentData().toString();
    if (field.isEmpty() || value_->text().isEmpty())
        return false;
    bool found = false;
    try {
        found = dataSet_.locate(field, {value_->text()}, LocateOption::CaseInsensitive | LocateOption::PartialKey);
    } catch (const Abort&) {
        return false;  // a handler of the dataset refused the move and has said why
    } catch (const std::exception& e) {
        status_->setText(describeException(e));
        return false;
    }
    if (!found) {
        status_->setText(QStringLiteral("Registro não encontrado."));
        return false;
    }
    accept();
    return true;
}

}  // namespace qmv
