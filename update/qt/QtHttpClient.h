// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The catalogue download on Qt Network, for the desktop program and the
// headless one alike (Qt Core and Network only). Each request blocks its
// caller in a local event loop, so the windows keep painting and "Отмена" can
// be pressed while the bytes come in.

#include <QByteArray>
#include <QList>
#include <QNetworkAccessManager>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QString>
#include <chrono>
#include <functional>
#include <optional>

#include "update/core/HttpClient.h"

class QNetworkReply;

namespace zorbinta {

class QtHttpClient final : public HttpClient {
public:
    static constexpr std::chrono::milliseconds kDefaultStallTimeout{30000};
    static constexpr int kMaxRedirects = 5;

    // The user agent is the executable's file name; the system's proxy
    // settings apply. HTTPS servers must show a certificate for their host
    // name that the system's trust store vouches for, or one of
    // extraAuthorities (a test's own certificate authority; the system's
    // store is not touched). A QCoreApplication must exist.
    explicit QtHttpClient(const QList<QSslCertificate>& extraAuthorities = {});

    // How long the server may stay silent before a request ends as timed out.
    void setStallTimeout(std::chrono::milliseconds timeout) { stallTimeout_ = timeout; }
    const QString& userAgent() const { return userAgent_; }

    // The system's reachability information; without a backend that can
    // tell, the machine counts as connected.
    bool isConnected() override;
    ContentLengthReply getContentLength(const std::string& url) override;
    Transfer downloadToFile(const std::string& url, const std::string& path,
                            const std::function<bool(std::size_t)>& onChunk) override;
    Transfer downloadToMemory(const std::string& url, std::string& body,
                              const std::function<bool(std::size_t)>& onChunk) override;
    void cancel() override;

private:
    // A reply's head, taken as it arrived.
    struct Head {
        int status = 0;                           // 0 until a head arrived
        std::optional<QByteArray> contentLength;  // trimmed
        std::optional<QByteArray> location;
        ConnectFailure unreached = ConnectFailure::None;  // ended without a head: why
    };
    enum class Wait { Head, Stalled, Cancelled, Ended, TlsFailed };
    // Takes each chunk of the body; false when it cannot (the write failed).
    using Sink = std::function<bool(const char*, std::size_t)>;
    // The final reply to url, its head in and its body still coming, after
    // following redirects here; nullptr when the exchange ended without one.
    QNetworkReply* openFinal(const std::string& url, Head& head, Wait& ended);
    // Runs the event loop until reply has its head, ends, stalls or is cancelled.
    Wait waitForHead(QNetworkReply* reply, Head& head);
    // Ends reply, which is no longer the transfer that cancel() stops.
    void release(QNetworkReply* reply);
    // The GET of url with its body handed to sink chunk by chunk; WriteError
    // when the sink refused one.
    Transfer receive(const std::string& url, const Sink& sink,
                     const std::function<bool(std::size_t)>& onChunk);

    QNetworkAccessManager manager_;
    std::optional<QSslConfiguration> tls_;  // with the extra authorities, when given
    QString userAgent_;
    std::chrono::milliseconds stallTimeout_ = kDefaultStallTimeout;
    QNetworkReply* running_ = nullptr;
    bool cancelRequested_ = false;
};

}  // namespace zorbinta
