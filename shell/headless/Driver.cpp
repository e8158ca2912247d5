// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/headless/Driver.h"

#include <cstdlib>
#include <iostream>

#include "update/minisign/Minisign.h"
#include "update/qt/QtHttpClient.h"

namespace zorbinta::headless {
namespace {

// The program's own HTTP client on the simulated system, whose connection
// state is fixed: connected, unless --offline says otherwise. The machine's
// real network state stays out of the output, as its screen does.
class SimulatedConnection final : public ForwardingHttpClient {
public:
    SimulatedConnection(HttpClient& client, bool connected)
        : ForwardingHttpClient(client), connected_(connected) {}
    bool isConnected() override { return connected_; }

private:
    bool connected_;
};

}  // namespace

Driver::Driver(std::istream& in, std::ostream& out, const ProgramFiles& files,
               const Options& options)
    : in_(in), out_(out), options_(options), pane_(out) {
    network_ = std::make_unique<QtHttpClient>();
    // --offline makes the connection-state query answer "not connected".
    http_ = std::make_unique<SimulatedConnection>(*network_, !options.offline);
    signatures_ =
        options.key.empty() ? minisign::builtInChecker() : minisign::checkerFor(options.key);
    app_ = std::make_unique<Application>(
        Platform{pane_, *this, *this, *this, *this, *this, *this, *http_, signatures_.get()}, files,
        options.serverUrl);
}

Driver::~Driver() = default;

void Driver::flush() {
    out_.flush();
}

bool Driver::readLine(std::string& line) {
    while (std::getline(in_, line)) {
        ++lineNumber_;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        return true;
    }
    return false;
}

void Driver::fail(const std::string& line) {
    flush();
    std::cerr << "zorbinta-headless: line " << lineNumber_ << ": cannot understand: " << line
              << std::endl;
    std::_Exit(2);
}

int Driver::run() {
    std::string line;
    while (!exited_ && readLine(line)) {
        runLine(line);
        flush();
    }
    flush();
    return 0;
}

void Driver::runLine(const std::string& line) {
    if (runQuery(line)) return;
    const bool understood =
        dialogs_.empty() ? runMainLine(line) : runDialogLine(dialogs_.back().id, line);
    if (!understood) fail(line);
    // Navigations started by the line complete before the next one is read.
    app_->guarded([this] { pane_.processAll(); });
}

void Driver::closeBox(DialogId id) {
    app_->guarded([this, id] { app_->dialog(id).closeBox(); });
}

void Driver::exec(DialogId id) {
    out_ << "=== dialog " << dialogCaption(id) << '\n';
    for (const std::string& text : app_->dialog(id).texts()) out_ << text << '\n';
    flush();
    dialogs_.push_back(OpenDialog{id});
    const size_t depth = dialogs_.size();
    std::string line;
    while (!dialogs_[depth - 1].closed) {
        if (exited_ || !readLine(line)) {
            // The end of the script closes what is still open with its close box.
            closeBox(id);
            if (!dialogs_[depth - 1].closed) break;
            continue;
        }
        runLine(line);
        flush();
    }
    dialogs_.pop_back();
    out_ << "=== closed " << dialogCaption(id) << '\n';
    flush();
}

void Driver::close(DialogId id) {
    for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it) {
        if (it->id == id && !it->closed) {
            it->closed = true;
            return;
        }
    }
}

void Driver::closeWindow() {
    out_ << "=== exit\n";
    exited_ = true;
}

void Driver::pageSaved(const std::string& fileName) {
    out_ << "=== saved " << fileName << '\n';
}

void Driver::showMessage(const std::string& text, const std::string& caption) {
    out_ << "=== message ";
    if (!caption.empty()) out_ << caption << ": ";
    out_ << text << '\n';
}

void Driver::showError(const std::string& text) {
    out_ << "=== error " << text << '\n';
}

void Driver::open(const std::string& target) {
    out_ << "=== open " << target << '\n';
}

void Driver::refused(const std::string& target) {
    out_ << "=== refused " << target << '\n';
}

std::optional<std::string> Driver::askFileName() {
    std::optional<std::string> path = savePath_;
    savePath_.reset();
    return path;
}

std::optional<SaveChoice> Driver::askSaveFile(const SaveRequest& request) {
    const std::optional<std::string> line = askFileName();
    if (!line) return std::nullopt;
    // "PATH [TYPE]": the last word names a file type only when it is exactly
    // one of the dialog's words; otherwise it belongs to the path.
    SaveChoice choice{*line, 0};
    const size_t space = line->find_last_of(' ');
    if (space != std::string::npos) {
        const std::string word = line->substr(space + 1);
        for (size_t k = 0; k < request.types.size(); ++k) {
            if (request.types[k].word != word) continue;
            choice = {line->substr(0, space), k};
            break;
        }
    }
    return choice;
}

}  // namespace zorbinta::headless
