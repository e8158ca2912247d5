// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Platform services that only remember what the code under test asked of
// them.

#include <functional>
#include <string>
#include <vector>

#include "platform/core/Dialogs.h"
#include "platform/core/Services.h"

namespace zorbinta::testing {

class RecordingMessages final : public MessageBox {
public:
    void showMessage(const std::string& text, const std::string&) override {
        shown.push_back(text);
    }
    void showError(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;  // plain messages and errors alike
};

class RecordingDialogs final : public DialogRunner {
public:
    void runModal(DialogId id) override {
        shown.push_back(id);
        if (onShow) onShow();
    }
    void close(DialogId id) override { closed.push_back(id); }
    std::vector<DialogId> shown;
    std::vector<DialogId> closed;
    std::function<void()> onShow;  // what the user does while it is open
};

class RecordingLinks final : public LinkOpener {
public:
    void open(const std::string& target) override { opened.push_back(target); }
    std::vector<std::string> opened;
};

}  // namespace zorbinta::testing
