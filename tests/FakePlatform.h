// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// In-memory platform services for driving the whole Application in tests.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

#include "catalogue/core/Catalogue.h"
#include "catalogue/core/FileIO.h"
#include "catalogue/core/Win1251.h"
#include "shell/core/Application.h"

namespace zorbinta::testing {

class FakePane final : public BrowserPane {
public:
    void navigate(const std::string& url) override { pending.push_back(url); }
    bool hasDocument() const override { return document; }
    bool isComplete() const override { return pending.empty(); }
    void writeDocument(const std::string& page) override {
        pages.push_back({location, page});
        current = page;
    }
    void writeDocumentAt(const std::string& at, const std::string& page) override {
        location = at;
        document = true;
        writeDocument(page);
    }
    std::string locationUrl() const override { return location; }
    void focusDocument() override { ++focused; }
    bool documentSource(std::string& source) const override {
        if (!document) return false;
        source = current;
        return true;
    }
    void processEvents() override {
        if (pending.empty()) return;
        location = pending.front();
        pending.pop_front();
        document = true;
        current.clear();
        fireNavigateComplete();
    }
    void processAll() {
        while (!pending.empty()) processEvents();
    }

    struct Shown {
        std::string location;
        std::string page;
    };
    std::deque<std::string> pending;
    std::vector<Shown> pages;
    std::string location;
    std::string current;
    bool document = false;
    int focused = 0;
};

// Navigations complete at once, inside navigate(); only the last page is kept
// unless keepPages asks for every one, so long runs do not pile them up.
class ImmediatePane : public BrowserPane {
public:
    void navigate(const std::string& url) override {
        location = url;
        fireNavigateComplete();
    }
    bool hasDocument() const override { return true; }
    bool isComplete() const override { return true; }
    void writeDocument(const std::string& page) override {
        if (onWrite) onWrite(page);
        last = page;
        if (keepPages) shown.push_back(page);
        ++written;
    }
    void writeDocumentAt(const std::string& at, const std::string& page) override {
        location = at;
        writeDocument(page);
    }
    std::string locationUrl() const override { return location; }
    void focusDocument() override {}
    bool documentSource(std::string& source) const override {
        source = last;
        return true;
    }
    void processEvents() override {}

    std::function<void(const std::string&)> onWrite;
    bool keepPages = false;
    std::string location;
    std::string last;
    std::vector<std::string> shown;
    long long written = 0;
};

class FakeHttp final : public HttpClient {
public:
    bool isConnected() override { return false; }
    ContentLengthReply getContentLength(const std::string&) override { return {}; }
    Transfer downloadToFile(const std::string&, const std::string&,
                            const std::function<bool(std::size_t)>&) override {
        return {};
    }
    Transfer downloadToMemory(const std::string&, std::string&,
                              const std::function<bool(std::size_t)>&) override {
        return {};
    }
};

// Serves a download as a server would: the announced Content-Length, then
// body in chunks of at most 1024 bytes, as HttpClient promises, until the
// callback stops it. An endless download streams 'x' far past the bound on a
// catalogue's size, so a dialog that never stops it fails.
class ScriptedHttp final : public HttpClient {
public:
    // body as the download, its true length announced.
    void serve(std::string text) {
        body = std::move(text);
        announced = std::to_string(body.size());
    }
    bool isConnected() override { return true; }
    ContentLengthReply getContentLength(const std::string&) override { return {200, announced}; }
    Transfer downloadToFile(const std::string&, const std::string& path,
                            const std::function<bool(std::size_t)>& onChunk) override {
        ++downloads;
        std::ofstream out(path, std::ios::binary);
        const std::uintmax_t end = endless ? 4 * kMaxCatalogueBytes : body.size();
        for (std::uintmax_t at = 0; at < end; at += 1024) {
            const std::string chunk = endless ? std::string(1024, 'x') : body.substr(at, 1024);
            out << chunk << std::flush;
            streamed += chunk.size();
            if (!onChunk(chunk.size())) return {TransferResult::Cancelled, 200, {}};
        }
        return {TransferResult::Complete, 200, {}};
    }
    // The signature file: signature, or a 404 without one.
    Transfer downloadToMemory(const std::string&, std::string& out,
                              const std::function<bool(std::size_t)>& onChunk) override {
        ++signatureRequests;
        out.clear();
        if (!signature) return {TransferResult::HttpError, 404, {}};
        for (std::size_t at = 0; at < signature->size(); at += 1024) {
            out += signature->substr(at, 1024);
            if (!onChunk(std::min<std::size_t>(1024, signature->size() - at))) {
                return {TransferResult::Cancelled, 200, {}};
            }
        }
        return {TransferResult::Complete, 200, {}};
    }

    std::string announced;
    std::string body;
    bool endless = false;
    int downloads = 0;
    std::uintmax_t streamed = 0;
    std::optional<std::string> signature;
    int signatureRequests = 0;
};

// Every service at once; dialogs run a scripted reaction per showing.
class FakePlatform final : public MainWindowView,
                           public MessageBox,
                           public LinkOpener,
                           public WorkArea,
                           public SaveDialog,
                           public ModalDialogs {
public:
    void setBounds(const Rect& b) override { bounds = b; }
    void setStatusText(int panel, const std::string& text) override { status[panel] = text; }
    void setProviderPanelWidth(int w) override { panelWidth = w; }
    void setProviderList(const std::vector<std::string>& items) override { list = items; }
    void setBackEnabled(bool e) override { back = e; }
    void setForwardEnabled(bool e) override { forward = e; }
    void closeWindow() override { closed = true; }
    void pageSaved(const std::string& name) override { saved.push_back(name); }
    void showMessage(const std::string& text, const std::string& caption) override {
        messages.push_back(caption.empty() ? text : caption + ": " + text);
    }
    void showError(const std::string& text) override { errors.push_back(text); }
    void open(const std::string& target) override { opened.push_back(target); }
    void refused(const std::string& target) override { refusedLinks.push_back(target); }
    Rect workArea() const override { return area; }
    std::optional<std::string> askFileName() override { return saveName; }
    std::optional<SaveChoice> askSaveFile(const SaveRequest& request) override {
        saveRequests.push_back(request);
        if (!saveName) return std::nullopt;
        return SaveChoice{*saveName, saveType};
    }
    void exec(DialogId id) override {
        shown.push_back(id);
        auto it = reactions.find(id);
        if (it != reactions.end() && !it->second.empty()) {
            auto reaction = it->second.front();
            it->second.pop_front();
            reaction();
        }
    }
    void close(DialogId id) override { closedDialogs.push_back(id); }

    Platform platform() { return Platform{pane, *this, *this, *this, *this, *this, *this, http}; }

    FakePane pane;
    FakeHttp http;
    Rect bounds;
    Rect area{0, 0, 1280, 1024};
    std::string status[2];
    int panelWidth = 0;
    std::vector<std::string> list;
    bool back = false;
    bool forward = false;
    bool closed = false;
    std::vector<std::string> saved;
    std::vector<std::string> messages;
    std::vector<std::string> errors;
    std::vector<std::string> opened;
    std::vector<std::string> refusedLinks;
    std::optional<std::string> saveName;
    size_t saveType = 0;
    std::vector<SaveRequest> saveRequests;
    std::vector<DialogId> shown;
    std::vector<DialogId> closedDialogs;
    std::map<DialogId, std::deque<std::function<void()>>> reactions;
};

// A program folder in a fresh temporary directory.
class ProgramFolder {
public:
    ProgramFolder() {
        static int counter = 0;
        dir = std::filesystem::temp_directory_path() /
              ("zorbinta-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir / "templ");
        write("templ/top.htm", "<head>");
        write("templ/bottom.htm", "<tail>");
        write("templ/main.htm", "");
        write("templ/config.txt", "0");
    }
    ~ProgramFolder() { std::filesystem::remove_all(dir); }

    // Writes UTF-8 text as Windows-1251 bytes.
    void write(const std::string& name, const std::string& utf8Text) {
        std::ofstream(dir / name, std::ios::binary) << toCp1251(utf8Text);
    }
    std::string path() const { return dir.string() + "/"; }
    std::string path(const std::string& name) const { return path() + name; }
    // The bytes of the file by that name, as stored.
    std::string read(const std::string& name) const { return readFileBytes(path(name)); }

    std::filesystem::path dir;
};

}  // namespace zorbinta::testing
