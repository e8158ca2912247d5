#pragma once
// The catalogue download on Qt Network. Each request blocks its caller in a
// local event loop, so the windows keep painting and "Отмена" can be pressed
// while the bytes come in.

#include <QNetworkAccessManager>
#include <QString>
#include <chrono>

#include "update/core/HttpClient.h"

class QEventLoop;
class QNetworkReply;

namespace zorbinta {

class QtHttpClient final : public HttpClient {
public:
    static constexpr std::chrono::milliseconds kDefaultStallTimeout{30000};
    static constexpr int kMaxRedirects = 5;

    // The user agent is the executable's file name; the system's proxy
    // settings apply.
    QtHttpClient();

    // How long the server may stay silent before a request ends as timed out.
    void setStallTimeout(std::chrono::milliseconds timeout) { stallTimeout_ = timeout; }
    const QString& userAgent() const { return userAgent_; }

    // The system's reachability information; without a backend that can
    // tell, the machine counts as connected.
    bool isConnected() override;
    ContentLengthReply getContentLength(const std::string& url) override;
    Transfer downloadToFile(const std::string& url, const std::string& path,
                            const std::function<bool(std::size_t)>& onChunk) override;
    void cancel() override;

private:
    QNetworkReply* get(const std::string& url);

    QNetworkAccessManager manager_;
    QString userAgent_;
    std::chrono::milliseconds stallTimeout_ = kDefaultStallTimeout;
    QNetworkReply* running_ = nullptr;
    bool cancelRequested_ = false;
};

}  // namespace zorbinta
