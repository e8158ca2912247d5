// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The download dialog (TForm3): fetches base.db over HTTP and loads it.
//
// The transfer goes to base.db.part beside base.db; base.db is replaced in
// one rename only after the whole file arrived, reached the disk and loaded,
// so a failed or cancelled download, or a power cut, leaves the catalogue
// file and the tables as they were. A file larger than kMaxCatalogueBytes is
// refused by its announced length, or stopped as soon as it passes the bound.
// The file a download replaces is kept as base.db.prev. All of them are the
// user's own files; the first download keeps the shipped catalogue as
// base.db.prev. A download of the very bytes of the catalogue in use
// replaces nothing: base.db.prev still holds the catalogue before the last
// real change.
//
// With the catalogue keepers' key, base.db.minisig is fetched after the
// catalogue and must sign exactly the bytes received, with a signed time no
// earlier than that of the signature kept beside the catalogue in use;
// otherwise nothing changes. The accepted signature is kept as
// base.db.minisig. Without a key no signature is asked for, and a kept one
// goes when the catalogue it signed is replaced.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/core/ProgramFiles.h"
#include "platform/core/DialogModel.h"
#include "platform/core/Dialogs.h"
#include "platform/core/Services.h"
#include "update/core/DownloadFailure.h"
#include "update/core/HttpClient.h"
#include "update/core/SignatureCheck.h"

namespace zorbinta {

class Catalogue;
class CatalogueLoader;

inline constexpr const char* kConnectMessage = "Подключитесь к интернету";
inline constexpr const char* kTooLargeMessage = "Файл базы данных слишком велик";
inline constexpr const char* kSignatureMessage = "Подпись каталога не подтверждена";
inline constexpr const char* kOlderCatalogueMessage = "Каталог на сервере старше установленного";
inline constexpr const char* kSecureConnectionMessage =
    "Не удалось установить защищённое соединение с сервером каталога";

// The signature kept beside the catalogue, in the user's folder or shipped.
inline constexpr const char* kSignatureFile = "base.db.minisig";

// What the last download that loaded did to base.db.
enum class DownloadOutcome { None, Replaced, Unchanged };

class UpdateDialog final : public DialogModel {
public:
    UpdateDialog(Catalogue& catalogue, CatalogueLoader& loader, HttpClient& http,
                 MessageBox& messages, DialogRunner& dialogs, ProgramFiles files,
                 std::string serverUrl, std::function<void()> writeStatus,
                 const SignatureChecker* signatures = nullptr)
        : catalogue_(catalogue),
          loader_(loader),
          http_(http),
          messages_(messages),
          dialogs_(dialogs),
          files_(std::move(files)),
          serverUrl_(std::move(serverUrl)),
          writeStatus_(std::move(writeStatus)),
          signatures_(signatures) {}

    // "Загрузить". Errors the user is shown in the error box (a bad
    // Content-Length, the loader's errors, I/O errors) are thrown as Error.
    void Button1Click();
    // "Отмена": closes, or stops a transfer under way; the dialog closes once
    // the transfer has ended.
    void Button2Click();
    void closeBox() override { Button2Click(); }
    std::vector<std::string> texts() const override;
    DialogControls controls() const override { return {.buttons = 2}; }
    void press(int button) override;

    bool transferring() const { return transferring_; }
    // The error display the view runs the buttons under.
    MessageBox& messageBox() const { return messages_; }

    std::string catalogueUrl() const { return serverUrl_ + "/base.db"; }
    std::string signatureUrl() const { return serverUrl_ + "/base.db.minisig"; }
    std::string targetPath() const { return files_.userFile(kCatalogueFile); }
    std::string partPath() const { return files_.userFile("base.db.part"); }
    // The catalogue a download replaced, kept for the comparison with the new one.
    std::string previousPath() const { return files_.userFile(kPreviousCatalogueFile); }
    // The catalogue in use, which a download replaces: the user's, else the shipped one.
    std::string currentPath() const { return files_.currentFile(kCatalogueFile); }
    // The signature of the catalogue in use, as the download accepted it.
    std::string signaturePath() const { return files_.userFile(kSignatureFile); }

    // Once after a download that loaded (Replaced or Unchanged), None
    // otherwise; the main window asks when the dialog has closed.
    DownloadOutcome takeOutcome() { return std::exchange(outcome_, DownloadOutcome::None); }

    int progressMin = 0;
    int progressMax = 100;
    int progressPosition = 0;
    // Runs whenever the bar changes, so a view can repaint it.
    std::function<void()> onProgress;

    // Why the last press of "Загрузить" brought no new catalogue: None while
    // a transfer runs, after a cancel and after one that loaded. A view may
    // show it beside the messages; the headless program does not.
    const DownloadFailure& failure() const { return failure_; }
    // Runs whenever failure() changes.
    std::function<void()> onFailure;

private:
    void setProgress(int min, int max, int position);
    void setFailure(DownloadFailure failure);
    void setFailure(FailureKind kind) { setFailure(DownloadFailure(kind)); }
    // A transfer that ended early: cut off part-way, or never begun (why).
    DownloadFailure earlyEnd(const Transfer& transfer) const;
    // The size request, the bar's reset and the transfer; nothing when the
    // work stopped before the transfer (message says why, unless cancelled).
    std::optional<Transfer> fetch(std::string& message);
    bool chunkArrived(std::size_t size);
    void finishTransfer(const Transfer& transfer);
    void installCatalogue();
    void keepPrevious();
    // With a key: the signature file of the catalogue just received, or
    // nothing when it cannot be had (the user was told, or cancelled).
    std::optional<std::string> fetchSignature();
    // Why bytes and their signature are refused; nothing when they are taken.
    // inUse: the catalogue in use as read from disk, over which the kept
    // signature is weighed.
    std::optional<std::string> refusal(const std::string& bytes, const std::string& signature,
                                       const std::optional<std::string>& inUse) const;
    std::optional<std::uint64_t> keptTimestamp(const std::optional<std::string>& inUse) const;
    void keepSignature(const std::optional<std::string>& signature);

    Catalogue& catalogue_;
    CatalogueLoader& loader_;
    HttpClient& http_;
    MessageBox& messages_;
    DialogRunner& dialogs_;
    ProgramFiles files_;
    std::string serverUrl_;
    std::function<void()> writeStatus_;
    const SignatureChecker* signatures_;  // the keepers' key; nullptr without one
    bool transferring_ = false;
    bool cancelRequested_ = false;
    DownloadOutcome outcome_ = DownloadOutcome::None;
    // Bytes of the transfer under way; past kMaxCatalogueBytes the dialog
    // itself stopped it (not the user's cancel).
    std::uintmax_t received_ = 0;
    DownloadFailure failure_;
};

}  // namespace zorbinta
