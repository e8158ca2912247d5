#include "shell/headless/Driver.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string_view>

#include "catalogue/core/Numbers.h"
#include "catalogue/core/Win1251.h"
#include "update/minisign/Minisign.h"
#include "update/qt/QtHttpClient.h"

namespace zorbinta::headless {
namespace {

// The first word of text and what follows the single space after it.
std::string_view takeWord(std::string_view& text) {
    const size_t space = text.find(' ');
    const std::string_view word = text.substr(0, space);
    text = space == std::string_view::npos ? std::string_view{} : text.substr(space + 1);
    return word;
}

// "Edit3" -> 3 for prefix "Edit"; 0 when the word is not of that form.
int numberAfter(std::string_view word, std::string_view prefix) {
    if (word.substr(0, prefix.size()) != prefix || word.size() == prefix.size()) return 0;
    int n = 0;
    for (const char c : word.substr(prefix.size())) {
        if (c < '0' || c > '9' || n > 1000) return 0;
        n = n * 10 + (c - '0');
    }
    return n;
}

// One UTF-8 character from the front of text.
bool takeCodePoint(std::string_view& text, char32_t& cp) {
    if (text.empty()) return false;
    size_t i = 0;
    cp = decodeUtf8(text, i);
    text.remove_prefix(i);
    return true;
}

const char* onOff(bool on) {
    return on ? "on" : "off";
}

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

bool Driver::runQuery(const std::string& line) {
    std::string_view rest(line);
    if (takeWord(rest) != "show") return false;
    const std::string_view what = rest;
    MainController& main = app_->main;
    const Catalogue& cat = app_->catalogue;
    if (what == "status") {
        out_ << "=== status " << main.statusText[0] << " | " << main.statusText[1] << '\n';
    } else if (what == "counts") {
        out_ << "=== counts providers=" << cat.ProviderCount << " plans=" << cat.PlanCount
             << " free=" << cat.FreeHostCount << " domainend=" << cat.DomainEnd << '\n';
    } else if (what == "history") {
        out_ << "=== history back=" << app_->history.BackCount
             << " forward=" << app_->history.ForwardCount
             << " backbutton=" << onOff(main.backEnabled)
             << " forwardbutton=" << onOff(main.forwardEnabled) << '\n';
    } else if (what == "panel") {
        out_ << "=== panel " << main.panelWidth << '\n';
    } else if (what == "list") {
        out_ << "=== list " << main.listItems.size() << '\n';
        for (const std::string& item : main.listItems) out_ << item << '\n';
    } else if (what == "location") {
        out_ << "=== location " << pane_.locationUrl() << '\n';
    } else if (what == "window") {
        out_ << "=== window " << main.bounds.x << ' ' << main.bounds.y << ' ' << main.bounds.width
             << ' ' << main.bounds.height << '\n';
    } else if (what == "fields") {
        out_ << "=== fields\n";
        for (int k = 1; k <= 8; ++k) out_ << "Edit" << k << '=' << app_->search.Edit[k] << '\n';
        for (int k = 1; k <= 19; ++k) {
            out_ << "CheckBox" << k << '=' << (app_->search.CheckBox[k] ? 1 : 0) << '\n';
        }
    } else if (what == "criteria") {
        out_ << "=== criteria\n";
        const SearchCriteria& c = app_->search.criteria;
        for (int k = 1; k <= 8; ++k)
            out_ << "Bounds[" << k << "]=" << formatGeneral(c.Bounds[k]) << '\n';
        for (int j = 1; j <= 15; ++j)
            out_ << "Options[" << j << "]=" << (c.Options[j] ? 1 : 0) << '\n';
    } else if (what == "progress") {
        out_ << "=== progress " << app_->update.progressMin << ' ' << app_->update.progressMax
             << ' ' << app_->update.progressPosition << '\n';
    } else if (what == "prompt") {
        out_ << "=== prompt CheckBox1=" << (app_->prompt.CheckBox1 ? 1 : 0) << '\n';
    } else if (what.substr(0, 5) == "menu ") {
        const std::string_view name = what.substr(5);
        static constexpr std::string_view kItems[] = {"N1", "N2",  "N4",  "N5",  "N6",  "N7", "N8",
                                                      "N9", "N10", "N11", "N12", "N13", "N16"};
        if (std::find(std::begin(kItems), std::end(kItems), name) == std::end(kItems)) {
            return false;
        }
        // Every item but N16 is always enabled.
        const bool on = name != "N16" || main.changesEnabled;
        out_ << "=== menu " << name << ' ' << onOff(on) << '\n';
    } else {
        return false;
    }
    return true;
}

bool Driver::runMainLine(const std::string& line) {
    std::string_view rest(line);
    const std::string_view verb = takeWord(rest);
    MainController& main = app_->main;
    auto act = [this](const std::function<void()>& work) { app_->guarded(work); };

    if (verb == "start" && rest.empty()) {
        act([&main] { main.start(); });
    } else if (verb == "activate" && rest.empty()) {
        act([&main] { main.active(); });
    } else if (verb == "menu" || verb == "toolbar" || verb == "button") {
        const std::string_view name = takeWord(rest);
        const bool save =
            (verb == "menu" && name == "N2") || (verb == "toolbar" && name == "ToolButton1");
        if (save) {
            savePath_ = rest.empty() ? std::nullopt : std::optional<std::string>(std::string(rest));
            act([&main] { main.N2Click(); });
            return true;
        }
        if (!rest.empty()) return false;
        std::function<void()> command;
        if (verb == "menu") {
            if (name == "N4") command = [&main] { main.N4Click(); };
            if (name == "N6") command = [&main] { main.N6Click(); };
            if (name == "N8") command = [&main] { main.N8Click(); };
            if (name == "N9") command = [&main] { main.N9Click(); };
            if (name == "N13") command = [&main] { main.N13Click(); };
            if (name == "N11") command = [&main] { main.N11Click(); };
            if (name == "N12") command = [&main] { main.N12Click(); };
            if (name == "N16") command = [&main] { main.N16Click(); };
        } else if (verb == "toolbar") {
            if (name == "ToolButton2") command = [&main] { main.ToolButton2Click(); };
            if (name == "ToolButton3") command = [&main] { main.ToolButton3Click(); };
            if (name == "ToolButton4") command = [&main] { main.ToolButton4Click(); };
            if (name == "ToolButton5") command = [&main] { main.ToolButton5Click(); };
            if (name == "ToolButton6") command = [&main] { main.ToolButton6Click(); };
        } else if (name == "BitBtn4") {
            command = [&main] { main.BitBtn4Click(); };
        }
        if (!command) return false;
        act(command);
    } else if (verb == "list") {
        int index = -1;
        if (!rest.empty() || line.size() > 4) {
            for (size_t k = 0; k < main.listItems.size(); ++k) {
                if (main.listItems[k] == rest) {
                    index = static_cast<int>(k);
                    break;
                }
            }
        }
        main.selectItem(index);
        act([&main] { main.click(); });
    } else if (verb == "navigate" && !rest.empty()) {
        const std::string target = resolveUrl(pane_.locationUrl(), std::string(rest));
        if (target.rfind("mailto:", 0) == 0) {
            app_->pageLinks().open(target);  // mail links open outside the pane
        } else {
            pane_.navigate(target);
        }
    } else if (verb == "submit") {
        const std::string_view form = takeWord(rest);
        if (form == "srav") {
            std::string url = "http://srav/?";
            bool first = true;
            while (!rest.empty()) {
                const std::string_view row = takeWord(rest);
                if (row.empty()) continue;
                url += first ? "" : "&";
                url += "nom=" + formEncode(std::string(row));
                first = false;
            }
            pane_.navigate(url);
        } else if (form == "dom" && !rest.empty()) {
            const std::string zone(takeWord(rest));
            std::string url = "http://dom/?zona=" + formEncode(zone + "|");
            if (!rest.empty()) url += "&norh=" + formEncode(std::string(takeWord(rest)));
            if (!rest.empty()) return false;
            pane_.navigate(url);
        } else {
            return false;
        }
    } else {
        return false;
    }
    return true;
}

bool Driver::runDialogLine(DialogId id, const std::string& line) {
    std::string_view rest(line);
    const std::string_view verb = takeWord(rest);
    auto act = [this](const std::function<void()>& work) { app_->guarded(work); };
    SearchDialog& search = app_->search;

    if (verb == "close" && rest.empty()) {
        closeBox(id);
    } else if (verb == "press") {
        const std::string_view button = rest;
        if (button != "Button1" && button != "Button2") return false;
        const bool first = button == "Button1";
        switch (id) {
            case DialogId::Search:
                act([&search, first] { first ? search.Button1Click() : search.Button2Click(); });
                break;
            case DialogId::Update:
                act([this, first] {
                    first ? app_->update.Button1Click() : app_->update.Button2Click();
                });
                break;
            case DialogId::Prompt:
                act([this, first] {
                    first ? app_->prompt.Button1Click() : app_->prompt.Button2Click();
                });
                break;
            case DialogId::About:
                return false;
        }
    } else if (verb == "tick" || verb == "untick") {
        const int box = numberAfter(rest, "CheckBox");
        const bool ticked = verb == "tick";
        if (id == DialogId::Search && box >= 1 && box <= 19) {
            search.CheckBox[box] = ticked;
        } else if (id == DialogId::Prompt && box == 1) {
            app_->prompt.CheckBox1 = ticked;
        } else {
            return false;
        }
    } else if (verb == "set" && id == DialogId::Search) {
        const int edit = numberAfter(takeWord(rest), "Edit");
        if (edit < 1 || edit > 8) return false;
        search.Edit[edit] = std::string(rest);
    } else if (verb == "key" && id == DialogId::Search) {
        const int edit = numberAfter(takeWord(rest), "Edit");
        if (edit < 1 || edit > 8 || rest.empty()) return false;
        char32_t key = 0;
        if (rest.substr(0, 9) == "backspace" && (rest.size() == 9 || rest[9] == ' ')) {
            key = kBackspace;
            rest.remove_prefix(9);
        } else if (!takeCodePoint(rest, key)) {
            return false;
        }
        int caret = -1;
        if (!rest.empty()) {
            if (rest[0] != ' ' || !tryParseInt(rest.substr(1), caret) || caret < 0) return false;
        }
        const KeyResult result = search.keyPress(edit, key, caret);
        switch (result.outcome) {
            case KeyOutcome::Accepted:
                out_ << "=== key accepted\n";
                break;
            case KeyOutcome::Replaced:
                out_ << "=== key replaced " << encodeUtf8(result.character) << '\n';
                break;
            case KeyOutcome::Refused:
                out_ << "=== key refused\n";
                break;
        }
    } else if (verb == "click" && id == DialogId::About) {
        if (rest == "form") {
            act([this] { app_->about.formclick(); });
        } else {
            const int label = numberAfter(rest, "Label");
            if (label < 1 || label > 9) return false;
            act([this, label] { app_->about.clickLabel(label); });
        }
    } else {
        return false;
    }
    return true;
}

void Driver::closeBox(DialogId id) {
    app_->guarded([this, id] {
        switch (id) {
            case DialogId::Search:
                app_->search.closeBox();
                break;
            case DialogId::Update:
                app_->update.closeBox();
                break;
            case DialogId::Prompt:
                app_->prompt.closeBox();
                break;
            case DialogId::About:
                app_->about.closeBox();
                break;
        }
    });
}

std::vector<std::string> Driver::dialogTexts(DialogId id) const {
    switch (id) {
        case DialogId::Search:
            return app_->search.texts();
        case DialogId::Update:
            return app_->update.texts();
        case DialogId::Prompt:
            return app_->prompt.texts();
        case DialogId::About:
            return app_->about.texts();
    }
    return {};
}

void Driver::exec(DialogId id) {
    out_ << "=== dialog " << dialogCaption(id) << '\n';
    for (const std::string& text : dialogTexts(id)) out_ << text << '\n';
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

}  // namespace zorbinta::headless
