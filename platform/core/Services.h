// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Platform services the subsystems talk to: message boxes, opening
// addresses with the user's default programs, the desktop work area and the
// save dialog. The Qt program and the headless driver each implement them;
// the core never sees a widget.

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zorbinta {

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // A plain message box with an OK button; an empty caption means the
    // application's title.
    virtual void showMessage(const std::string& text, const std::string& caption = {}) = 0;
    // The application's error display: an exception's text.
    virtual void showError(const std::string& text) = 0;
};

// Runs one event's work and shows any error it raises; the program goes on.
inline void runGuarded(MessageBox& messages, const std::function<void()>& work) {
    try {
        work();
    } catch (const std::exception& e) {
        messages.showError(e.what());
    }
}

class LinkOpener {
public:
    virtual ~LinkOpener() = default;
    // Opens a web or mailto: address with the user's default program.
    virtual void open(const std::string& target) = 0;
    // An address the program would have opened and refused (not a web or
    // mail address); the user is shown nothing.
    virtual void refused(const std::string& /*target*/) {}
};

class WorkArea {
public:
    virtual ~WorkArea() = default;
    // The desktop without the task bar.
    virtual Rect workArea() const = 0;
};

// A file type the save dialog offers in its filter list.
struct FileType {
    std::string name;       // "CSV для Excel (;)"
    std::string extension;  // "csv", added to a name without one
    std::string word;       // how a script names it: "excel"
};

// What a save asks for: the types in the filter list (the first one chosen
// at first) and the name proposed in the folder the dialog opens in.
struct SaveRequest {
    std::vector<FileType> types;
    std::string proposedName;
};

struct SaveChoice {
    std::string path;
    size_t type = 0;  // index into SaveRequest::types
};

class SaveDialog {
public:
    virtual ~SaveDialog() = default;
    // Filter "HTML|*.htm", default extension ".htm", no overwrite question.
    // The chosen name, or nothing when the user cancels.
    virtual std::optional<std::string> askFileName() = 0;
    // The same dialog, in the same folder, for another kind of file.
    virtual std::optional<SaveChoice> askSaveFile(const SaveRequest& request) = 0;
};

}  // namespace zorbinta
