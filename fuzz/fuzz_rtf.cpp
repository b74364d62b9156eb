// The RTF reader on untrusted files: readRtf fills the document or throws RtfError, never crashes
// or hangs; data that is not RTF goes through the plain-text decoder instead.
#include "platform/rtfreader.h"

#include <QGuiApplication>
#include <QTextDocument>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);  // fonts and text layout need the application
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!qmv::looksLikeRtf(bytes)) {
        (void)qmv::decodePlainText(bytes);
        return 0;
    }
    QTextDocument document;
    try {
        qmv::readRtf(bytes, document);
    } catch (const qmv::RtfError&) {
    }
    (void)document.toPlainText();
    return 0;
}
