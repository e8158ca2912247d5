#include "update/qt/QtHttpClient.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkInformation>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <optional>

#include "update/core/TransferFile.h"

namespace zorbinta {
namespace {

constexpr qint64 kChunkSize = 1024;

bool isSuccess(int status) {
    return status >= 200 && status < 300;
}

int statusOf(const QNetworkReply* reply) {
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// A final reply's head: not a redirect that is still to be followed.
bool isFinalHead(const QNetworkReply* reply) {
    const int status = statusOf(reply);
    if (status == 0) return false;
    const bool redirect =
        status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
    return !redirect || !reply->hasRawHeader("Location");
}

std::optional<qint64> announcedLength(const QNetworkReply* reply) {
    if (!reply->hasRawHeader("Content-Length")) return std::nullopt;
    bool ok = false;
    const qint64 length = reply->rawHeader("Content-Length").trimmed().toLongLong(&ok);
    if (!ok || length < 0) return std::nullopt;
    return length;
}

// A stall timer that every sign of life from the reply restarts.
class StallWatch {
public:
    StallWatch(QNetworkReply* reply, std::chrono::milliseconds limit, QEventLoop& loop) {
        timer_.setSingleShot(true);
        timer_.setInterval(limit);
        QObject::connect(&timer_, &QTimer::timeout, &loop, [this, reply] {
            expired_ = true;
            reply->abort();
        });
        QObject::connect(reply, &QNetworkReply::metaDataChanged, &timer_,
                         qOverload<>(&QTimer::start));
        QObject::connect(reply, &QNetworkReply::readyRead, &timer_, qOverload<>(&QTimer::start));
        QObject::connect(reply, &QNetworkReply::redirected, &timer_, qOverload<>(&QTimer::start));
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        timer_.start();
    }
    bool expired() const { return expired_; }

private:
    QTimer timer_;
    bool expired_ = false;
};

}  // namespace

QtHttpClient::QtHttpClient()
    : userAgent_(QFileInfo(QCoreApplication::applicationFilePath()).fileName()) {
    QNetworkProxyFactory::setUseSystemConfiguration(true);
    manager_.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

bool QtHttpClient::isConnected() {
    static const bool loaded =
        QNetworkInformation::instance() != nullptr ||
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
    const QNetworkInformation* info = QNetworkInformation::instance();
    if (!loaded || info == nullptr) return true;
    return info->reachability() != QNetworkInformation::Reachability::Disconnected;
}

QNetworkReply* QtHttpClient::get(const std::string& url) {
    QNetworkRequest request(QUrl(QString::fromStdString(url)));
    request.setHeader(QNetworkRequest::UserAgentHeader, userAgent_);
    // The body as sent, so that its size can be checked against the header.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::PreferNetwork);
    return manager_.get(request);
}

void QtHttpClient::cancel() {
    cancelRequested_ = true;
    if (running_ != nullptr) running_->abort();
}

ContentLengthReply QtHttpClient::getContentLength(const std::string& url) {
    cancelRequested_ = false;
    QNetworkReply* reply = get(url);
    running_ = reply;
    QEventLoop loop;
    StallWatch stall(reply, stallTimeout_, loop);
    // Only the head is wanted: stop as soon as the final one is in.
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [reply, &loop] {
        if (isFinalHead(reply)) loop.quit();
    });
    if (!reply->isFinished() && !isFinalHead(reply)) loop.exec();
    running_ = nullptr;

    ContentLengthReply result;
    result.timedOut = stall.expired();
    if (!result.timedOut) {
        result.status = statusOf(reply);
        if (reply->hasRawHeader("Content-Length")) {
            result.text = reply->rawHeader("Content-Length").trimmed().toStdString();
        }
    }
    reply->disconnect();
    reply->abort();
    reply->deleteLater();
    return result;
}

Transfer QtHttpClient::downloadToFile(const std::string& url, const std::string& path,
                                      const std::function<bool(std::size_t)>& onChunk) {
    cancelRequested_ = false;
    Transfer transfer;
    ChunkFile file(path);
    if (!file.open()) {
        transfer.result = TransferResult::WriteError;
        transfer.errorText = file.errorText();
        return transfer;
    }

    QNetworkReply* reply = get(url);
    reply->setReadBufferSize(64 * 1024);
    running_ = reply;
    QEventLoop loop;
    StallWatch stall(reply, stallTimeout_, loop);
    bool stopped = false;
    bool writeFailed = false;
    qint64 received = 0;

    // Whole chunks while the body comes in, the rest once it is complete, so
    // every read but the last delivers 1024 bytes.
    auto drain = [&](bool all) {
        if (stopped || !isFinalHead(reply) || !isSuccess(statusOf(reply))) return;
        char buffer[kChunkSize];
        while (!stopped &&
               (reply->bytesAvailable() >= kChunkSize || (all && reply->bytesAvailable() > 0))) {
            const qint64 got = reply->read(buffer, kChunkSize);
            if (got <= 0) break;
            if (!file.append(buffer, static_cast<std::size_t>(got))) {
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
    // An error page is not written; its reply is left to end by itself.
    QObject::connect(reply, &QNetworkReply::metaDataChanged, &loop, [&] {
        if (isFinalHead(reply) && !isSuccess(statusOf(reply))) stopped = true;
    });
    if (!reply->isFinished()) loop.exec();
    if (!stopped && reply->error() == QNetworkReply::NoError) drain(true);
    running_ = nullptr;

    transfer.status = statusOf(reply);
    const std::optional<qint64> length = announcedLength(reply);
    const QNetworkReply::NetworkError error = reply->error();
    reply->disconnect();
    reply->deleteLater();

    if (cancelRequested_) {
        transfer.result = TransferResult::Cancelled;
    } else if (writeFailed) {
        transfer.result = TransferResult::WriteError;
        transfer.errorText = file.errorText();
    } else if (stall.expired()) {
        transfer.result = TransferResult::TimedOut;
    } else if ((transfer.status != 0 && !isSuccess(transfer.status)) ||
               error == QNetworkReply::TooManyRedirectsError) {
        transfer.result = TransferResult::HttpError;
    } else if (error != QNetworkReply::NoError) {
        // A body that ended before its announced length was cut off.
        transfer.result =
            length && received < *length ? TransferResult::WrongSize : TransferResult::Failed;
    } else if (length && received != *length) {
        transfer.result = TransferResult::WrongSize;
    } else if (!file.close()) {
        transfer.result = TransferResult::WriteError;
        transfer.errorText = file.errorText();
    } else {
        transfer.result = TransferResult::Complete;
    }
    return transfer;
}

}  // namespace zorbinta
