// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings file templ/config.txt and the new-version prompt (TForm5).

#include <string>
#include <vector>

#include "catalogue/core/NewVersionOffer.h"
#include "catalogue/core/ProgramFiles.h"
#include "platform/core/DialogModel.h"
#include "platform/core/Dialogs.h"
#include "platform/core/Services.h"

namespace zorbinta {

inline constexpr const char* ProgramVersion = "3.1";

// PromptFlag: the first line of templ/config.txt, the user's when there is
// one, else the installed one. Throws "File not found".
std::string readPromptFlag(const ProgramFiles& files);
// Replaces the user's file with one holding the single character "1", written
// beside it and renamed over it; a file or folder that may not be written
// fails as before, with the runtime's text.
void writePromptOff(const ProgramFiles& files);

class NewVersionPrompt final : public NewVersionOffer, public DialogModel {
public:
    NewVersionPrompt(DialogRunner& dialogs, LinkOpener& links, ProgramFiles files)
        : dialogs_(dialogs), links_(links), files_(std::move(files)) {}

    void OfferNewVersion(const std::string& catalogueVersion,
                         const std::string& newVersionLink) override;
    void Button1Click();  // "Да"
    void Button2Click();  // "Нет"
    void closeBox() override;
    std::vector<std::string> texts() const override;
    DialogControls controls() const override { return {.buttons = 2, .checkBoxes = 1}; }
    void press(int button) override;
    void setChecked(int box, bool ticked) override;

    bool CheckBox1 = false;  // "Больше не показывать данное сообщение"
    const std::string& link() const { return link_; }
    // The version of the last record offered, kept once its prompt is done
    // with: after the run's first load, the version of the catalogue it read
    // (the start page shows it).
    const std::string& version() const { return version_; }

private:
    DialogRunner& dialogs_;
    LinkOpener& links_;
    ProgramFiles files_;
    std::string link_;
    std::string version_;
};

}  // namespace zorbinta
