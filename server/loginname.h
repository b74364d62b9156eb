#pragma once
// The operating system's login name of the person running the host, sent with every call so the
// server's history can say who changed what (it grants nothing). Any thread.
#include <QByteArray>
#include <QString>

namespace qmv {

QString loginName();
// The header value: the name percent-encoded as UTF-8.
QByteArray userHeaderValue();

}  // namespace qmv
