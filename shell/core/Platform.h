#pragma once
// Platform services the core talks to. The Qt program and the headless
// driver each implement them; the core never sees a widget.

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

class SaveDialog {
public:
    virtual ~SaveDialog() = default;
    // Filter "HTML|*.htm", default extension ".htm", no overwrite question.
    // The chosen name, or nothing when the user cancels.
    virtual std::optional<std::string> askFileName() = 0;
};

enum class DialogId { About, Update, Search, Prompt };

const char* dialogCaption(DialogId id);

class ModalDialogs {
public:
    virtual ~ModalDialogs() = default;
    // Shows the dialog modally; returns once it has closed.
    virtual void exec(DialogId id) = 0;
    // Asked by a dialog's own handler (a button, the close box).
    virtual void close(DialogId id) = 0;
};

// What the dialogs' models use: running another dialog modally (after which
// the main window is activated again) and closing themselves.
class DialogRunner {
public:
    virtual ~DialogRunner() = default;
    virtual void runModal(DialogId id) = 0;
    virtual void close(DialogId id) = 0;
};

// The main window as its controller drives it.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;
    virtual void setBounds(const Rect& bounds) = 0;
    virtual void setStatusText(int panel, const std::string& text) = 0;  // panel 0 or 1
    virtual void setProviderPanelWidth(int width) = 0;                   // 1 or 200
    virtual void setProviderList(const std::vector<std::string>& items) = 0;
    virtual void setBackEnabled(bool enabled) = 0;
    virtual void setForwardEnabled(bool enabled) = 0;
    // Сервис → Изменения каталога (N16).
    virtual void setChangesEnabled(bool /*enabled*/) {}
    virtual void closeWindow() = 0;  // ends the program
    // A page was saved under this name.
    virtual void pageSaved(const std::string& /*fileName*/) {}
};

}  // namespace zorbinta
