#include "appserver/httprequest.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace qmv::appserver {

namespace {

std::string lowered(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

bool isToken(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return std::isalnum(c) || std::string_view("!#$%&'*+-.^_`|~").find(char(c)) != std::string_view::npos;
    });
}

bool hasToken(std::string_view list, std::string_view token)
{
    const std::string lower = lowered(list);
    size_t start = 0;
    while (start <= lower.size()) {
        const size_t comma = std::min(lower.find(',', start), lower.size());
        if (trimmed(std::string_view(lower).substr(start, comma - start)) == token)
            return true;
        start = comma + 1;
    }
    return false;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = char(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

}  // namespace

std::string percentDecoded(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            out += char(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

const std::string& HttpRequest::header(std::string_view lowerName) const
{
    static const std::string none;
    for (const auto& [name, value] : headers)
        if (name == lowerName)
            return value;
    return none;
}

RequestParser::RequestParser(size_t maxHeadBytes, qsizetype maxBodyBytes)
    : maxHeadBytes_(maxHeadBytes), maxBodyBytes_(maxBodyBytes)
{
}

void RequestParser::reset()
{
    state_ = State::Head;
    started_ = false;
    head_.clear();
    if (head_.capacity() > 4096)
        head_.shrink_to_fit();
    received_ = 0;
    request_ = HttpRequest();
    errorStatus_ = 0;
    errorMessage_.clear();
}

void RequestParser::fail(int status, std::string message)
{
    state_ = State::Failed;
    errorStatus_ = status;
    errorMessage_ = std::move(message);
}

size_t RequestParser::feed(const char* data, size_t size)
{
    if (state_ == State::Body) {
        const size_t take = std::min(size, size_t(bodyMissing()));
        std::copy_n(data, take, bodyCursor());
        advance(qsizetype(take));
        return take;
    }
    if (state_ != State::Head || size == 0)
        return 0;
    // Blank lines before a request are tolerated (some clients send a CRLF after a body).
    size_t used = 0;
    while (head_.empty() && used < size && (data[used] == '\r' || data[used] == '\n'))
        ++used;
    if (used == size)
        return used;
    started_ = true;
    const size_t searchFrom = head_.size() >= 3 ? head_.size() - 3 : 0;
    head_.append(data + used, size - used);
    const size_t end = head_.find("\r\n\r\n", searchFrom);
    if (end == std::string::npos) {
        if (head_.size() > maxHeadBytes_)
            fail(431, "Cabeçalhos da requisição grandes demais.");
        return size;
    }
    const size_t surplus = head_.size() - (end + 4);
    head_.resize(end + 2);
    if (head_.size() > maxHeadBytes_) {
        fail(431, "Cabeçalhos da requisição grandes demais.");
        return size - surplus;
    }
    parseHead();
    const size_t consumed = size - surplus;
    if (state_ == State::Body && surplus > 0)
        return consumed + feed(data + consumed, surplus);
    return consumed;
}

void RequestParser::parseHead()
{
    const std::string_view head(head_);
    size_t lineEnd = head.find("\r\n");
    const std::string_view line = head.substr(0, lineEnd);
    const size_t sp1 = line.find(' ');
    const size_t sp2 = line.rfind(' ');
    if (sp1 == std::string_view::npos || sp2 == sp1)
        return fail(400, "Linha de requisição inválida.");
    const std::string_view version = line.substr(sp2 + 1);
    if (version != "HTTP/1.1" && version != "HTTP/1.0")
        return fail(version.starts_with("HTTP/") ? 505 : 400, "Versão de HTTP não suportada.");
    request_.method = std::string(line.substr(0, sp1));
    if (!isToken(request_.method))
        return fail(400, "Linha de requisição inválida.");
    std::string_view target = line.substr(sp1 + 1, sp2 - sp1 - 1);
    if (target.empty() || target.find(' ') != std::string_view::npos)
        return fail(400, "Linha de requisição inválida.");
    target = target.substr(0, target.find('?'));
    request_.path = percentDecoded(target);
    request_.minorVersion = version.back() - '0';

    int lengthHeaders = 0;
    qsizetype length = 0;
    std::string connection;
    for (size_t start = lineEnd + 2; start < head.size(); start = lineEnd + 2) {
        lineEnd = head.find("\r\n", start);
        const std::string_view field = head.substr(start, lineEnd - start);
        const size_t colon = field.find(':');
        if (colon == std::string_view::npos || !isToken(field.substr(0, colon)))
            return fail(400, "Cabeçalho inválido.");
        std::string name = lowered(field.substr(0, colon));
        const std::string_view value = trimmed(field.substr(colon + 1));
        if (name == "content-length") {
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
            if (++lengthHeaders > 1)
                return fail(400, "Mais de um cabeçalho Content-Length.");
            if (error != std::errc() || end != value.data() + value.size() || value.empty() || length < 0)
                return fail(400, "Content-Length inválido.");
        } else if (name == "transfer-encoding") {
            return fail(411, "Corpo sem Content-Length (Transfer-Encoding) não é aceito.");
        } else if (name == "connection") {
            connection = std::string(value);
        } else if (name == "expect") {
            if (lowered(value) != "100-continue")
                return fail(417, "Expect não suportado.");
            request_.expectContinue = true;
        }
        request_.headers.emplace_back(std::move(name), std::string(value));
    }
    request_.keepAlive = request_.minorVersion == 1 ? !hasToken(connection, "close")
                                                    : hasToken(connection, "keep-alive");
    if (length > maxBodyBytes_)
        return fail(413, "Corpo da requisição grande demais.");
    request_.body = QByteArray(length, Qt::Uninitialized);
    received_ = 0;
    state_ = length > 0 ? State::Body : State::Complete;
}

char* RequestParser::bodyCursor()
{
    return request_.body.data() + received_;
}

qsizetype RequestParser::bodyMissing() const
{
    return state_ == State::Body ? request_.body.size() - received_ : 0;
}

void RequestParser::advance(qsizetype bytes)
{
    received_ += bytes;
    if (received_ >= request_.body.size())
        state_ = State::Complete;
}

}  // namespace qmv::appserver
