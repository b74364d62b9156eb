#pragma once
// What a serving process sets for itself, in one place: the program's main calls it before any
// thread starts, and so does the in-process test server. Library code changes no process-wide
// setting. Idempotent.
namespace qmv::appserver {

void applyServingProcessSettings();

}  // namespace qmv::appserver
