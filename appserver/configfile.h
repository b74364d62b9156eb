#pragma once
// The server's configuration file (/etc/qmv/appserver.conf when installed): `name=value` lines named
// like the command-line options that take a value (db, pg, port, listen, threads, tls-cert, tls-key,
// access-keys, history-days); blank lines and lines starting with '#' are skipped. Read once at start; any thread.
#include <string>
#include <vector>

namespace qmv::appserver {

// The command line with `--config FILE` replaced by the file's settings, put first so that every
// option given on the command line overrides them. Without --config, the arguments as they are
// (program name left out). Throws std::runtime_error naming the file, and the line at fault.
std::vector<std::string> argumentsWithConfigFile(int argc, const char* const* argv);

}  // namespace qmv::appserver
