// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What only the program as a whole asks of its platform: the main window as
// its controller drives it, and the modal dialogs shown by id. The services
// the subsystems share are below, in platform/core.

#include <string>
#include <vector>

#include "platform/core/Dialogs.h"
#include "platform/core/HistoryButtons.h"
#include "platform/core/Services.h"

namespace zorbinta {

class ModalDialogs {
public:
    virtual ~ModalDialogs() = default;
    // Shows the dialog modally; returns once it has closed.
    virtual void exec(DialogId id) = 0;
    // Asked by a dialog's own handler (a button, the close box).
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
    // Файл → Экспорт таблицы (N25): only while the page on show has a list.
    virtual void setExportEnabled(bool /*enabled*/) {}
    virtual void closeWindow() = 0;  // ends the program
    // A page was saved under this name.
    virtual void pageSaved(const std::string& /*fileName*/) {}
};

}  // namespace zorbinta
