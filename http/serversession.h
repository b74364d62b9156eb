#pragma once
// One accepted connection, plain (Stream = tcp::socket) or TLS (asio::ssl::stream), on its own
// strand: TLS handshake, then request after request, each read by Beast's parser with the head
// and body limits set before reading, and a timer of its own per phase. A request that comes too
// slowly is answered 408 (the timer cancels the read, the read's handler answers); a complete one
// goes to the executor and its answer is written when the worker posts it back. Internal to the
// server.
#include "http/bytesbody.h"
#include "http/servercore.h"

#include <optional>

namespace qmv::http {

// The status to answer a request the parser refused with, 0 when the client merely went away.
int refusalStatus(const error_code& ec);
std::string refusalMessage(int status);
HttpRequest requestOf(bhttp::request<BytesBody>&& message);
bhttp::response<BytesBody> responseOf(HttpResponse&& answer, bool close);

template <class Stream>
class Session : public SessionControl, public std::enable_shared_from_this<Session<Stream>> {
public:
    static constexpr bool tls = !std::is_same_v<Stream, tcp::socket>;

    template <class... StreamArgs>
    explicit Session(ServerCore& core, StreamArgs&&... streamArgs)
        : core_(core), stream_(std::forward<StreamArgs>(streamArgs)...), timer_(stream_.get_executor())
    {
    }
    ~Session() override
    {
        if (phase_ == Phase::Idle)
            --core_.idle;
        core_.leave(id_);
    }

    void start(uint64_t id)
    {
        id_ = id;
        error_code unknown;
        const tcp::endpoint peer = socket().remote_endpoint(unknown);
        if (!unknown)
            peer_ = peer.address().to_string();
        asio::dispatch(stream_.get_executor(), [self = this->shared_from_this()] { self->guard([&] { self->open(); }); });
    }

    void beginStop() override
    {
        asio::post(stream_.get_executor(), [self = this->shared_from_this()] {
            if (self->phase_ == Phase::Calling || self->phase_ == Phase::Writing)
                self->closeAfter_ = true;
            else
                self->close();
        });
    }
    void forceClose() override
    {
        asio::post(stream_.get_executor(), [self = this->shared_from_this()] { self->close(); });
    }

private:
    enum class Phase { Handshake, Idle, Head, Body, Calling, Writing, Draining, Closed };

    tcp::socket& socket() { return beast::get_lowest_layer(stream_); }

    // Runs one step; anything it throws closes this connection only, and is reported.
    template <class Step>
    void guard(Step&& step)
    {
        try {
            step();
        } catch (const std::exception& error) {
            core_.fault(std::string("HTTP connection closed after an error: ") + error.what());
            close();
        }
    }

    template <class Step>
    auto step(Step&& body)
    {
        return [self = this->shared_from_this(), body = std::forward<Step>(body)](auto&&... args) mutable {
            self->guard([&] { body(*self, args...); });
        };
    }

    // The idle count follows the phase, so the server can tell its idle connections at any time.
    void enter(Phase phase)
    {
        if ((phase_ == Phase::Idle) != (phase == Phase::Idle))
            core_.idle += phase == Phase::Idle ? 1 : -1;
        phase_ = phase;
    }

    // One wait per connection, not one per phase: a phase moves the deadline, and the timer is set
    // again only when the deadline comes before it. When it fires early, it waits for the rest.
    void arm(Phase phase, std::chrono::milliseconds limit)
    {
        enter(phase);
        deadline_ = std::chrono::steady_clock::now() + limit;
        if (!timerSet_ || deadline_ < timer_.expiry())
            setTimer();
    }

    void setTimer()
    {
        timer_.expires_at(deadline_);
        timerSet_ = true;
        timer_.async_wait([self = this->shared_from_this(), armed = ++armed_](const error_code& ec) {
            if (ec || armed != self->armed_)
                return;
            self->timerSet_ = false;
            self->guard([&] { self->onTimer(); });
        });
    }

    void onTimer()
    {
        if (phase_ == Phase::Calling || phase_ == Phase::Closed)
            return;  // no time limit on a call; the answer's write sets the timer again
        if (std::chrono::steady_clock::now() < deadline_)
            return setTimer();
        onTimeout();
    }

    void onTimeout()
    {
        if (phase_ == Phase::Head || phase_ == Phase::Body) {
            timedOut_ = true;  // the read's handler answers 408
            error_code ignored;
            socket().cancel(ignored);
            return;
        }
        close();
    }

    void open()
    {
        if constexpr (tls) {
            arm(Phase::Handshake, core_.limits.headerTimeout);
            stream_.async_handshake(asio::ssl::stream_base::server, step([](Session& s, const error_code& ec) {
                                        if (ec)
                                            return s.close();
                                        s.awaitRequest();
                                    }));
        } else {
            awaitRequest();
        }
    }

    void awaitRequest()
    {
        if (core_.stopping)
            return close();
        parser_.emplace();
        parser_->header_limit(std::uint32_t(core_.limits.maxHeadBytes));
        parser_->body_limit(std::uint64_t(core_.limits.maxBodyBytes));
        timedOut_ = false;
        if (buffer_.size() > 0)
            return readHead();  // the next request came with the last one
        if (buffer_.capacity() > 4096)
            buffer_.shrink_to_fit();  // an idle connection keeps no large body's room
        arm(Phase::Idle, core_.limits.idleTimeout);
        stream_.async_read_some(buffer_.prepare(4096), step([](Session& s, const error_code& ec, std::size_t n) {
                                    s.buffer_.commit(n);
                                    if (ec)
                                        return s.close();
                                    s.readHead();
                                }));
    }

    void readHead()
    {
        arm(Phase::Head, core_.limits.headerTimeout);
        bhttp::async_read_header(stream_, buffer_, *parser_,
                                 step([](Session& s, const error_code& ec, std::size_t) { s.onHead(ec); }));
    }

    void onHead(const error_code& ec)
    {
        if (const int status = failedRead(ec))
            return refuse(status);
        if (phase_ == Phase::Closed || ec)
            return;
        const auto& message = parser_->get();
        if (message.version() != 10 && message.version() != 11)
            return refuse(505);
        if (parser_->chunked())
            return refuse(411);
        if (message.count(bhttp::field::content_length) > 1)
            return refuse(400);  // even when equal: a proxy before us may have read either
        const auto expect = message[bhttp::field::expect];
        if (!expect.empty() && !beast::iequals(expect, "100-continue"))
            return refuse(417);
        if (!expect.empty() && !parser_->is_done()) {
            static const std::string go = "HTTP/1.1 100 Continue\r\n\r\n";
            return asio::async_write(stream_, asio::buffer(go), step([](Session& s, const error_code& e, std::size_t) {
                                         if (e)
                                             return s.close();
                                         s.readBody();
                                     }));
        }
        readBody();
    }

    void readBody()
    {
        if (parser_->is_done())
            return dispatch();
        arm(Phase::Body, core_.limits.bodyTimeout);
        makeRoomForBody(buffer_, parser_->content_length_remaining());
        bhttp::async_read(stream_, buffer_, *parser_, step([](Session& s, const error_code& ec, std::size_t) {
                              if (const int status = s.failedRead(ec))
                                  return s.refuse(status);
                              if (s.phase_ != Phase::Closed && !ec)
                                  s.dispatch();
                          }));
    }

    // After a read: the status to refuse the request with, or 0 (the read succeeded, or the client
    // went away and the connection is closed).
    int failedRead(const error_code& ec)
    {
        if (timedOut_)
            return 408;
        if (!ec)
            return 0;
        const int status = refusalStatus(ec);
        if (status == 0)
            close();
        return status;
    }

    void dispatch()
    {
        enter(Phase::Calling);
        auto request = std::make_shared<HttpRequest>(requestOf(parser_->release()));
        request->peer = peer_;
        if (core_.handlers.answerAtOnce) {
            if (std::optional<HttpResponse> now = core_.handlers.answerAtOnce(*request))
                return respond(std::move(*now), request->keepAlive);
        }
        const bool large = request->body.size() >= 256 * 1024;
        if (large)
            core_.largeCallStarted();
        core_.handlers.execute([self = this->shared_from_this(), request, large]() mutable {
            const bool keepAlive = request->keepAlive;
            HttpResponse answer = self->answer(*request);
            request.reset();
            if (large)
                self->core_.largeCallFinished();
            asio::post(self->stream_.get_executor(), [self, answer = std::move(answer), keepAlive]() mutable {
                self->guard([&] { self->respond(std::move(answer), keepAlive); });
            });
        });
    }

    // On a worker.
    HttpResponse answer(HttpRequest& request) const
    {
        try {
            if (core_.stopping)
                return core_.handlers.refuse(503, "Servidor em encerramento; repita a chamada.", request);
            return core_.handlers.answer(request);
        } catch (const std::exception& error) {
            return core_.handlers.refuse(500, error.what(), request);
        }
    }

    void refuse(int status)
    {
        HttpRequest partial;
        if (parser_ && parser_->is_header_done())
            partial = requestOf(parser_->release());
        respond(core_.handlers.refuse(status, refusalMessage(status), partial), false);
    }

    void respond(HttpResponse&& answer, bool keepAlive)
    {
        if (phase_ == Phase::Closed)
            return;
        closeAfter_ = closeAfter_ || !keepAlive || core_.stopping;
        response_.emplace(responseOf(std::move(answer), closeAfter_));
        arm(Phase::Writing, core_.limits.writeTimeout);
        bhttp::async_write(stream_, *response_, step([](Session& s, const error_code& ec, std::size_t) {
                               s.response_.reset();
                               if (ec)
                                   return s.close();
                               if (s.closeAfter_)
                                   return s.drain();
                               s.awaitRequest();
                           }));
    }

    // Unread request bytes would make the close reset the connection and lose the answer: stop
    // sending, then read and drop what the client still sends for a moment.
    void drain()
    {
        if (phase_ != Phase::Draining) {
            error_code ignored;
            socket().shutdown(tcp::socket::shutdown_send, ignored);
            arm(Phase::Draining, std::chrono::seconds(2));
        }
        socket().async_read_some(asio::buffer(scratch_), step([](Session& s, const error_code& ec, std::size_t) {
                                     if (ec)
                                         return s.close();
                                     s.drain();
                                 }));
    }

    void close()
    {
        if (phase_ == Phase::Closed)
            return;
        enter(Phase::Closed);
        ++armed_;
        timer_.cancel();
        error_code ignored;
        socket().shutdown(tcp::socket::shutdown_both, ignored);
        socket().close(ignored);
    }

    ServerCore& core_;
    Stream stream_;
    asio::steady_timer timer_;
    beast::flat_buffer buffer_;
    std::optional<bhttp::request_parser<BytesBody>> parser_;
    std::optional<bhttp::response<BytesBody>> response_;
    std::array<char, 4096> scratch_;
    std::string peer_;
    uint64_t id_ = 0;
    uint64_t armed_ = 0;
    std::chrono::steady_clock::time_point deadline_;
    bool timerSet_ = false;
    Phase phase_ = Phase::Handshake;  // until the first request is awaited
    bool timedOut_ = false;
    bool closeAfter_ = false;
};

}  // namespace qmv::http
