// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/Application.h"

namespace zorbinta {

Application::Application(const Platform& platform, ProgramFiles files, std::string serverUrl)
    : platform_(platform),
      files_(std::move(files)),
      serverUrl_(std::move(serverUrl)),
      webLinks_(platform.links, MailAddresses::Refused),
      webAndMailLinks_(platform.links, MailAddresses::Allowed),
      search(*this),
      prompt(*this, webLinks_, files_),
      loader(catalogue, files_, prompt),
      about(*this, webAndMailLinks_),
      main(
          catalogue, loader, history,
          MainController::Services{platform.pane, platform.mainView, platform.workArea,
                                   platform.saveDialog, platform.messages, *this, *this, shownList},
          files_),
      router(catalogue, history, search, platform.pane, main, files_, serverUrl_, shownList),
      update(
          catalogue, loader, platform.http, platform.messages, *this, files_, serverUrl_,
          [this] { main.writeStatus(); }, platform.signatures) {
    router.setStartPageBuilder([this] { return main.startPageBody(); });
    // The list on show was made from the tables a load is about to replace.
    loader.onBeforeLoad([this] { shownList.keep(); });
    platform_.pane.setNavigateCompleteHandler([this] { guarded([this] { router.nav(); }); });
}

void Application::runModal(DialogId id) {
    // The search dialog's OnActivate runs as it is shown.
    if (id == DialogId::Search) search.active();
    platform_.dialogs.exec(id);
    // The main window becomes active again as the dialog closes.
    guarded([this] { main.active(); });
}

DialogModel& Application::dialog(DialogId id) {
    switch (id) {
        case DialogId::Search:
            return search;
        case DialogId::Update:
            return update;
        case DialogId::Prompt:
            return prompt;
        case DialogId::About:
            break;
    }
    return about;
}

void Application::close(DialogId id) {
    platform_.dialogs.close(id);
}

}  // namespace zorbinta
