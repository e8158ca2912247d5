// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Internet library as the download dialog uses it.

#include <cstddef>
#include <functional>
#include <string>

namespace zorbinta {

enum class TransferResult {
    Complete,    // status 2xx and exactly the announced number of bytes
    Failed,      // could not connect, read error, connection reset
    HttpError,   // a reply whose status is not success (status holds it)
    WrongSize,   // body shorter or longer than its Content-Length
    Cancelled,   // the progress callback or cancel() asked to stop
    TimedOut,    // no data for the client's stall limit
    WriteError,  // the target could not be written (errorText holds the runtime's text)
    TlsFailed    // no secure connection: the server's certificate was not accepted
};

// Why a request had no reply at all.
enum class ConnectFailure {
    None,
    NoAddress,  // the server's name has no address
    Refused,    // nothing takes connections there
    Other
};

// The reply to the size request.
struct ContentLengthReply {
    int status = 0;          // the final reply's HTTP status after redirects; 0 without a reply
    std::string text;        // the Content-Length header as sent; empty when missing
    bool timedOut = false;   // the server went quiet for the client's stall limit
    bool tlsFailed = false;  // the server's certificate was not accepted
    ConnectFailure unreached = ConnectFailure::None;  // without a reply: why
};

struct Transfer {
    TransferResult result = TransferResult::Failed;
    int status = 0;         // the final reply's HTTP status; 0 without a reply
    std::string errorText;  // for WriteError: "Disk full", "File access denied", ...
    int systemError = 0;    // for WriteError: the system's error code (errno)
    ConnectFailure unreached = ConnectFailure::None;  // Failed without a reply: why
};

class HttpClient {
public:
    virtual ~HttpClient() = default;
    // The system's connection-state query; no request is made.
    virtual bool isConnected() = 0;
    // One GET (redirects followed); its Content-Length header read as text.
    virtual ContentLengthReply getContentLength(const std::string& url) = 0;
    // A second GET read in chunks of at most 1024 bytes, written to path
    // (created or truncated). onChunk runs after every chunk with its size and
    // returns false to cancel. The file is left as far as it got; the caller
    // owns it.
    virtual Transfer downloadToFile(const std::string& url, const std::string& path,
                                    const std::function<bool(std::size_t)>& onChunk) = 0;
    // The same GET into memory, for a small file: body holds what arrived.
    virtual Transfer downloadToMemory(const std::string& url, std::string& body,
                                      const std::function<bool(std::size_t)>& onChunk) = 0;
    // Asks a transfer under way to stop as soon as it can. A client whose
    // transfer blocks the only thread sees the request at the next chunk.
    virtual void cancel() {}
};

// Passes every call on to another client; a subclass overrides the calls it
// answers or watches itself.
class ForwardingHttpClient : public HttpClient {
public:
    explicit ForwardingHttpClient(HttpClient& client) : client_(client) {}
    bool isConnected() override { return client_.isConnected(); }
    ContentLengthReply getContentLength(const std::string& url) override {
        return client_.getContentLength(url);
    }
    Transfer downloadToFile(const std::string& url, const std::string& path,
                            const std::function<bool(std::size_t)>& onChunk) override {
        return client_.downloadToFile(url, path, onChunk);
    }
    Transfer downloadToMemory(const std::string& url, std::string& body,
                              const std::function<bool(std::size_t)>& onChunk) override {
        return client_.downloadToMemory(url, body, onChunk);
    }
    void cancel() override { client_.cancel(); }

private:
    HttpClient& client_;
};

}  // namespace zorbinta
