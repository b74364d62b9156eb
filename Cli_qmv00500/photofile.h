#pragma once
// A picture file chosen for a sub-group's photo, read and checked before anything is put in edit:
// the file must be readable, smaller than the photo limit and decode as a picture (JPEG, PNG or
// bitmap through Qt). The bytes are kept exactly as read. UI thread (decoding needs QtGui).
#include <QByteArray>
#include <QString>

namespace qmv {

constexpr qint64 kPhotoSizeLimit = 550000;  // a file of this size or more is refused

enum class PhotoFileFault { None, Unreadable, TooLarge, NotAPicture };

struct PhotoFile {
    QByteArray bytes;  // the whole file when fault is None
    PhotoFileFault fault = PhotoFileFault::None;
};

PhotoFile readPhotoFile(const QString& path);

}  // namespace qmv
