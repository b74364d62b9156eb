#include "loadrun.h"

namespace qmv::bench {

Outcome answerIn(const std::string& received)
{
    const size_t head = received.find("\r\n\r\n");
    if (head == std::string::npos)
        return Outcome::Unfinished;
    const size_t at = received.find("Content-Length: ");
    const size_t length = at < head ? std::stoul(received.substr(at + 16)) : 0;
    if (received.size() < head + 4 + length)
        return Outcome::Unfinished;
    return received.compare(0, 12, "HTTP/1.1 200") == 0 ? Outcome::Ok : Outcome::Error;
}

}  // namespace qmv::bench
