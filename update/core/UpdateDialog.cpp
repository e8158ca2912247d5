// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/core/UpdateDialog.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/Error.h"
#include "catalogue/core/FileIO.h"
#include "catalogue/core/Numbers.h"
#include "update/core/TransferFile.h"

namespace zorbinta {
namespace {

constexpr int kChunkStep = 1024;
// A file this short cannot hold a catalogue worth loading.
constexpr std::size_t kBlockSize = 128;

constexpr const char* kTimeoutMessage =
    "Сервер не отвечает. Попробуйте загрузить базу данных позже";
constexpr const char* kWrongSizeMessage =
    "Файл базы данных передан с ошибкой: его размер не совпадает с заявленным сервером";

std::string httpStatusMessage(int status) {
    return "Сервер не отдал файл базы данных (HTTP " + std::to_string(status) + ")";
}

bool isSuccess(int status) {
    return status >= 200 && status < 300;
}

// A Content-Length written as a whole number that is larger than a catalogue
// may be, however many digits it has (so not an integer conversion error).
bool announcesTooMuch(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i < text.size() && text[i] == '+') ++i;
    if (i == text.size()) return false;
    std::uintmax_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = std::min<std::uintmax_t>(value * 10 + static_cast<unsigned>(text[i] - '0'),
                                         kMaxCatalogueBytes + 1);
    }
    return value > kMaxCatalogueBytes;
}

// The catalogue in use as it lies on disk: nothing when it is missing, not a
// plain file, larger than any catalogue may be or unreadable.
std::optional<std::string> readCatalogueInUse(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    try {
        return readFileBytesUpTo(path, kMaxCatalogueBytes).bytes;
    } catch (const Error&) {
        return std::nullopt;
    }
}

}  // namespace

std::vector<std::string> UpdateDialog::texts() const {
    return {"Загрузка базы данных", "Загрузить", "Отмена"};
}

void UpdateDialog::press(int button) {
    if (button == 1) Button1Click();
    if (button == 2) Button2Click();
}

void UpdateDialog::setProgress(int min, int max, int position) {
    progressMin = min;
    progressMax = max;
    progressPosition = position;
    if (onProgress) onProgress();
}

void UpdateDialog::setFailure(DownloadFailure failure) {
    failure_ = std::move(failure);
    if (onFailure) onFailure();
}

DownloadFailure UpdateDialog::earlyEnd(const Transfer& transfer) const {
    if (received_ > 0) {
        return DownloadFailure::broken(received_,
                                       static_cast<std::uintmax_t>(std::max(progressMax, 0)));
    }
    if (transfer.result == TransferResult::TimedOut) return DownloadFailure(FailureKind::TimedOut);
    switch (transfer.unreached) {
        case ConnectFailure::NoAddress:
            return DownloadFailure(FailureKind::NoAddress);
        case ConnectFailure::Refused:
            return DownloadFailure(FailureKind::Refused);
        case ConnectFailure::None:
        case ConnectFailure::Other:
            break;
    }
    return DownloadFailure(FailureKind::Unreachable);
}

bool UpdateDialog::chunkArrived(std::size_t size) {
    if (cancelRequested_) return false;
    received_ += size;
    if (received_ > kMaxCatalogueBytes) return false;
    // The bar moves by a whole chunk whatever arrived, and stops at its end.
    const long long next = static_cast<long long>(progressPosition) + kChunkStep;
    setProgress(progressMin, progressMax, static_cast<int>(std::min<long long>(next, progressMax)));
    return !cancelRequested_;
}

void UpdateDialog::Button1Click() {
    // "Загрузить" pressed again while the window stays responsive in a transfer.
    if (transferring_) return;

    setFailure(FailureKind::None);
    if (!http_.isConnected()) {
        setFailure(FailureKind::NotConnected);
        messages_.showMessage(kConnectMessage);
        return;
    }

    // From the first request on, "Отмена" stops the work instead of closing.
    transferring_ = true;
    cancelRequested_ = false;
    received_ = 0;
    std::string message;
    std::optional<Transfer> transfer;
    try {
        try {
            transfer = fetch(message);
        } catch (...) {
            transferring_ = false;
            cancelRequested_ = false;
            removePart(partPath());
            throw;
        }
        transferring_ = false;
        if (transfer) {
            finishTransfer(*transfer);
        } else if (cancelRequested_) {
            Transfer stopped;
            stopped.result = TransferResult::Cancelled;
            finishTransfer(stopped);
        } else {
            messages_.showMessage(message);
        }
    } catch (const std::exception& e) {
        // An error the steps below did not name is told in its own words.
        if (failure_.kind == FailureKind::None) {
            setFailure(DownloadFailure::other(e.what()));
        }
        throw;
    }
}

std::optional<Transfer> UpdateDialog::fetch(std::string& message) {
    const std::string url = catalogueUrl();
    const ContentLengthReply reply = http_.getContentLength(url);
    if (cancelRequested_) return std::nullopt;
    if (reply.tlsFailed) {
        setFailure(FailureKind::CertificateRefused);
        message = kSecureConnectionMessage;
        return std::nullopt;
    }
    if (reply.timedOut) {
        setFailure(FailureKind::TimedOut);
        message = kTimeoutMessage;
        return std::nullopt;
    }
    // An error page's length is not the catalogue's.
    if (reply.status != 0 && !isSuccess(reply.status)) {
        setFailure(DownloadFailure::serverError(reply.status));
        message = httpStatusMessage(reply.status);
        return std::nullopt;
    }
    if (announcesTooMuch(reply.text)) {
        setFailure(FailureKind::TooLarge);
        message = kTooLargeMessage;
        return std::nullopt;
    }
    // No reply at all ends here too, with the conversion error of an empty
    // text; the status line says what happened.
    auto noLength = [this, &reply] {
        if (reply.status != 0) {
            setFailure(FailureKind::BadReply);
            return;
        }
        Transfer none;
        none.unreached = reply.unreached;
        setFailure(earlyEnd(none));
    };
    int length = -1;
    try {
        length = parseInt(reply.text);
    } catch (const Error&) {
        noLength();
        throw;
    }
    if (length < 0) {
        noLength();
        throw Error("'" + reply.text + "' is not a valid integer value");
    }

    setProgress(0, length, 0);
    if (cancelRequested_) return std::nullopt;

    const std::string part = partPath();
    files_.makeUserFolderFor("base.db.part");
    removePart(part);  // a leftover of an earlier run, or a link planted there
    return http_.downloadToFile(url, part, [this](std::size_t size) { return chunkArrived(size); });
}

void UpdateDialog::finishTransfer(const Transfer& transfer) {
    const std::string part = partPath();
    // The dialog's own stop for size, which the client reports as a cancel
    // (or as whatever it made of the last chunk): the file is refused and
    // the dialog stays open. The user's "Отмена" still closes it.
    if (received_ > kMaxCatalogueBytes && !cancelRequested_) {
        removePart(part);
        setFailure(FailureKind::TooLarge);
        messages_.showMessage(kTooLargeMessage);
        return;
    }
    if (cancelRequested_ || transfer.result == TransferResult::Cancelled) {
        cancelRequested_ = false;
        removePart(part);
        dialogs_.close(DialogId::Update);
        return;
    }
    if (transfer.result != TransferResult::Complete) removePart(part);
    switch (transfer.result) {
        case TransferResult::Complete:
            installCatalogue();
            return;
        case TransferResult::Failed:
            setFailure(earlyEnd(transfer));
            messages_.showMessage(kConnectMessage);
            return;
        case TransferResult::HttpError:
            setFailure(DownloadFailure::serverError(transfer.status));
            messages_.showMessage(httpStatusMessage(transfer.status));
            return;
        case TransferResult::WrongSize:
            // Fewer bytes than announced: cut off; more: a wrong reply.
            setFailure(received_ < static_cast<std::uintmax_t>(std::max(progressMax, 0))
                           ? earlyEnd(transfer)
                           : DownloadFailure(FailureKind::BadReply));
            messages_.showMessage(kWrongSizeMessage);
            return;
        case TransferResult::TimedOut:
            setFailure(earlyEnd(transfer));
            messages_.showMessage(kTimeoutMessage);
            return;
        case TransferResult::TlsFailed:
            setFailure(FailureKind::CertificateRefused);
            messages_.showMessage(kSecureConnectionMessage);
            return;
        case TransferResult::WriteError:
            setFailure(writeFailureKind(transfer.systemError));
            throw Error(transfer.errorText);
        case TransferResult::Cancelled:
            return;
    }
}

void UpdateDialog::installCatalogue() {
    const std::string part = partPath();
    // On the disk before anything relies on it, so that the rename below can
    // never put an empty or half-written file in place of base.db.
    if (const std::error_code error = syncFile(part)) {
        removePart(part);
        setFailure(writeFailureKind(error.value()));
        throw Error(ioErrorText(error.value(), part));
    }
    std::optional<std::string> bytes;
    try {
        bytes = readFileBytesUpTo(part, kMaxCatalogueBytes).bytes;
    } catch (...) {
        removePart(part);
        throw;
    }
    if (!bytes) {
        removePart(part);
        setFailure(FailureKind::TooLarge);
        messages_.showMessage(kTooLargeMessage);
        return;
    }
    if (bytes->size() / kBlockSize == 0) {
        removePart(part);
        setFailure(FailureKind::TooShort);
        return;
    }
    // Read once, and only when needed: the replay check weighs a kept
    // signature over it, and a download of the very same bytes (so of the
    // same size) replaces nothing.
    const std::string current = currentPath();
    std::error_code ec;
    const bool sameSize = std::filesystem::file_size(current, ec) == bytes->size();
    const bool keptSignature =
        signatures_ != nullptr && std::filesystem::exists(files_.currentFile(kSignatureFile), ec);
    std::optional<std::string> inUse;
    if (sameSize || keptSignature) inUse = readCatalogueInUse(current);
    std::optional<std::string> signature;
    if (signatures_ != nullptr) {
        std::optional<std::string> why;
        try {
            signature = fetchSignature();
            if (signature) why = refusal(*bytes, *signature, inUse);
        } catch (...) {
            removePart(part);
            throw;
        }
        if (!signature || why) {
            removePart(part);
            if (why) {
                setFailure(*why == kOlderCatalogueMessage ? FailureKind::OlderCatalogue
                                                          : FailureKind::SignatureRefused);
                messages_.showMessage(*why);
            }
            return;
        }
    }

    // The loader takes the whole file or changes nothing; the copy covers the
    // steps after it that can still fail.
    const bool unchanged = inUse == bytes;
    inUse.reset();
    const Catalogue before = catalogue_;
    try {
        loader_.loadBytes(*bytes);
    } catch (...) {
        removePart(part);
        setFailure(FailureKind::NotLoaded);
        throw;
    }
    bytes.reset();
    if (unchanged) {
        // Loaded as any download is, but base.db and the catalogue it
        // replaced last (base.db.prev) stay as they are. A signature just
        // accepted signs these very bytes, perhaps at a later time.
        removePart(part);
        if (signature) keepSignature(signature);
        outcome_ = DownloadOutcome::Unchanged;
        writeStatus_();
        dialogs_.close(DialogId::Update);
        return;
    }
    keepPrevious();
    std::filesystem::rename(part, targetPath(), ec);
    if (ec) {
        catalogue_ = before;
        removePart(part);
        setFailure(writeFailureKind(ec.value()));
        throw Error(ioErrorText(ec.value(), targetPath()));
    }
    // The rename is made; a folder that cannot be flushed leaves it to the
    // system's own write-back, and the download has still succeeded.
    syncFolderOf(targetPath());
    keepSignature(signature);
    outcome_ = DownloadOutcome::Replaced;

    writeStatus_();
    dialogs_.close(DialogId::Update);
}

void UpdateDialog::keepPrevious() {
    const std::string current = currentPath();
    const std::string previous = previousPath();
    std::error_code ec;
    // Without a catalogue file (or with something else in its place) nothing
    // is replaced, and an older base.db.prev would compare the new catalogue
    // with one that is two downloads old.
    if (!std::filesystem::is_regular_file(current, ec)) {
        removePart(previous);
        return;
    }
    // A copy that cannot be made (a full disk) must not cost the download
    // itself: the new catalogue is taken all the same, and no base.db.prev
    // is left that would misstate what it replaced.
    try {
        copyFileDurably(current, previous);
    } catch (const Error&) {
        removePart(previous);
    }
}

void UpdateDialog::Button2Click() {
    if (transferring_) {
        cancelRequested_ = true;
        http_.cancel();
        return;
    }
    dialogs_.close(DialogId::Update);
}

}  // namespace zorbinta
