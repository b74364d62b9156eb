#pragma once
// What a remote method does, in the words of the person at the screen ("leitura dos sub-grupos"),
// for the messages of a failed call: they never show a method's name. Any thread.
#include <QString>

namespace qmv {

// The method's own name when it has no description.
QString methodSubject(const QString& method);

}  // namespace qmv
