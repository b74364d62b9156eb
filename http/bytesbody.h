#pragma once
// A Beast body held in a QByteArray, so that a request or an answer goes between the wire and the
// packet code without a copy into a std::string and back. Reading allocates the announced length
// once; writing hands the whole array to the socket in one buffer.
#include "http/asio.h"

#include <QByteArray>

#include <algorithm>
#include <limits>

namespace qmv::http {

struct BytesBody {
    using value_type = QByteArray;

    static std::uint64_t size(const value_type& body) { return std::uint64_t(body.size()); }

    class reader {
    public:
        template <bool isRequest, class Fields>
        reader(bhttp::header<isRequest, Fields>&, value_type& body) : body_(body)
        {
        }
        void init(const boost::optional<std::uint64_t>& length, error_code& ec)
        {
            ec = {};
            if (length && *length > std::uint64_t(std::numeric_limits<int>::max()))
                ec = bhttp::error::body_limit;
            else if (length)
                body_.reserve(qsizetype(*length));
        }
        template <class ConstBufferSequence>
        std::size_t put(const ConstBufferSequence& buffers, error_code& ec)
        {
            ec = {};
            std::size_t taken = 0;
            for (const asio::const_buffer part : beast::buffers_range_ref(buffers)) {
                body_.append(static_cast<const char*>(part.data()), qsizetype(part.size()));
                taken += part.size();
            }
            return taken;
        }
        void finish(error_code& ec) { ec = {}; }

    private:
        value_type& body_;
    };

    class writer {
    public:
        using const_buffers_type = asio::const_buffer;

        template <bool isRequest, class Fields>
        writer(const bhttp::header<isRequest, Fields>&, const value_type& body) : body_(body)
        {
        }
        void init(error_code& ec) { ec = {}; }
        boost::optional<std::pair<const_buffers_type, bool>> get(error_code& ec)
        {
            ec = {};
            return std::make_pair(asio::const_buffer(body_.constData(), std::size_t(body_.size())), false);
        }

    private:
        const value_type& body_;
    };
};

// Room in `buffer` for the next reads of a body of `length` bytes. Beast reads no more at a time
// than the buffer's free capacity (512 bytes at least), so a large body read through a small
// buffer costs a system call and a pass through the reactor every few hundred bytes.
inline void makeRoomForBody(beast::flat_buffer& buffer, const boost::optional<std::uint64_t>& length)
{
    constexpr std::uint64_t largestRead = 64 * 1024;  // Beast's own limit for one read
    if (length)
        buffer.reserve(buffer.size() + std::size_t(std::min(*length, largestRead)));
}

}  // namespace qmv::http
