// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small HTTP or HTTPS server on 127.0.0.1 for the download tests: an
// ephemeral port and a handler that writes whatever bytes a case needs (a
// good reply, a cut-off body, silence, a body without end). On Qt Network,
// each connection on a thread of its own with blocking sockets, so a handler
// is plain sequential code. A QCoreApplication must exist.

#include <QByteArray>
#include <QHostAddress>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zorbinta::testsupport {

struct HttpRequest {
    std::string method;
    std::string path;
    std::map<std::string, std::string> headers;  // names in lower case
};

// What an HTTPS server shows its clients.
struct TlsIdentity {
    QSslCertificate certificate;
    QSslKey key;
};

// The slice in which a blocked socket call looks up to see whether the
// server is shutting down; no case waits for it.
inline constexpr int kSliceMs = 20;

// The handler's side of one connection.
class HttpPeer {
public:
    HttpPeer(QSslSocket& socket, const std::atomic<bool>& stopping)
        : socket_(socket), stopping_(stopping) {}

    // False once the client has gone. Returns when the bytes are with the
    // system, so a body without end takes no more memory than one piece.
    bool write(std::string_view bytes) {
        if (!connected()) return false;
        const auto size = static_cast<qint64>(bytes.size());
        if (socket_.write(bytes.data(), size) != size) return false;
        while (socket_.bytesToWrite() + socket_.encryptedBytesToWrite() > 0) {
            if (stopping_ || (!socket_.waitForBytesWritten(kSliceMs) && !connected())) {
                return false;
            }
        }
        return true;
    }

    // Holds the connection open without sending until the client closes it
    // or the server shuts down. The cap only keeps a broken client from
    // hanging the test run; no case waits for it.
    void waitForClose(std::chrono::milliseconds cap = std::chrono::seconds(120)) {
        const auto until = std::chrono::steady_clock::now() + cap;
        while (!stopping_ && connected() && std::chrono::steady_clock::now() < until) {
            if (socket_.waitForReadyRead(kSliceMs)) socket_.readAll();
        }
    }

private:
    bool connected() const { return socket_.state() == QAbstractSocket::ConnectedState; }

    QSslSocket& socket_;
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

// Replies by path: files[path] with its length, 404 for any other path.
inline HttpHandler serveFiles(std::map<std::string, std::string> files) {
    return [files = std::move(files)](const HttpRequest& request, HttpPeer& peer) {
        const auto it = files.find(request.path);
        peer.write(it == files.end() ? httpReply(404, "Not Found") : httpReply(200, it->second));
    };
}

class LocalHttpServer {
public:
    // Plain HTTP, or HTTPS showing tls; urlHost is the name url() gives
    // (the certificate's, for HTTPS: "localhost").
    explicit LocalHttpServer(HttpHandler handler = {}, std::optional<TlsIdentity> tls = {},
                             std::string urlHost = "127.0.0.1")
        : handler_(std::move(handler)), tls_(std::move(tls)), urlHost_(std::move(urlHost)) {
        std::promise<int> listening;
        std::future<int> port = listening.get_future();
        thread_.reset(QThread::create([this, &listening] { serve(listening); }));
        thread_->start();
        port_ = port.get();
        if (port_ <= 0) {
            thread_->wait();
            throw std::runtime_error("cannot listen on 127.0.0.1");
        }
    }

    ~LocalHttpServer() {
        stop_ = true;
        thread_->wait();
    }

    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    int port() const { return port_; }
    std::string url() const {
        return std::string(tls_ ? "https://" : "http://") + urlHost_ + ":" + std::to_string(port_);
    }

    void setHandler(HttpHandler handler) {
        std::lock_guard lock(mutex_);
        handler_ = std::move(handler);
    }

    std::vector<HttpRequest> requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    // Takes the connections' descriptors; each is served on a thread of its
    // own, so a client that gives up on one reply can start the next request
    // at once.
    class Acceptor final : public QTcpServer {
    public:
        std::vector<qintptr> accepted;

    protected:
        void incomingConnection(qintptr descriptor) override { accepted.push_back(descriptor); }
    };

    void serve(std::promise<int>& listening) {
        Acceptor acceptor;
        if (!acceptor.listen(QHostAddress::LocalHost, 0)) {
            listening.set_value(0);
            return;
        }
        listening.set_value(acceptor.serverPort());
        std::vector<std::unique_ptr<QThread>> connections;
        while (!stop_) {
            acceptor.waitForNewConnection(kSliceMs);
            for (const qintptr descriptor : acceptor.accepted) {
                connections.emplace_back(
                    QThread::create([this, descriptor] { answer(descriptor); }));
                connections.back()->start();
            }
            acceptor.accepted.clear();
        }
        acceptor.close();
        for (const auto& connection : connections) connection->wait();
    }

    void answer(qintptr descriptor) {
        QSslSocket socket;
        if (!socket.setSocketDescriptor(descriptor)) return;
        HttpRequest request;
        if ((!tls_ || handshake(socket)) && readRequest(socket, request)) {
            HttpHandler handler;
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(request);
                handler = handler_;
            }
            HttpPeer peer(socket, stop_);
            if (handler) handler(request, peer);
        }
        socket.disconnectFromHost();
        while (!stop_ && socket.state() != QAbstractSocket::UnconnectedState) {
            socket.waitForDisconnected(kSliceMs);
        }
    }

    // False when the client refused the certificate or went away.
    bool handshake(QSslSocket& socket) const {
        socket.setLocalCertificate(tls_->certificate);
        socket.setPrivateKey(tls_->key);
        socket.setPeerVerifyMode(QSslSocket::VerifyNone);
        socket.startServerEncryption();
        while (!stop_ && !socket.isEncrypted()) {
            if (!socket.waitForEncrypted(kSliceMs) &&
                socket.error() != QAbstractSocket::SocketTimeoutError) {
                return false;
            }
        }
        return socket.isEncrypted();
    }

    // A client may open a connection and never use it; shutting down does
    // not wait for it.
    bool readRequest(QSslSocket& socket, HttpRequest& request) const {
        std::string head;
        while (head.find("\r\n\r\n") == std::string::npos) {
            if (stop_ || socket.state() != QAbstractSocket::ConnectedState) return false;
            if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(kSliceMs)) continue;
            head += socket.readAll().toStdString();
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
    std::optional<TlsIdentity> tls_;
    std::string urlHost_;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::unique_ptr<QThread> thread_;
    mutable std::mutex mutex_;
    std::vector<HttpRequest> requests_;
};

}  // namespace zorbinta::testsupport
