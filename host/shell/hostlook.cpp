#include "host/shell/hostlook.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTranslator>

#include "host/shell/filetypetexts.h"

namespace qmv {

namespace {

// Qt's Fusion look with the narrow grid titles that the screens' column widths were made for.
class HostStyle : public QProxyStyle {
public:
    HostStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_HeaderMargin)
            return 1;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

}  // namespace

QFont hostFont()
{
    // Arial's metrics, which the screens' column widths were measured with; at 7.5 points (10 px
    // at 96 dpi) a three-digit order fits "Clas." and its title.
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(7.5);
    return font;
}

bool applyHostLook()
{
    QApplication::setApplicationDisplayName(QString::fromUtf8(hostDisplayName));
    QApplication::setStyle(new HostStyle);
    QApplication::setFont(hostFont());
    const QLocale brazil(QLocale::Portuguese, QLocale::Brazil);
    QLocale::setDefault(brazil);
    QApplication::installTranslator(new FileTypeTexts(qApp));
    auto* translator = new QTranslator(qApp);
    if (!translator->load(brazil, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

}  // namespace qmv
