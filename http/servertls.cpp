#include "http/servertls.h"

#include "http/servercore.h"

#include <QFile>

#include <stdexcept>

namespace qmv::http {

std::shared_ptr<ServerTls> loadServerTls(const QString& certificateFile, const QString& keyFile)
{
    auto tls = std::make_shared<ServerTls>();
    asio::ssl::context& context = tls->context;
    context.set_options(asio::ssl::context::default_workarounds | asio::ssl::context::no_sslv2
                        | asio::ssl::context::no_sslv3 | asio::ssl::context::no_tlsv1
                        | asio::ssl::context::no_tlsv1_1);
    const std::string certificate = QFile::encodeName(certificateFile).toStdString();
    const std::string key = QFile::encodeName(keyFile).toStdString();
    error_code ec;
    context.use_certificate_chain_file(certificate, ec);
    if (ec)
        throw std::runtime_error("cannot use the TLS certificate " + certificate + ": " + ec.message());
    context.use_private_key_file(key, asio::ssl::context::pem, ec);
    if (ec)
        throw std::runtime_error("cannot use the TLS private key " + key + ": " + ec.message());
    if (SSL_CTX_check_private_key(context.native_handle()) != 1)
        throw std::runtime_error("the TLS private key " + key + " does not match the certificate " + certificate);
    return tls;
}

}  // namespace qmv::http
