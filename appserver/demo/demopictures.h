#pragma once
// Draws the demo photos: a plate with a label, saved as JPEG well under the photo size limit.
// Needs a QGuiApplication (fonts); call on the thread that owns it.
#include <QByteArray>
#include <QString>

namespace qmv::appserver {

QByteArray demoPhoto(const QString& title, int variant);

}  // namespace qmv::appserver
