#pragma once
// The kinds of entries that Qt's own file dialog names in its type column ("Folder", "Drive"...),
// in Brazilian Portuguese: Qt's shipped translations lack them (files are named by their MIME
// type, which the default locale already translates). Install it beside Qt's translator. UI thread.
#include <QTranslator>

namespace qmv {

class FileTypeTexts : public QTranslator {
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const override;
    bool isEmpty() const override { return false; }
};

}  // namespace qmv
