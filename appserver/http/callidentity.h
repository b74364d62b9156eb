#pragma once
// Who makes a call, as the history records it, read from the request's headers: the access key by a
// label that does not reveal it, and the login name the client sends. Nothing here decides access.
// Plain functions; any thread.
#include "appserver/methods/methodcontext.h"
#include "http/httpmessage.h"

namespace qmv::appserver {

// "chave:" and the first 8 hex digits of the key's SHA-256; "local" for no key.
QString accessKeyLabel(const std::string& key);

// The key's label and the user header (percent-decoded, control characters dropped, at most 64
// characters).
CallIdentity callIdentity(const http::HttpRequest& request);

}  // namespace qmv::appserver
