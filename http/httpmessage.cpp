#include "http/httpmessage.h"

#include "platform/hexdigit.h"

namespace qmv::http {

const std::string& HttpRequest::header(std::string_view lowerName) const
{
    static const std::string none;
    for (const auto& [name, value] : headers)
        if (name == lowerName)
            return value;
    return none;
}

std::string percentDecoded(std::string_view text)
{
    std::string decoded;
    decoded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const int high = text[i] == '%' && i + 2 < text.size() ? hexDigit(text[i + 1]) : -1;
        const int low = high >= 0 ? hexDigit(text[i + 2]) : -1;
        if (low >= 0) {
            decoded += char(high * 16 + low);
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

}  // namespace qmv::http
