#pragma once
// Small JPEG copies of the stored photos for the web view's lists, made with libjpeg-turbo: the
// decoder scales in its DCT (in eighths), so a thumbnail costs a fraction of a full decode,
// and nothing of Qt's GUI is needed on the server. Photos in other formats are served as they are.
// Plain functions; any thread.
#include <QByteArray>

namespace qmv::appserver {

bool isJpeg(const QByteArray& bytes);

// A JPEG whose longer side is at most `maxSide` pixels (scaled by n/8, as large as fits; 1/8 at least);
// empty when the bytes are not a JPEG libjpeg can read.
QByteArray jpegThumbnail(const QByteArray& jpeg, int maxSide);

}  // namespace qmv::appserver
