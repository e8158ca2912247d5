// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why a download did not bring a new catalogue, as the download dialog's
// window tells it under its bar, in the user's words. The message boxes of
// the download stay as they are; this only adds what they leave unsaid.

#include <cstdint>
#include <string>
#include <utility>

namespace zorbinta {

enum class FailureKind {
    None,
    NotConnected,        // the system reports no connection
    NoAddress,           // the server's name has no address
    Refused,             // nothing takes connections at the server's address
    TimedOut,            // the server went silent before the transfer began
    Unreachable,         // no reply, for another reason
    Broken,              // the transfer stopped part-way
    ServerError,         // a reply with an error status
    BadReply,            // a reply without a usable size, or of another size
    TooLarge,            // more than a catalogue may be
    TooShort,            // too little to hold a catalogue
    CertificateRefused,  // the server's certificate was not accepted
    SignatureRefused,    // no signature, or one that does not sign the file
    OlderCatalogue,      // signed before the catalogue in use
    DiskFull,
    ReadOnly,     // the folder or the file cannot be written
    WriteFailed,  // another error of the disk
    NotLoaded,    // arrived whole, but the loader refused it
    Other         // detail says what
};

struct DownloadFailure {
    DownloadFailure() = default;
    explicit DownloadFailure(FailureKind k) : kind(k) {}
    static DownloadFailure serverError(int status) {
        DownloadFailure f(FailureKind::ServerError);
        f.status = status;
        return f;
    }
    static DownloadFailure broken(std::uintmax_t received, std::uintmax_t expected) {
        DownloadFailure f(FailureKind::Broken);
        f.received = received;
        f.expected = expected;
        return f;
    }
    static DownloadFailure other(std::string detail) {
        DownloadFailure f(FailureKind::Other);
        f.detail = std::move(detail);
        return f;
    }

    FailureKind kind = FailureKind::None;
    int status = 0;               // ServerError: the reply's HTTP status
    std::uintmax_t received = 0;  // Broken: the bytes that arrived
    std::uintmax_t expected = 0;  // Broken: the bytes announced
    std::string detail;           // Other: the error's own text
};

// The status line's text; empty for None.
std::string describeFailure(const DownloadFailure& failure);

// A failed write by the system's error code (errno).
FailureKind writeFailureKind(int error);

}  // namespace zorbinta
