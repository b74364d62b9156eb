// qmvhost: the host shell. Reads the host configuration (INI file named by --config, then command-line
// overrides), opens its main window and the screens named by --open; with --screenshot and
// --quit-after it saves a picture of the screen and quits, for runs without a person.
#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "host/guard.h"
#include "host/hostconfig.h"
#include "host/loadbpl.h"
#include "host/qtui.h"
#include "host/shell/hostlook.h"
#include "host/shell/screenpackages.h"
#include "host/shell/shelloptions.h"
#include "host/shell/shellwindow.h"

namespace {

const char* const usage =
    "uso: qmvhost [--config arquivo.ini] [--filial CODIGO] [--nome-filial NOME] [--modufili 0|1]\n"
    "             [--server-host HOST] [--server-port PORTA] [--db-driver QSQLITE|QPSQL]\n"
    "             [--db-name ARQUIVO|CONNINFO] [--code-mask MASCARA] [--packages PASTA]\n"
    "             [--open QMV00500] [--screenshot arquivo.png --quit-after MS]\n";

// On a display the screen is photographed over the main window's frame, so that a message box or
// dialog in front of it shows too; elsewhere the main window paints itself.
bool saveScreenshot(QWidget& window, const QString& path)
{
    QPixmap picture;
    if (QGuiApplication::platformName() == QLatin1String("xcb") && QGuiApplication::primaryScreen()) {
        const QRect frame = window.frameGeometry();
        picture = QGuiApplication::primaryScreen()->grabWindow(0, frame.x(), frame.y(), frame.width(),
                                                               frame.height());
    }
    if (picture.isNull())
        picture = window.grab();
    return picture.save(path);
}

QStringList packageFolders(const qmv::ShellOptions& options)
{
    if (!options.packageFolders.isEmpty())
        return options.packageFolders;
    const QString here = QCoreApplication::applicationDirPath();
    return {here, QDir(here).filePath(QStringLiteral("../lib")),
            QDir(here).filePath(QStringLiteral("../module"))};
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qmvhost"));
    if (!qmv::applyHostLook())
        std::fprintf(stderr, "qmvhost: traduções do Qt para pt_BR não encontradas\n");

    const qmv::ShellOptions options = qmv::parseShellOptions(QApplication::arguments());
    qmv::HostConfig config;
    QStringList unknown;
    try {
        if (!options.error.isEmpty())
            throw qmv::ConfigError(options.error.toStdString());
        config = qmv::HostConfig::fromArguments(options.rest, &unknown);
        if (unknown.size() > 1)
            throw qmv::ConfigError("opção desconhecida: " + unknown.at(1).toStdString());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qmvhost: %s\n%s", e.what(), usage);
        return 2;
    }
    qmv::setHostConfig(config);

    qmv::QtUi qtUi;
    qmv::setUi(&qtUi);
    qmv::ScreenPackages packages(packageFolders(options));
    qmv::ShellWindow window([&packages](const QString& code) { packages.open(code); });
    qmv::setChildHost(&window);
    qmv::setPackageLoader([&packages](const QString& name, const QVariantList& parameters) {
        packages.open(name, parameters);
    });
    window.setScreenCodes(packages.availableCodes());
    window.setBranch(config.branchCode, config.branchName);
    window.setServer(config.serverHost, config.serverPort);
    window.showOnScreen();

    for (const QString& code : options.open)
        QTimer::singleShot(0, &window, [&packages, code] { qmv::guard([&] { packages.open(code); }); });
    if (options.quitAfterMs) {
        QTimer::singleShot(*options.quitAfterMs, &window, [&window, &options] {
            if (!options.screenshot.isEmpty() && !saveScreenshot(window, options.screenshot))
                std::fprintf(stderr, "qmvhost: não foi possível salvar %s\n",
                             qPrintable(options.screenshot));
            QApplication::exit(0);
        });
    }
    const int result = QApplication::exec();

    window.closeChildren();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    qmv::setPackageLoader({});
    qmv::setChildHost(nullptr);
    packages.unloadAll();
    qmv::setUi(nullptr);
    return result;
}
