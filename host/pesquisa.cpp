#include "host/pesquisa.h"

#include "host/ui.h"
#include "platform/datasource.h"

namespace qmv {

namespace {

bool hasRows(const DataSource& source)
{
    const DataSet* ds = source.dataSet();
    return ds && ds->isActive() && !ds->isEmpty();
}

QString quoted(const QStringList& values)
{
    QStringList out;
    for (const QString& v : values)
        out << QLatin1Char('\'') + v + QLatin1Char('\'');
    return out.join(QLatin1Char(','));
}

}  // namespace

bool Pesquisar(DataSource& source, const QString& title, bool pickSoleRow, bool makeCurrent)
{
    if (!hasRows(source))
        return false;
    DataSet& ds = *source.dataSet();
    if (pickSoleRow && ds.recordCount() == 1) {
        ds.first();
        return true;
    }
    const int before = ds.recNo();
    const bool picked = ui().searchList(source, title);
    if (picked && !makeCurrent && before > 0 && ds.recNo() != before)
        ds.setRecNo(before);
    return picked;
}

bool PesquisaLista(DataSource& source, const QString& field, const QString& titles, bool pickSoleRow,
                   QString& result)
{
    const QString title = titles.section(QLatin1Char('|'), 0, 0);
    const QString emptyText = titles.section(QLatin1Char('|'), 1);
    if (!hasRows(source)) {
        if (!emptyText.isEmpty())
            ui().showError(emptyText);
        return false;
    }
    DataSet& ds = *source.dataSet();
    ds.fieldByName(field);  // an unknown field is a fault of the caller: say so before asking
    if (pickSoleRow && ds.recordCount() == 1) {
        result = quoted({ds.fieldByName(field).valueAt(0).toString()});
        return true;
    }
    const QStringList picked = ui().searchListMany(source, field, {title, emptyText});
    if (picked.isEmpty())
        return false;
    result = quoted(picked);
    return true;
}

bool Procura(DataSet& dataSet)
{
    if (!dataSet.isActive() || dataSet.isEmpty())
        return false;
    return ui().findRecord(dataSet);
}

}  // namespace qmv
