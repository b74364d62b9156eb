#include "qmv01200/callerselection.h"

#include <QApplication>
#include <QLineEdit>
#include <QWidget>

namespace qmv {

QWidget* liveWidgetAt(const QVariant& reference)
{
    bool ok = false;
    const auto address = static_cast<quintptr>(reference.toULongLong(&ok));
    if (!ok || address == 0)
        return nullptr;
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget* widget : widgets)
        if (reinterpret_cast<quintptr>(widget) == address)
            return widget;
    return nullptr;
}

namespace {

QString textOf(const QWidget& form, const char* name)
{
    const auto* edit = form.findChild<QLineEdit*>(QLatin1String(name));
    return edit ? edit->text().trimmed() : QString();
}

QString propertyOf(const QWidget& form, const char* name)
{
    return form.property(name).toString().trimmed();
}

}  // namespace

ManualSelection selectionOf(const QWidget& f)
{
    ManualSelection s;
    s.branch = textOf(f, "medFilial");
    s.branchName = textOf(f, "edtNmFilial");
    s.company = propertyOf(f, "stCdCia");
    s.companyAbbrev = textOf(f, "medCdCia");
    s.companyName = textOf(f, "edtNmCia");
    s.manual = propertyOf(f, "stCdManCia");
    if (s.manual.isEmpty())
        s.manual = textOf(f, "medCdManCia");
    s.manualName = textOf(f, "edtDsManCia");
    s.service = propertyOf(f, "stCdServico");
    s.serviceCode = textOf(f, "medCdServico");
    s.serviceName = textOf(f, "edtDsServico");
    s.serviceClass = propertyOf(f, "stCdClasse");
    s.cycle = propertyOf(f, "stCdCiclo");
    s.classAbbrev = textOf(f, "edtClasse");
    s.cycleName = textOf(f, "edtCiclo");
    return s;
}

}  // namespace qmv
