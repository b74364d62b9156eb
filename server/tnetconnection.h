#pragma once
// The socket connection to the application server: names the server object (ServerName), takes its host
// and port from the before-connect handler just before every connect, and hands remote calls to its
// transport. With ThrowException false (the setting the screens use) a failed call comes back as the
// call's result for CheckResultServ to report; with it true the call throws RemoteCallError.
// A failed connect always throws ConnectionError. UI thread only; at most one call in flight.
// When no answer comes back (the server stopped or restarted, the network dropped), a read, or any
// call whose request was not sent at all, is sent once more over a fresh connection; a write that may
// have reached the server never is, since it may have been stored: its failure says so. The result's
// delivery tells the caller which of the two happened. The call after one that got no answer opens a
// fresh connection first.
#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>

#include "platform/remoteresult.h"
#include "server/transport.h"

namespace qmv {

class ConnectionError : public std::runtime_error {
public:
    explicit ConnectionError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

class RemoteCallError : public std::runtime_error {
public:
    explicit RemoteCallError(const QString& message);
    QString message() const { return QString::fromUtf8(what()); }
};

class TNetConnection : public QObject {
    Q_OBJECT
public:
    // Without a transport the connection speaks HTTP (HttpTransport).
    explicit TNetConnection(QObject* parent = nullptr, std::unique_ptr<Transport> transport = {});
    ~TNetConnection() override;

    const QString& ServerName() const { return serverName_; }
    void setServerName(const QString& name) { serverName_ = name; }
    bool ThrowException() const { return throwException_; }
    void setThrowException(bool on) { throwException_ = on; }

    const QString& host() const { return host_; }
    void setHost(const QString& host) { host_ = host; }
    int port() const { return port_; }
    void setPort(int port) { port_ = port; }

    std::chrono::milliseconds connectTimeout() const { return connectTimeout_; }
    void setConnectTimeout(std::chrono::milliseconds timeout) { connectTimeout_ = timeout; }
    std::chrono::milliseconds callTimeout() const { return callTimeout_; }
    void setCallTimeout(std::chrono::milliseconds timeout) { callTimeout_ = timeout; }

    // Runs just before every connect; the owner sets port and host here.
    std::function<void(TNetConnection&)> beforeConnect;

    // Runs beforeConnect, then checks that the server answers. Throws ConnectionError on failure.
    void connect();
    void disconnect();
    bool connected() const { return connected_; }

    // One remote method of the server object, arguments by position.
    RemoteResult call(const QString& method, const CallArguments& args);

private:
    RemoteResult send(const QString& method, const CallArguments& args);
    RemoteResult retry(const QString& method, const CallArguments& args, const RemoteResult& failed);

    std::unique_ptr<Transport> transport_;
    QString serverName_;
    bool throwException_ = false;
    QString host_ = QStringLiteral("127.0.0.1");
    int port_ = 8211;
    std::chrono::milliseconds connectTimeout_{5000};
    std::chrono::milliseconds callTimeout_{30000};
    bool connected_ = false;
    bool stale_ = false;  // the last call got no answer: reopen before the next
};

}  // namespace qmv
