#include "update/headless/PosixHttpClient.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "update/core/TransferFile.h"

namespace zorbinta {
namespace {

constexpr std::size_t kChunkSize = 1024;
constexpr std::size_t kMaxHeadSize = 64 * 1024;
// After a body of the announced length, how long to look for bytes beyond it.
constexpr std::chrono::milliseconds kTrailingWait{1000};

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool startsWithNoCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && lower(text.substr(0, prefix.size())) == prefix;
}

// A decimal text of digits only, as HTTP writes lengths.
std::optional<std::uint64_t> parseLength(const std::string& text) {
    if (text.empty() || text.size() > 18) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

struct Url {
    std::string host;
    std::string port = "80";
    std::string path = "/";

    std::string hostHeader() const {
        const std::string name = host.find(':') != std::string::npos ? "[" + host + "]" : host;
        return port == "80" ? name : name + ":" + port;
    }
};

std::optional<Url> parseUrl(const std::string& text) {
    const std::string scheme = "http://";
    if (!startsWithNoCase(text, scheme)) return std::nullopt;
    std::string rest = text.substr(scheme.size());
    if (const auto hash = rest.find('#'); hash != std::string::npos) rest.erase(hash);
    const auto pathStart = rest.find_first_of("/?");
    std::string authority = rest.substr(0, pathStart);
    Url url;
    if (pathStart != std::string::npos) {
        url.path = rest.substr(pathStart);
        if (url.path.front() == '?') url.path.insert(0, "/");
    }
    if (const auto at = authority.rfind('@'); at != std::string::npos) authority.erase(0, at + 1);
    std::string portText;
    if (!authority.empty() && authority.front() == '[') {
        const auto close = authority.find(']');
        if (close == std::string::npos) return std::nullopt;
        url.host = authority.substr(1, close - 1);
        const std::string after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':') return std::nullopt;
            portText = after.substr(1);
        }
    } else {
        const auto colon = authority.find(':');
        url.host = authority.substr(0, colon);
        if (colon != std::string::npos) portText = authority.substr(colon + 1);
    }
    if (url.host.empty()) return std::nullopt;
    if (!portText.empty()) {
        const auto port = parseLength(portText);
        if (!port || *port == 0 || *port > 65535) return std::nullopt;
        url.port = std::to_string(*port);
    }
    return url;
}

// A Location header against the address it came from.
std::optional<Url> resolveLocation(const Url& base, const std::string& location) {
    if (location.empty()) return std::nullopt;
    if (location.find("://") != std::string::npos) return parseUrl(location);
    if (location.rfind("//", 0) == 0) return parseUrl("http:" + location);
    Url next = base;
    if (location.front() == '/') {
        next.path = location;
    } else {
        const std::string dir = base.path.substr(0, base.path.rfind('/') + 1);
        next.path = dir + location;
    }
    if (const auto hash = next.path.find('#'); hash != std::string::npos) next.path.erase(hash);
    return next;
}

enum class Io { Data, End, TimedOut, Error };

// One TCP connection with a stall limit on every wait. Bytes read past the
// head wait in pending_ for the body.
class Connection {
public:
    explicit Connection(std::chrono::milliseconds timeout) : timeout_(timeout) {}
    ~Connection() {
        if (fd_ >= 0) ::close(fd_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Io connect(const Url& url) {
        addrinfo hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_flags = AI_NUMERICSERV;
        addrinfo* found = nullptr;
        if (::getaddrinfo(url.host.c_str(), url.port.c_str(), &hints, &found) != 0) {
            return Io::Error;
        }
        std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> list(found, &::freeaddrinfo);
        Io outcome = Io::Error;
        for (const addrinfo* a = found; a != nullptr; a = a->ai_next) {
            const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                                    a->ai_protocol);
            if (fd < 0) continue;
            if (::connect(fd, a->ai_addr, a->ai_addrlen) == 0) {
                fd_ = fd;
                return Io::Data;
            }
            if (errno == EINPROGRESS) {
                const Io ready = wait(fd, POLLOUT, timeout_);
                int error = 0;
                socklen_t size = sizeof error;
                if (ready == Io::Data &&
                    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0) {
                    fd_ = fd;
                    return Io::Data;
                }
                if (ready == Io::TimedOut) outcome = Io::TimedOut;
            }
            ::close(fd);
        }
        return outcome;
    }

    Io sendAll(const std::string& bytes) {
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n > 0) {
                sent += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                const Io ready = wait(fd_, POLLOUT, timeout_);
                if (ready != Io::Data) return ready;
                continue;
            }
            return Io::Error;
        }
        return Io::Data;
    }

    // Up to size bytes: what is pending first, then one read from the socket.
    Io readSome(char* buffer, std::size_t size, std::size_t& got,
                std::optional<std::chrono::milliseconds> timeout = std::nullopt) {
        got = 0;
        if (!pending_.empty()) {
            got = std::min(size, pending_.size());
            std::copy_n(pending_.begin(), got, buffer);
            pending_.erase(0, got);
            return Io::Data;
        }
        for (;;) {
            const ssize_t n = ::recv(fd_, buffer, size, 0);
            if (n > 0) {
                got = static_cast<std::size_t>(n);
                return Io::Data;
            }
            if (n == 0) return Io::End;
            if (errno == EINTR) continue;
            if (errno != EAGAIN && errno != EWOULDBLOCK) return Io::Error;
            const Io ready = wait(fd_, POLLIN, timeout.value_or(timeout_));
            if (ready != Io::Data) return ready;
        }
    }

    // Exactly size bytes unless the stream ends first (got < size then).
    Io readFull(char* buffer, std::size_t size, std::size_t& got) {
        got = 0;
        while (got < size) {
            std::size_t n = 0;
            const Io io = readSome(buffer + got, size - got, n);
            if (io == Io::End) return got > 0 ? Io::Data : Io::End;
            if (io != Io::Data) return io;
            got += n;
        }
        return Io::Data;
    }

    // A line ending in LF (CR LF accepted), without its terminator.
    Io readLine(std::string& line, std::size_t limit) {
        line.clear();
        char c = 0;
        for (;;) {
            std::size_t n = 0;
            const Io io = readSome(&c, 1, n);
            if (io != Io::Data) return io;
            if (c == '\n') break;
            line.push_back(c);
            if (line.size() > limit) return Io::Error;
        }
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return Io::Data;
    }

    // The reply's head up to its blank line; what follows stays pending.
    Io readHead(std::string& head) {
        head.clear();
        char buffer[kChunkSize];
        for (;;) {
            auto end = head.find("\r\n\r\n");
            std::size_t skip = 4;
            if (const auto bare = head.find("\n\n"); bare != std::string::npos && bare < end) {
                end = bare;
                skip = 2;
            }
            if (end != std::string::npos) {
                pending_ = head.substr(end + skip) + pending_;
                head.erase(end);
                return Io::Data;
            }
            if (head.size() > kMaxHeadSize) return Io::Error;
            std::size_t got = 0;
            const Io io = readSome(buffer, sizeof buffer, got);
            if (io == Io::End) return Io::Error;  // closed before the head ended
            if (io != Io::Data) return io;
            head.append(buffer, got);
        }
    }

private:
    static Io wait(int fd, short events, std::chrono::milliseconds timeout) {
        pollfd p{fd, events, 0};
        for (;;) {
            const int rc = ::poll(&p, 1, static_cast<int>(timeout.count()));
            if (rc > 0) return Io::Data;  // ready, or an error the next call reports
            if (rc == 0) return Io::TimedOut;
            if (errno != EINTR) return Io::Error;
        }
    }

    std::chrono::milliseconds timeout_;
    int fd_ = -1;
    std::string pending_;
};

struct Reply {
    int status = 0;
    std::multimap<std::string, std::string> headers;  // names in lower case

    std::optional<std::string> header(const std::string& name) const {
        const auto it = headers.find(name);
        if (it == headers.end()) return std::nullopt;
        return it->second;
    }
};

bool parseHead(const std::string& head, Reply& reply) {
    std::size_t start = 0;
    bool first = true;
    while (start <= head.size()) {
        auto end = head.find('\n', start);
        if (end == std::string::npos) end = head.size();
        std::string line = head.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        start = end + 1;
        if (first) {
            first = false;
            // "HTTP/1.1 200 OK"
            if (line.rfind("HTTP/", 0) != 0) return false;
            const auto space = line.find(' ');
            if (space == std::string::npos || line.size() < space + 4) return false;
            const auto code = parseLength(line.substr(space + 1, 3));
            if (!code || *code < 100) return false;
            reply.status = static_cast<int>(*code);
            continue;
        }
        if (line.empty()) continue;
        const auto colon = line.find(':');
        if (colon == std::string::npos) continue;
        reply.headers.emplace(lower(trim(line.substr(0, colon))), trim(line.substr(colon + 1)));
    }
    return !first;
}

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

enum class Opened { Ok, Failed, TimedOut };

Opened fromIo(Io io) {
    return io == Io::TimedOut ? Opened::TimedOut : Opened::Failed;
}

// Sends the GET and reads the final reply's head, following redirects. A
// redirect beyond the limit comes back as that 3xx reply.
Opened openUrl(const std::string& address, const std::string& userAgent,
               std::chrono::milliseconds timeout, std::unique_ptr<Connection>& connection,
               Reply& reply) {
    std::optional<Url> url = parseUrl(address);
    for (int hop = 0;; ++hop) {
        if (!url) return Opened::Failed;
        connection = std::make_unique<Connection>(timeout);
        if (const Io io = connection->connect(*url); io != Io::Data) return fromIo(io);
        const std::string request = "GET " + url->path + " HTTP/1.1\r\nHost: " + url->hostHeader() +
                                    "\r\nUser-Agent: " + userAgent +
                                    "\r\nAccept: */*\r\nConnection: close\r\n\r\n";
        if (const Io io = connection->sendAll(request); io != Io::Data) return fromIo(io);
        do {  // interim 1xx replies precede the real one
            std::string head;
            if (const Io io = connection->readHead(head); io != Io::Data) return fromIo(io);
            reply = Reply{};
            if (!parseHead(head, reply)) return Opened::Failed;
        } while (reply.status >= 100 && reply.status < 200 && reply.status != 101);

        const auto location = reply.header("location");
        if (!isRedirect(reply.status) || !location || hop == PosixHttpClient::kMaxRedirects) {
            return Opened::Ok;
        }
        url = resolveLocation(*url, *location);
    }
}

// The body as its framing delivers it: a fixed length, chunks, or up to the
// connection's end.
class Body {
public:
    enum class Framing { Length, Chunked, UntilClose };

    Body(Connection& connection, Framing framing, std::uint64_t length)
        : connection_(connection), framing_(framing), remaining_(length) {}

    // Up to size bytes; End once the body is complete. WrongSize when the
    // connection ended before the announced end.
    enum class Status { Data, End, Short, TimedOut, Failed };

    Status read(char* buffer, std::size_t size, std::size_t& got) {
        got = 0;
        switch (framing_) {
            case Framing::Length: {
                if (remaining_ == 0) return Status::End;
                const std::size_t want =
                    static_cast<std::size_t>(std::min<std::uint64_t>(size, remaining_));
                const Io io = connection_.readFull(buffer, want, got);
                remaining_ -= got;
                if (io == Io::End) return Status::Short;
                if (io != Io::Data) return fromIo(io);
                return got < want ? Status::Short : Status::Data;
            }
            case Framing::UntilClose: {
                const Io io = connection_.readFull(buffer, size, got);
                if (io == Io::End) return Status::End;
                if (io != Io::Data) return fromIo(io);
                return Status::Data;
            }
            case Framing::Chunked:
                return readChunked(buffer, size, got);
        }
        return Status::Failed;
    }

private:
    static Status fromIo(Io io) { return io == Io::TimedOut ? Status::TimedOut : Status::Failed; }

    Status readChunked(char* buffer, std::size_t size, std::size_t& got) {
        while (got < size) {
            if (finished_) return got > 0 ? Status::Data : Status::End;
            if (remaining_ == 0) {
                if (const Status s = nextChunk(); s != Status::Data) {
                    return s == Status::End && got > 0 ? Status::Data : s;
                }
                continue;
            }
            const std::size_t want =
                static_cast<std::size_t>(std::min<std::uint64_t>(size - got, remaining_));
            std::size_t n = 0;
            const Io io = connection_.readFull(buffer + got, want, n);
            got += n;
            remaining_ -= n;
            if (io != Io::Data && io != Io::End) return fromIo(io);
            if (n < want) return Status::Short;
        }
        return Status::Data;
    }

    // Reads the CR LF after a chunk's data and the next chunk's size line.
    Status nextChunk() {
        std::string line;
        if (started_) {
            const Io io = connection_.readLine(line, 2);
            if (io == Io::End) return Status::Short;
            if (io != Io::Data) return fromIo(io);
            if (!line.empty()) return Status::Failed;
        }
        started_ = true;
        const Io io = connection_.readLine(line, 1024);
        if (io == Io::End) return Status::Short;
        if (io != Io::Data) return fromIo(io);
        const std::string sizeText = trim(line.substr(0, line.find(';')));
        if (sizeText.empty() || sizeText.size() > 15) return Status::Failed;
        std::uint64_t chunk = 0;
        for (const char c : sizeText) {
            const int digit = std::isdigit(static_cast<unsigned char>(c))
                                  ? c - '0'
                                  : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
            if (digit < 0 || digit > 15) return Status::Failed;
            chunk = chunk * 16 + static_cast<std::uint64_t>(digit);
        }
        if (chunk == 0) {
            finished_ = true;  // trailers, if any, are not needed
            return Status::End;
        }
        remaining_ = chunk;
        return Status::Data;
    }

    Connection& connection_;
    Framing framing_;
    std::uint64_t remaining_;
    bool started_ = false;
    bool finished_ = false;
};

}  // namespace

ContentLengthReply PosixHttpClient::getContentLength(const std::string& url) {
    ContentLengthReply result;
    std::unique_ptr<Connection> connection;
    Reply reply;
    const Opened opened = openUrl(url, userAgent_, stallTimeout_, connection, reply);
    if (opened != Opened::Ok) {
        result.timedOut = opened == Opened::TimedOut;
        return result;
    }
    result.status = reply.status;
    result.text = reply.header("content-length").value_or("");
    return result;  // the connection closes here, before the body
}

Transfer PosixHttpClient::downloadToFile(const std::string& url, const std::string& path,
                                         const std::function<bool(std::size_t)>& onChunk) {
    Transfer transfer;
    std::unique_ptr<Connection> connection;
    Reply reply;
    const Opened opened = openUrl(url, userAgent_, stallTimeout_, connection, reply);
    if (opened != Opened::Ok) {
        transfer.result =
            opened == Opened::TimedOut ? TransferResult::TimedOut : TransferResult::Failed;
        return transfer;
    }
    transfer.status = reply.status;
    if (reply.status < 200 || reply.status >= 300) {
        transfer.result = TransferResult::HttpError;
        return transfer;
    }

    Body::Framing framing = Body::Framing::UntilClose;
    std::uint64_t length = 0;
    const auto coding = reply.header("transfer-encoding");
    if (coding && lower(*coding).find("chunked") != std::string::npos) {
        framing = Body::Framing::Chunked;
    } else if (const auto text = reply.header("content-length")) {
        // Two different lengths, or one that is no number, leave the body's
        // end unknown.
        const auto range = reply.headers.equal_range("content-length");
        for (auto it = range.first; it != range.second; ++it) {
            if (it->second != *text) {
                transfer.result = TransferResult::WrongSize;
                return transfer;
            }
        }
        const auto parsed = parseLength(*text);
        if (!parsed) {
            transfer.result = TransferResult::WrongSize;
            return transfer;
        }
        framing = Body::Framing::Length;
        length = *parsed;
    }

    ChunkFile file(path);
    if (!file.open()) {
        transfer.result = TransferResult::WriteError;
        transfer.errorText = file.errorText();
        return transfer;
    }

    Body body(*connection, framing, length);
    char buffer[kChunkSize];
    for (;;) {
        std::size_t got = 0;
        const Body::Status status = body.read(buffer, sizeof buffer, got);
        if (got > 0) {
            if (!file.append(buffer, got)) {
                transfer.result = TransferResult::WriteError;
                transfer.errorText = file.errorText();
                return transfer;
            }
            if (!onChunk(got)) {
                transfer.result = TransferResult::Cancelled;
                return transfer;
            }
        }
        if (status == Body::Status::Data) continue;
        if (status == Body::Status::End) break;
        transfer.result = status == Body::Status::Short      ? TransferResult::WrongSize
                          : status == Body::Status::TimedOut ? TransferResult::TimedOut
                                                             : TransferResult::Failed;
        return transfer;
    }

    if (framing == Body::Framing::Length) {
        // Bytes past the announced length mean the length was wrong.
        char extra = 0;
        std::size_t got = 0;
        if (connection->readSome(&extra, 1, got, std::min(kTrailingWait, stallTimeout_)) ==
            Io::Data) {
            transfer.result = TransferResult::WrongSize;
            return transfer;
        }
    }

    if (!file.close()) {
        transfer.result = TransferResult::WriteError;
        transfer.errorText = file.errorText();
        return transfer;
    }
    transfer.result = TransferResult::Complete;
    return transfer;
}

}  // namespace zorbinta
