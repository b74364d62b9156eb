#pragma once
// MensErro: shows a text as an error through the UI seam and, when abort is true, ends the current
// event by throwing qmv::Abort (the guard catches it silently). UI thread only.
#include <QString>

namespace qmv {

void MensErro(const QString& text, bool abort);

// A silent abort: ends the current event without a message (a refused insert, a vetoing event).
[[noreturn]] void Abortar();

}  // namespace qmv
