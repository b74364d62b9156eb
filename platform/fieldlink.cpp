#include "platform/fieldlink.h"

namespace qmv {

FieldLink::FieldLink(QObject* owner, std::function<void()> refresh, Scope scope)
    : owner_(owner), refresh_(std::move(refresh)), scope_(scope)
{
}

void FieldLink::setDataSource(DataSource* source)
{
    if (source_)
        QObject::disconnect(source_, nullptr, owner_, nullptr);
    source_ = source;
    if (source) {
        QObject::connect(source, &DataSource::dataChanged, owner_, [this](Field* changed) {
            if (quiet())
                return;
            if (scope_ == Scope::AnyField || !changed || changed == field())
                refresh_();
        });
        QObject::connect(source, &DataSource::stateChanged, owner_, [this] {
            if (!quiet())
                refresh_();
        });
        QObject::connect(source, &DataSource::dataSetChanged, owner_, [this] { refresh_(); });
    }
    refresh_();
}

void FieldLink::setDataField(const QString& fieldName)
{
    fieldName_ = fieldName;
    refresh_();
}

Field* FieldLink::field() const
{
    DataSet* ds = source_ ? source_->dataSet() : nullptr;
    return ds && !fieldName_.isEmpty() ? ds->findField(fieldName_) : nullptr;
}

}  // namespace qmv
