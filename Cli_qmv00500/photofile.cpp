#include "Cli_qmv00500/photofile.h"

#include <QFile>
#include <QImage>

namespace qmv {

// The size is learnt before reading, so an oversized file is never read whole.
PhotoFile readPhotoFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, PhotoFileFault::Unreadable};
    if (file.size() >= kPhotoSizeLimit)
        return {{}, PhotoFileFault::TooLarge};
    PhotoFile photo{file.readAll(), PhotoFileFault::None};
    if (file.error() != QFileDevice::NoError)
        return {{}, PhotoFileFault::Unreadable};
    if (photo.bytes.size() >= kPhotoSizeLimit)
        return {{}, PhotoFileFault::TooLarge};
    if (QImage::fromData(photo.bytes).isNull())
        return {{}, PhotoFileFault::NotAPicture};
    return photo;
}

}  // namespace qmv
