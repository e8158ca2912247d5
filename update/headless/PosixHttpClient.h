#pragma once
// HTTP/1.1 over POSIX sockets for zorbinta-headless: http:// addresses with a
// host and an optional port, GET with "Connection: close", up to five
// redirects, the body read in chunks of at most 1024 bytes.

#include <chrono>
#include <string>

#include "update/core/HttpClient.h"

namespace zorbinta {

class PosixHttpClient final : public HttpClient {
public:
    static constexpr std::chrono::milliseconds kDefaultStallTimeout{30000};
    static constexpr int kMaxRedirects = 5;

    // connected: what the connection-state query answers (false for --offline).
    explicit PosixHttpClient(bool connected, std::string userAgent = "zorbinta-headless")
        : connected_(connected), userAgent_(std::move(userAgent)) {}

    // How long connecting, sending or reading may wait for the server before
    // the request ends as timed out.
    void setStallTimeout(std::chrono::milliseconds timeout) { stallTimeout_ = timeout; }
    std::chrono::milliseconds stallTimeout() const { return stallTimeout_; }

    bool isConnected() override { return connected_; }
    ContentLengthReply getContentLength(const std::string& url) override;
    Transfer downloadToFile(const std::string& url, const std::string& path,
                            const std::function<bool(std::size_t)>& onChunk) override;

private:
    bool connected_;
    std::string userAgent_;
    std::chrono::milliseconds stallTimeout_ = kDefaultStallTimeout;
};

}  // namespace zorbinta
