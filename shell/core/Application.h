// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole program over its platform services: one object that owns the
// catalogue and every window's controller, shared by the Qt program and
// zorbinta-headless.

#include <functional>
#include <string>

#include "about/core/AboutBox.h"
#include "catalogue/core/Catalogue.h"
#include "catalogue/core/CatalogueLoader.h"
#include "catalogue/core/History.h"
#include "catalogue/core/ProgramFiles.h"
#include "pages/core/BrowserPane.h"
#include "router/core/Router.h"
#include "search/core/SearchDialog.h"
#include "shell/core/CheckedLinks.h"
#include "shell/core/MainController.h"
#include "shell/core/Platform.h"
#include "update/core/HttpClient.h"
#include "update/core/Settings.h"
#include "update/core/SignatureCheck.h"
#include "update/core/UpdateDialog.h"

namespace zorbinta {

inline constexpr const char* kDefaultServerUrl = ZORBINTA_SERVER_URL;

struct Platform {
    BrowserPane& pane;
    MainWindowView& mainView;
    MessageBox& messages;
    LinkOpener& links;
    WorkArea& workArea;
    SaveDialog& saveDialog;
    ModalDialogs& dialogs;
    HttpClient& http;
    // The catalogue keepers' key; without one, downloads are not signed.
    const SignatureChecker* signatures = nullptr;
};

class Application final : public DialogRunner, public ProgramState {
public:
    Application(const Platform& platform, ProgramFiles files,
                std::string serverUrl = kDefaultServerUrl);

    void runModal(DialogId id) override;
    void close(DialogId id) override;
    std::string catalogueVersion() const override { return prompt.version(); }
    DownloadOutcome takeDownloadOutcome() override { return update.takeOutcome(); }

    // The model of a dialog by its id.
    DialogModel& dialog(DialogId id);

    // Runs work at an event boundary: errors go to the error display.
    void guarded(const std::function<void()>& work) { runGuarded(platform_.messages, work); }

    const std::string& programDir() const { return files_.programDir(); }
    const ProgramFiles& files() const { return files_; }
    const std::string& serverUrl() const { return serverUrl_; }
    // Where the pane's links that leave it (statistics and order links, a
    // provider's e-mail) are opened.
    LinkOpener& pageLinks() { return webAndMailLinks_; }

private:
    Platform platform_;
    ProgramFiles files_;
    std::string serverUrl_;
    // The new-version link is a web address; the About box and the pages
    // build mailto: addresses of their own.
    CheckedLinkOpener webLinks_;
    CheckedLinkOpener webAndMailLinks_;

public:
    Catalogue catalogue;
    // Before the main window and the router, which both hold on to it.
    ShownList shownList;
    History history;
    SearchDialog search;
    NewVersionPrompt prompt;
    CatalogueLoader loader;
    AboutBox about;
    MainController main;
    Router router;
    UpdateDialog update;
};

}  // namespace zorbinta
