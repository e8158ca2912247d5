// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/qt/QtHttpClient.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkInformation>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <QTimer>
#include <QUrl>

#include "update/core/TransferFile.h"

namespace zorbinta {
namespace {

constexpr qint64 kChunkSize = 1024;

bool isSuccess(int status) {
    return status >= 200 && status < 300;
}

bool isRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::optional<qint64> announcedLength(const std::optional<QByteArray>& text) {
    if (!text) return std::nullopt;
    bool ok = false;
    const qint64 length = text->toLongLong(&ok);
    if (!ok || length < 0) return std::nullopt;
    return length;
}

// Where a redirect leads, when it is one to follow: to http or https, and
// never from https down to http. Anything else is the final reply.
QUrl redirectTarget(const QUrl& from, int status, const std::optional<QByteArray>& location) {
    if (!isRedirect(status) || !location) return {};
    const QUrl to = from.resolved(QUrl::fromEncoded(location->trimmed()));
    if (!to.isValid() || (to.scheme() != "http" && to.scheme() != "https")) return {};
    if (from.scheme() == "https" && to.scheme() == "http") return {};
    return to;
}

ConnectFailure connectFailure(QNetworkReply::NetworkError error) {
    switch (error) {
        case QNetworkReply::HostNotFoundError:
            return ConnectFailure::NoAddress;
        case QNetworkReply::ConnectionRefusedError:
            return ConnectFailure::Refused;
        default:
            return ConnectFailure::Other;
    }
}

// A stall timer that every sign of life from the reply restarts; on expiry
// the reply is aborted, which ends the wait.
class StallWatch {
public:
    StallWatch(QNetworkReply* reply, std::chrono::milliseconds limit) {
        timer_.setSingleShot(true);
        timer_.setInterval(limit);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this, reply] {
            expired_ = true;
            reply->abort();
        });
        QObject::connect(reply, &QNetworkReply::metaDataChanged, &timer_,
                         qOverload<>(&QTimer::start));
        QObject::connect(reply, &QNetworkReply::readyRead, &timer_, qOverload<>(&QTimer::start));
        timer_.start();
    }
    bool expired() const { return expired_; }

private:
    QTimer timer_;
    bool expired_ = false;
};

}  // namespace

QtHttpClient::QtHttpClient(const QList<QSslCertificate>& extraAuthorities)
    : userAgent_(QFileInfo(QCoreApplication::applicationFilePath()).fileName()) {
    if (!extraAuthorities.isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates(QSslConfiguration::systemCaCertificates() + extraAuthorities);
        tls_ = tls;
    }
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    // Redirects are followed here, one reply per hop: Qt's own following
    // keeps one reply for all hops, and a hop whose request goes out twice
    // then leaves its head in it twice ("Content-Length: 0, 0").
    manager_.setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
}

bool QtHttpClient::isConnected() {
    static const bool loaded =
        QNetworkInformation::instance() != nullptr ||
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    const QNetworkInformation* info = QNetworkInformation::instance();
    if (!loaded || info == nullptr) return true;
    return info->reachability() != QNetworkInformation::Reachability::Disconnected;
}

void QtHttpClient::release(QNetworkReply* reply) {
    running_ = nullptr;
    reply->abort();
    reply->deleteLater();
}

void QtHttpClient::cancel() {
    cancelRequested_ = true;
    if (running_ != nullptr) running_->abort();
}

QtHttpClient::Wait QtHttpClient::waitForHead(QNetworkReply* reply, Head& head) {
    // The head is read once, when it arrives: what the reply holds later is
    // not necessarily this reply's head alone.
    auto take = [reply, &head] {
        if (head.status != 0) return;
        head.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (head.status == 0) return;
        if (reply->hasRawHeader("Content-Length")) {
            head.contentLength = reply->rawHeader("Content-Length").trimmed();
        }
        if (reply->hasRawHeader("Location")) head.location = reply->rawHeader("Location");
    };
    QEventLoop loop;
    StallWatch stall(reply, stallTimeout_);
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        take();
        if (head.status != 0) loop.quit();
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    take();
    if (head.status == 0 && !reply->isFinished()) loop.exec();
    if (cancelRequested_) return Wait::Cancelled;
    if (stall.expired()) return Wait::Stalled;
    take();
    if (head.status != 0) return Wait::Head;
    head.unreached = connectFailure(reply->error());
    // A certificate that is not trusted or not for this host ends the
    // exchange here: such errors are never ignored.
    return reply->error() == QNetworkReply::SslHandshakeFailedError ? Wait::TlsFailed : Wait::Ended;
}

QNetworkReply* QtHttpClient::openFinal(const std::string& url, Head& head, Wait& ended) {
    QUrl target(QString::fromStdString(url));
    for (int hop = 0;; ++hop) {
        if (cancelRequested_) {
            ended = Wait::Cancelled;
            return nullptr;
        }
        QNetworkRequest request(target);
        request.setHeader(QNetworkRequest::UserAgentHeader, userAgent_);
        // The body as sent, so that its size can be checked against the header.
        request.setRawHeader("Accept-Encoding", "identity");
        request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
        request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                             QNetworkRequest::PreferNetwork);
        if (tls_) request.setSslConfiguration(*tls_);
        QNetworkReply* reply = manager_.get(request);
        reply->setReadBufferSize(64 * 1024);
        running_ = reply;
        head = Head{};
        ended = waitForHead(reply, head);
        const QUrl next =
            ended == Wait::Head ? redirectTarget(target, head.status, head.location) : QUrl();
        if (ended == Wait::Head && (next.isEmpty() || hop == kMaxRedirects)) return reply;
        release(reply);
        if (ended != Wait::Head) return nullptr;
        target = next;
    }
}

ContentLengthReply QtHttpClient::getContentLength(const std::string& url) {
    cancelRequested_ = false;
    Head head;
    Wait ended = Wait::Ended;
    // Only the head is wanted.
    QNetworkReply* reply = openFinal(url, head, ended);
    ContentLengthReply result;
    result.timedOut = ended == Wait::Stalled;
    result.tlsFailed = ended == Wait::TlsFailed;
    if (ended == Wait::Ended) result.unreached = head.unreached;
    if (reply != nullptr) {
        release(reply);
        result.status = head.status;
        if (head.contentLength) result.text = head.contentLength->toStdString();
    }
    return result;
}

Transfer QtHttpClient::downloadToFile(const std::string& url, const std::string& path,
                                      const std::function<bool(std::size_t)>& onChunk) {
    cancelRequested_ = false;
    ChunkFile file(path);
    Transfer transfer;
    if (!file.open()) {
        transfer.result = TransferResult::WriteError;
        transfer.errorText = file.errorText();
        transfer.systemError = file.errorCode();
        return transfer;
    }
    transfer = receive(
        url, [&file](const char* data, std::size_t size) { return file.append(data, size); },
        onChunk);
    if (transfer.result == TransferResult::Complete && !file.close()) {
        transfer.result = TransferResult::WriteError;
    }
    if (transfer.result == TransferResult::WriteError) {
        transfer.errorText = file.errorText();
        transfer.systemError = file.errorCode();
    }
    return transfer;
}

Transfer QtHttpClient::downloadToMemory(const std::string& url, std::string& body,
                                        const std::function<bool(std::size_t)>& onChunk) {
    cancelRequested_ = false;
    body.clear();
    return receive(
        url,
        [&body](const char* data, std::size_t size) {
            body.append(data, size);
            return true;
        },
        onChunk);
}

Transfer QtHttpClient::receive(const std::string& url, const Sink& sink,
                               const std::function<bool(std::size_t)>& onChunk) {
    Transfer transfer;
    Head head;
    Wait ended = Wait::Ended;
    QNetworkReply* reply = openFinal(url, head, ended);
    if (reply == nullptr) {
        transfer.result = ended == Wait::Cancelled   ? TransferResult::Cancelled
                          : ended == Wait::Stalled   ? TransferResult::TimedOut
                          : ended == Wait::TlsFailed ? TransferResult::TlsFailed
                                                     : TransferResult::Failed;
        if (ended == Wait::Ended) transfer.unreached = head.unreached;
        return transfer;
    }
    transfer.status = head.status;
    // An error page, or a redirect past the limit, is not written.
    if (!isSuccess(head.status)) {
        release(reply);
        transfer.result = TransferResult::HttpError;
        return transfer;
    }

    QEventLoop loop;
    StallWatch stall(reply, stallTimeout_);
    bool stopped = false;
    bool writeFailed = false;
    qint64 received = 0;

    // Whole chunks while the body comes in, the rest once it is complete, so
    // every read but the last delivers 1024 bytes.
    auto drain = [&](bool all) {
        char buffer[kChunkSize];
        while (!stopped &&
               (reply->bytesAvailable() >= kChunkSize || (all && reply->bytesAvailable() > 0))) {
            const qint64 got = reply->read(buffer, kChunkSize);
            if (got <= 0) break;
            if (!sink(buffer, static_cast<std::size_t>(got))) {
                writeFailed = true;
                stopped = true;
                reply->abort();
                return;
            }
            received += got;
            if (!onChunk(static_cast<std::size_t>(got)) || cancelRequested_) {
                cancelRequested_ = true;
                stopped = true;
                reply->abort();
                return;
            }
        }
    };
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] { drain(false); });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // What came with the head is in already.
    drain(false);
    if (!stopped && !reply->isFinished()) loop.exec();
    if (!stopped && reply->error() == QNetworkReply::NoError) drain(true);
    const QNetworkReply::NetworkError error = reply->error();
    const std::optional<qint64> length = announcedLength(head.contentLength);
    release(reply);

    if (cancelRequested_) {
        transfer.result = TransferResult::Cancelled;
    } else if (writeFailed) {
        transfer.result = TransferResult::WriteError;
    } else if (stall.expired()) {
        transfer.result = TransferResult::TimedOut;
    } else if (error != QNetworkReply::NoError) {
        // A body that ended before its announced length was cut off.
        transfer.result =
            length && received < *length ? TransferResult::WrongSize : TransferResult::Failed;
    } else if (length && received != *length) {
        transfer.result = TransferResult::WrongSize;
    } else {
        transfer.result = TransferResult::Complete;
    }
    return transfer;
}

}  // namespace zorbinta
