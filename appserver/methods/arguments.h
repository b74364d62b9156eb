#pragma once
// The positional arguments of one remote call, read with their kind and size checked. Every
// accessor throws MethodError with a clear Portuguese message naming the method and the argument.
// Plain value; any thread.
#include "platform/packet.h"

#include <QCborArray>
#include <QString>

namespace qmv::appserver {

// The service key: CDSERVICO, CDCLASSE and CDCICLO joined; class and cycle are always 4 characters,
// so the key is split from its end.
struct ServiceKey {
    QString service;
    QString serviceClass;
    QString cycle;
};

class Arguments {
public:
    Arguments(QString method, QCborArray values);

    const QString& method() const { return method_; }
    qsizetype count() const { return values_.size(); }

    void expectCount(qsizetype expected) const;

    // Argument `index` (0-based) as a text of at most `maxLength` characters.
    QString text(int index, const QString& meaning, int maxLength) const;
    // As text(), restricted to one of `allowed`.
    QString oneOf(int index, const QString& meaning, const QStringList& allowed) const;
    qint64 integer(int index, const QString& meaning) const;
    ServiceKey serviceKey(int index, const QString& meaning) const;
    // The number of levels of the hierarchical code, as decimal text from 1 to 99.
    int levels(int index) const;
    ChangeSet changeSet(int index) const;

private:
    [[noreturn]] void refuse(int index, const QString& meaning, const QString& problem) const;

    QString method_;
    QCborArray values_;
};

}  // namespace qmv::appserver
