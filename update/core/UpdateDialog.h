#pragma once
// The download dialog (TForm3): fetches base.db over HTTP and loads it.

#include <functional>
#include <string>
#include <vector>

#include "shell/core/Platform.h"
#include "update/core/HttpClient.h"

namespace zorbinta {

class Catalogue;
class CatalogueLoader;

class UpdateDialog {
public:
    UpdateDialog(Catalogue& catalogue, CatalogueLoader& loader, HttpClient& http,
                 MessageBox& messages, DialogRunner& dialogs, std::string programDir,
                 std::string serverUrl, std::function<void()> writeStatus)
        : catalogue_(catalogue),
          loader_(loader),
          http_(http),
          messages_(messages),
          dialogs_(dialogs),
          programDir_(std::move(programDir)),
          serverUrl_(std::move(serverUrl)),
          writeStatus_(std::move(writeStatus)) {}

    void Button1Click();  // "Загрузить"
    void Button2Click();  // "Отмена": closes, or stops a transfer under way
    void closeBox();
    std::vector<std::string> texts() const;

    int progressMin = 0;
    int progressMax = 100;
    int progressPosition = 0;
    // Runs whenever the bar changes, so a view can repaint it.
    std::function<void()> onProgress;

private:
    Catalogue& catalogue_;
    CatalogueLoader& loader_;
    HttpClient& http_;
    MessageBox& messages_;
    DialogRunner& dialogs_;
    std::string programDir_;
    std::string serverUrl_;
    std::function<void()> writeStatus_;
    bool transferring_ = false;
    bool cancelRequested_ = false;
};

}  // namespace zorbinta
