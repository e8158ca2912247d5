// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's modal dialogs as their models see each other: which one,
// its caption, and the service that runs one modally and closes it.

namespace zorbinta {

enum class DialogId { About, Update, Search, Prompt };

constexpr const char* dialogCaption(DialogId id) {
    switch (id) {
        case DialogId::About:
            return "О программе";
        case DialogId::Update:
            return "Обновление";
        case DialogId::Search:
            return "Поиск виртуального сервера";
        case DialogId::Prompt:
            return "Новая версия";
    }
    return "";
}

// What the dialogs' models use: running another dialog modally (after which
// the main window is activated again) and closing themselves.
class DialogRunner {
public:
    virtual ~DialogRunner() = default;
    virtual void runModal(DialogId id) = 0;
    virtual void close(DialogId id) = 0;
};

}  // namespace zorbinta
