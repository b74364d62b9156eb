#include "appserver/tlschannel.h"

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace qmv::appserver {

namespace {

std::string openSslError()
{
    char text[256] = "unknown error";
    if (const unsigned long code = ERR_get_error())
        ERR_error_string_n(code, text, sizeof text);
    ERR_clear_error();
    return text;
}

class TlsChannel : public ByteChannel {
public:
    TlsChannel(const std::shared_ptr<SSL_CTX>& context, int fd) : context_(context), ssl_(SSL_new(context.get()))
    {
        if (!ssl_ || SSL_set_fd(ssl_, fd) != 1)
            throw std::runtime_error("TLS: " + openSslError());
        SSL_set_accept_state(ssl_);
    }
    ~TlsChannel() override
    {
        SSL_shutdown(ssl_);  // best effort: the socket is non-blocking and about to close
        SSL_free(ssl_);
        ERR_clear_error();
    }

    ssize_t read(char* data, size_t size) override
    {
        const int n = SSL_read(ssl_, data, int(std::min<size_t>(size, 1 << 30)));
        return n > 0 ? n : failed(n);
    }

    // One TLS record per call, from the first part that holds bytes: the caller writes the rest next.
    ssize_t writev(const iovec* parts, int count) override
    {
        int i = 0;
        while (i < count && parts[i].iov_len == 0)
            ++i;
        if (i == count)
            return 0;
        const int n = SSL_write(ssl_, parts[i].iov_base, int(std::min<size_t>(parts[i].iov_len, 1 << 30)));
        return n > 0 ? n : failed(n);
    }

private:
    // Maps OpenSSL's outcome to the socket's: would-block as EAGAIN, the peer's close as 0.
    ssize_t failed(int result)
    {
        switch (SSL_get_error(ssl_, result)) {
        case SSL_ERROR_WANT_READ:
        case SSL_ERROR_WANT_WRITE:
            errno = EAGAIN;
            return -1;
        case SSL_ERROR_ZERO_RETURN:
            return 0;
        case SSL_ERROR_SYSCALL:
            ERR_clear_error();
            if (errno == 0)
                errno = ECONNRESET;
            return -1;
        default:
            ERR_clear_error();  // a failed handshake (a plain-HTTP client, an unknown certificate)
            errno = EPROTO;
            return -1;
        }
    }

    std::shared_ptr<SSL_CTX> context_;
    SSL* ssl_;
};

}  // namespace

ChannelFactory tlsChannels(const QString& certificateFile, const QString& keyFile)
{
    // OpenSSL writes to the socket with write(): a client gone away must not end the process.
    std::signal(SIGPIPE, SIG_IGN);
    std::shared_ptr<SSL_CTX> context(SSL_CTX_new(TLS_server_method()), SSL_CTX_free);
    if (!context)
        throw std::runtime_error("TLS: " + openSslError());
    SSL_CTX_set_min_proto_version(context.get(), TLS1_2_VERSION);
    SSL_CTX_set_mode(context.get(), SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    const std::string certificate = certificateFile.toStdString(), key = keyFile.toStdString();
    if (SSL_CTX_use_certificate_chain_file(context.get(), certificate.c_str()) != 1)
        throw std::runtime_error("cannot use the TLS certificate " + certificate + ": " + openSslError());
    if (SSL_CTX_use_PrivateKey_file(context.get(), key.c_str(), SSL_FILETYPE_PEM) != 1)
        throw std::runtime_error("cannot use the TLS private key " + key + ": " + openSslError());
    if (SSL_CTX_check_private_key(context.get()) != 1)
        throw std::runtime_error("the TLS private key " + key + " does not match the certificate " + certificate);
    return [context](int fd) -> std::unique_ptr<ByteChannel> { return std::make_unique<TlsChannel>(context, fd); };
}

}  // namespace qmv::appserver
