#pragma once
// The Internet library as the download dialog uses it.

#include <cstddef>
#include <functional>
#include <string>

namespace zorbinta {

enum class TransferResult {
    Complete,   // status 2xx and exactly the announced number of bytes
    Failed,     // could not connect, read error, connection cut
    HttpError,  // a reply whose status is not success
    WrongSize,  // body shorter or longer than its Content-Length
    Cancelled,  // the progress callback asked to stop
    TimedOut,   // no data for the client's stall limit
    WriteError  // the target could not be written (message in errorText)
};

class HttpClient {
public:
    virtual ~HttpClient() = default;
    // The system's connection-state query; no request is made.
    virtual bool isConnected() = 0;
    // One GET; the Content-Length header's text, empty when the request fails
    // or the header is missing.
    virtual std::string getContentLength(const std::string& url) = 0;
    // A second GET read in chunks of at most 1024 bytes, each appended to
    // path; onChunk runs after every chunk and returns false to cancel.
    virtual TransferResult downloadToFile(const std::string& url, const std::string& path,
                                          const std::function<bool(std::size_t)>& onChunk,
                                          std::string& errorText) = 0;
};

}  // namespace zorbinta
