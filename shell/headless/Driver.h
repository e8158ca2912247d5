// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zorbinta-headless: the program's controllers with in-memory views, driven
// line by line by a script of user actions.

#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "shell/core/Application.h"
#include "shell/core/MainCommands.h"
#include "shell/headless/HeadlessPane.h"

namespace zorbinta::headless {

struct Options {
    std::string serverUrl = kDefaultServerUrl;
    bool offline = false;
    // The keepers' public key for this run (its base64 line); empty: the
    // one the program was built with, if any.
    std::string key;
};

class Driver final : public MainWindowView,
                     public MessageBox,
                     public LinkOpener,
                     public WorkArea,
                     public SaveDialog,
                     public ModalDialogs {
public:
    Driver(std::istream& in, std::ostream& out, const ProgramFiles& files, const Options& options);
    ~Driver() override;

    // Runs the script to its end (or to Файл → Выход). Returns the exit status.
    int run();

    // MainWindowView
    void setBounds(const Rect&) override {}
    void setStatusText(int, const std::string&) override {}
    void setProviderPanelWidth(int) override {}
    void setProviderList(const std::vector<std::string>&) override {}
    void setBackEnabled(bool) override {}
    void setForwardEnabled(bool) override {}
    void closeWindow() override;
    void pageSaved(const std::string& fileName) override;
    // MessageBox
    void showMessage(const std::string& text, const std::string& caption) override;
    void showError(const std::string& text) override;
    // LinkOpener
    void open(const std::string& target) override;
    void refused(const std::string& target) override;
    // WorkArea
    Rect workArea() const override { return Rect{0, 0, 1280, 1024}; }
    // SaveDialog
    std::optional<std::string> askFileName() override;
    std::optional<SaveChoice> askSaveFile(const SaveRequest& request) override;
    // ModalDialogs
    void exec(DialogId id) override;
    void close(DialogId id) override;

private:
    struct OpenDialog {
        DialogId id;
        bool closed = false;
    };

    bool readLine(std::string& line);
    void runLine(const std::string& line);
    bool runQuery(const std::string& line);
    bool runMainLine(const std::string& line);
    // menu, toolbar or button NAME [PATH]
    bool runCommand(CommandKind kind, std::string_view rest);
    // submit cost ZONE YEARS [search]
    bool submitCost(std::string_view rest);
    bool runDialogLine(DialogId id, const std::string& line);
    void printKey(const KeyResult& result);
    void closeBox(DialogId id);
    [[noreturn]] void fail(const std::string& line);
    void flush();

    std::istream& in_;
    std::ostream& out_;
    Options options_;
    HeadlessPane pane_;
    std::unique_ptr<HttpClient> network_;  // the real client, which http_ wraps
    std::unique_ptr<HttpClient> http_;
    std::unique_ptr<SignatureChecker> signatures_;
    std::unique_ptr<Application> app_;
    std::vector<OpenDialog> dialogs_;
    std::optional<std::string> savePath_;
    int lineNumber_ = 0;
    bool exited_ = false;
};

}  // namespace zorbinta::headless
