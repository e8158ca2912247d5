// SPDX-License-Identifier: GPL-3.0-or-later
// The download dialog's part with the catalogue keepers' key: the signature
// fetched after the catalogue, checked against it and against the one kept
// beside the catalogue in use, and kept in its place.

#include "update/core/UpdateDialog.h"

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/Error.h"
#include "catalogue/core/FileIO.h"
#include "update/core/TransferFile.h"

namespace zorbinta {

std::optional<std::string> UpdateDialog::fetchSignature() {
    transferring_ = true;
    cancelRequested_ = false;
    std::string body;
    std::size_t received = 0;
    Transfer transfer;
    try {
        transfer = http_.downloadToMemory(signatureUrl(), body, [this, &received](std::size_t n) {
            received += n;
            return !cancelRequested_ && received <= kMaxSignatureBytes;
        });
    } catch (...) {
        transferring_ = false;
        cancelRequested_ = false;
        throw;
    }
    transferring_ = false;
    if (cancelRequested_) {
        cancelRequested_ = false;
        dialogs_.close(DialogId::Update);
        return std::nullopt;
    }
    if (transfer.result == TransferResult::TlsFailed) {
        setFailure(FailureKind::CertificateRefused);
        messages_.showMessage(kSecureConnectionMessage);
        return std::nullopt;
    }
    // Missing, cut off, too long or unreachable: either way the catalogue
    // comes without a signature that can be checked.
    if (transfer.result != TransferResult::Complete || body.size() > kMaxSignatureBytes) {
        setFailure(FailureKind::SignatureRefused);
        messages_.showMessage(kSignatureMessage);
        return std::nullopt;
    }
    return body;
}

std::optional<std::string> UpdateDialog::refusal(const std::string& bytes,
                                                 const std::string& signature,
                                                 const std::optional<std::string>& inUse) const {
    const SignatureVerdict verdict = signatures_->check(bytes, signature);
    // A signed time is what tells a replay from a newer catalogue.
    if (!verdict.valid || !verdict.timestamp) return kSignatureMessage;
    const std::optional<std::uint64_t> kept = keptTimestamp(inUse);
    if (kept && *verdict.timestamp < *kept) return kOlderCatalogueMessage;
    return std::nullopt;
}

std::optional<std::uint64_t> UpdateDialog::keptTimestamp(
    const std::optional<std::string>& inUse) const {
    // A kept signature counts only while it still signs base.db with this
    // key: one left beside a catalogue it does not sign (a power cut between
    // the two renames, a catalogue taken without a key, a key replaced since)
    // vouches for nothing and holds nothing back.
    try {
        // The user's, or one shipped beside the shipped catalogue.
        const std::optional<std::string> kept =
            readFileBytesUpTo(files_.currentFile(kSignatureFile), kMaxSignatureBytes).bytes;
        if (!kept || !inUse) return std::nullopt;
        const SignatureVerdict verdict = signatures_->check(*inUse, *kept);
        return verdict.valid ? verdict.timestamp : std::nullopt;
    } catch (const Error&) {
        return std::nullopt;  // none, or none that can be read
    }
}

void UpdateDialog::keepSignature(const std::optional<std::string>& signature) {
    if (signature) {
        try {
            writeFileDurably(signaturePath(), *signature);
            return;
        } catch (const Error&) {
            // The catalogue is in place already; an old signature must not
            // stay beside it, and the next download has nothing to compare.
        }
    }
    if (removePart(signaturePath())) syncFolderOf(signaturePath());
}

}  // namespace zorbinta
