#pragma once
// The host's result check, the one place that reports a failed remote call: every remote result goes
// through CheckResultServ(result, true, 0) before it is used. UI thread only.
#include "platform/remoteresult.h"

namespace qmv {

// Returns the payload of a successful result (decoded from its wire bytes when the transport kept them). A failed one is shown through the UI seam; with `abort`
// true qmv::Abort is then thrown so that nothing after the call runs, with `abort` false an invalid
// payload is returned. A non-zero `code` is shown after the text as " (código N)".
QCborValue CheckResultServ(const RemoteResult& result, bool abort, int code);

}  // namespace qmv
