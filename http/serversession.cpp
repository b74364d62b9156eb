#include "http/serversession.h"

namespace qmv::http {

int refusalStatus(const error_code& ec)
{
    if (ec.category() != bhttp::make_error_code(bhttp::error::bad_method).category())
        return 0;  // the socket's: reset, closed, cancelled
    switch (bhttp::error(ec.value())) {
    case bhttp::error::end_of_stream:
    case bhttp::error::partial_message:
        return 0;  // the client left before its request was complete
    case bhttp::error::header_limit:
        return 431;
    case bhttp::error::body_limit:
        return 413;
    case bhttp::error::bad_version:
        return 505;
    default:
        return 400;
    }
}

std::string refusalMessage(int status)
{
    switch (status) {
    case 408: return "A requisição não chegou a tempo.";
    case 411: return "Corpo sem Content-Length (Transfer-Encoding) não é aceito.";
    case 413: return "Corpo da requisição grande demais.";
    case 417: return "Expect não suportado.";
    case 431: return "Cabeçalhos da requisição grandes demais.";
    case 505: return "Versão de HTTP não suportada.";
    default: return "Requisição malformada.";
    }
}

HttpRequest requestOf(bhttp::request<BytesBody>&& message)
{
    HttpRequest request;
    request.method = std::string(message.method_string());
    const std::string_view target(message.target().data(), message.target().size());
    request.path = percentDecoded(target.substr(0, target.find('?')));
    request.minorVersion = message.version() % 10;
    request.keepAlive = message.keep_alive();
    for (const auto& field : message) {
        std::string name(field.name_string());
        for (char& c : name)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        request.headers.emplace_back(std::move(name), std::string(field.value()));
    }
    request.body = std::move(message.body());
    return request;
}

bhttp::response<BytesBody> responseOf(HttpResponse&& answer, bool close)
{
    bhttp::response<BytesBody> response;
    response.version(11);
    response.result(unsigned(answer.status));
    response.set(bhttp::field::content_type, answer.contentType);
    response.set(bhttp::field::connection, close ? "close" : "keep-alive");
    for (const auto& [name, value] : answer.headers)
        response.set(name, value);
    response.body() = std::move(answer.body);
    response.prepare_payload();
    return response;
}

}  // namespace qmv::http
