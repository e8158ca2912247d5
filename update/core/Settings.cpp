// SPDX-License-Identifier: GPL-3.0-or-later
#include "update/core/Settings.h"

#include "catalogue/core/FileIO.h"
#include "catalogue/core/Win1251.h"

namespace zorbinta {
namespace {

constexpr const char* kSettingsFile = "templ/config.txt";

}  // namespace

std::string readPromptFlag(const ProgramFiles& files) {
    const std::vector<std::string> lines =
        splitLines(readFileBytes(files.currentFile(kSettingsFile)));
    return lines.empty() ? std::string() : fromCp1251(lines.front());
}

void writePromptOff(const ProgramFiles& files) {
    files.makeUserFolderFor(kSettingsFile);
    // Never truncated in place: a power cut mid-write would leave an empty
    // file, which reads as "prompt off" and cannot be told from a choice.
    writeFileDurably(files.userFile(kSettingsFile), "1");
}

void NewVersionPrompt::OfferNewVersion(const std::string& catalogueVersion,
                                       const std::string& newVersionLink) {
    // Read first: a missing settings file leaves the prompt as it was.
    const std::string promptFlag = readPromptFlag(files_);
    link_ = newVersionLink;
    // Plain text comparison: "3.10", "3.0" and "3.1 " all differ from "3.1".
    if (promptFlag == "0" && catalogueVersion != ProgramVersion) {
        dialogs_.runModal(DialogId::Prompt);
    }
    version_ = catalogueVersion;
}

void NewVersionPrompt::Button1Click() {
    links_.open(link_);
    // A failed write raises its error before the prompt closes, so it stays open.
    if (CheckBox1) writePromptOff(files_);
    dialogs_.close(DialogId::Prompt);
}

void NewVersionPrompt::Button2Click() {
    if (CheckBox1) writePromptOff(files_);
    dialogs_.close(DialogId::Prompt);
}

void NewVersionPrompt::press(int button) {
    if (button == 1) Button1Click();
    if (button == 2) Button2Click();
}

void NewVersionPrompt::setChecked(int box, bool ticked) {
    if (box == 1) CheckBox1 = ticked;
}

void NewVersionPrompt::closeBox() {
    dialogs_.close(DialogId::Prompt);
}

std::vector<std::string> NewVersionPrompt::texts() const {
    return {"Доступна новая версия каталога. Скачать?", "Больше не показывать данное сообщение",
            "Да", "Нет"};
}

}  // namespace zorbinta
