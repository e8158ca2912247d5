#pragma once
// A small HTTP server on 127.0.0.1 for the download tests: an ephemeral port
// and a handler that writes whatever bytes a case needs (a good reply, a
// cut-off body, silence).

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace zorbinta::testsupport {

struct HttpRequest {
    std::string method;
    std::string path;
    std::map<std::string, std::string> headers;  // names in lower case
};

// The handler's side of one connection.
class HttpPeer {
public:
    HttpPeer(int fd, const std::atomic<bool>& stopping) : fd_(fd), stopping_(stopping) {}

    // False once the client has gone.
    bool write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n <= 0) return false;
            bytes.remove_prefix(static_cast<std::size_t>(n));
        }
        return true;
    }

    // Holds the connection open without sending until the client closes it
    // or the server shuts down. The cap only keeps a broken client from
    // hanging the test run; no case waits for it.
    void waitForClose(std::chrono::milliseconds cap = std::chrono::seconds(120)) {
        const auto until = std::chrono::steady_clock::now() + cap;
        char buffer[256];
        while (!stopping_ && std::chrono::steady_clock::now() < until) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0 && ::recv(fd_, buffer, sizeof buffer, 0) <= 0) return;
        }
    }

private:
    int fd_;
    const std::atomic<bool>& stopping_;
};

using HttpHandler = std::function<void(const HttpRequest&, HttpPeer&)>;

// A whole reply with the given status, extra header lines and body; the
// Content-Length header is added unless contentLength says otherwise.
inline std::string httpReply(int status, std::string_view body, std::string_view extraHeaders = {},
                             const char* contentLength = nullptr) {
    std::string reply = "HTTP/1.1 " + std::to_string(status) + " X\r\n";
    if (contentLength == nullptr) {
        reply += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    } else if (*contentLength != '\0') {
        reply += std::string("Content-Length: ") + contentLength + "\r\n";
    }
    reply += extraHeaders;
    reply += "Connection: close\r\n\r\n";
    reply += body;
    return reply;
}

// Request i gets replies[i]; later requests get the last one. The turn is
// taken before anything is written, so a client's next request always finds
// it advanced. A reply that the close cuts short (no length, or fewer bytes
// than announced) belongs last: Qt may send its request again.
inline HttpHandler inOrder(std::vector<std::string> replies) {
    auto count = std::make_shared<std::atomic<std::size_t>>(0);
    return [replies = std::move(replies), count](const HttpRequest&, HttpPeer& peer) {
        peer.write(replies[std::min(count->fetch_add(1), replies.size() - 1)]);
    };
}

class LocalHttpServer {
public:
    explicit LocalHttpServer(HttpHandler handler = {}) : handler_(std::move(handler)) {
        listen_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (listen_ < 0 || ::bind(listen_, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
            ::listen(listen_, 16) != 0 ||
            ::getsockname(listen_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            throw std::runtime_error("cannot listen on 127.0.0.1");
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }

    ~LocalHttpServer() {
        stop_ = true;
        thread_.join();
        ::close(listen_);
    }

    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    int port() const { return port_; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }

    void setHandler(HttpHandler handler) {
        std::lock_guard lock(mutex_);
        handler_ = std::move(handler);
    }

    std::vector<HttpRequest> requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    // Each connection gets a thread of its own, so a client that gives up on
    // one reply can start the next request at once.
    void serve() {
        std::vector<std::thread> connections;
        while (!stop_) {
            pollfd p{listen_, POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0) continue;
            const int fd = ::accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd >= 0) connections.emplace_back([this, fd] { answer(fd); });
        }
        for (std::thread& t : connections) t.join();
    }

    void answer(int fd) {
        HttpRequest request;
        if (readRequest(fd, request)) {
            HttpHandler handler;
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(request);
                handler = handler_;
            }
            HttpPeer peer(fd, stop_);
            if (handler) handler(request, peer);
        }
        ::close(fd);
    }

    // A client may open a connection and never use it; shutting down does
    // not wait for it.
    bool readRequest(int fd, HttpRequest& request) const {
        std::string head;
        char buffer[1024];
        while (head.find("\r\n\r\n") == std::string::npos) {
            pollfd p{fd, POLLIN, 0};
            const int ready = ::poll(&p, 1, 20);
            if (ready < 0 || stop_) return false;
            if (ready == 0) continue;
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) return false;
            head.append(buffer, static_cast<std::size_t>(n));
        }
        head.erase(head.find("\r\n\r\n"));
        std::size_t start = 0;
        bool first = true;
        while (start <= head.size()) {
            std::size_t end = head.find("\r\n", start);
            if (end == std::string::npos) end = head.size();
            const std::string line = head.substr(start, end - start);
            start = end + 2;
            if (first) {
                first = false;
                const auto a = line.find(' ');
                const auto b = line.find(' ', a + 1);
                request.method = line.substr(0, a);
                request.path = line.substr(a + 1, b - a - 1);
                continue;
            }
            const auto colon = line.find(':');
            if (colon == std::string::npos) continue;
            std::string name = line.substr(0, colon);
            std::transform(name.begin(), name.end(), name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            std::string value = line.substr(colon + 1);
            value.erase(0, value.find_first_not_of(' '));
            request.headers[name] = value;
        }
        return true;
    }

    HttpHandler handler_;
    int listen_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    mutable std::mutex mutex_;
    std::vector<HttpRequest> requests_;
};

}  // namespace zorbinta::testsupport
