#pragma once
// The settings file templ/config.txt and the new-version prompt (TForm5).

#include <string>
#include <vector>

#include "shell/core/Platform.h"

namespace zorbinta {

inline constexpr const char* ProgramVersion = "3.1";

// PromptFlag: the first line of templ/config.txt. Throws "File not found".
std::string readPromptFlag(const std::string& programDir);
// Replaces the file with one holding the single character "1", written
// beside it and renamed over it; a file that may not be written fails as
// before, with the runtime's text.
void writePromptOff(const std::string& programDir);

// Called by the loader for every update record.
class NewVersionOffer {
public:
    virtual ~NewVersionOffer() = default;
    virtual void OfferNewVersion(const std::string& catalogueVersion,
                                 const std::string& newVersionLink) = 0;
};

class NewVersionPrompt : public NewVersionOffer {
public:
    NewVersionPrompt(DialogRunner& dialogs, LinkOpener& links, std::string programDir)
        : dialogs_(dialogs), links_(links), programDir_(std::move(programDir)) {}

    void OfferNewVersion(const std::string& catalogueVersion,
                         const std::string& newVersionLink) override;
    void Button1Click();  // "Да"
    void Button2Click();  // "Нет"
    void closeBox();
    std::vector<std::string> texts() const;

    bool CheckBox1 = false;  // "Больше не показывать данное сообщение"
    const std::string& link() const { return link_; }
    // The version of the last record offered, kept once its prompt is done
    // with: after the run's first load, the version of the catalogue it read
    // (the start page shows it).
    const std::string& version() const { return version_; }

private:
    DialogRunner& dialogs_;
    LinkOpener& links_;
    std::string programDir_;
    std::string link_;
    std::string version_;
};

}  // namespace zorbinta
