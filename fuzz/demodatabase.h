#pragma once
// The demo database the fuzz targets that reach SQL run against: made once per process in a
// temporary folder, with the QtGui the demo needs to draw its photos (offscreen).
#include "appserver/database/dbconfig.h"
#include "appserver/demo/demodata.h"

#include <QGuiApplication>
#include <QTemporaryDir>

namespace qmv::fuzz {

inline appserver::DbConfig demoDatabase(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    static QTemporaryDir dir;
    appserver::DbConfig config;
    config.sqliteFile = dir.filePath(QStringLiteral("demo.db"));
    appserver::createDemoDatabase(config);
    return config;
}

}  // namespace qmv::fuzz
