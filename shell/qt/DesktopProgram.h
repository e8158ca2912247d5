// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop program put together: the five windows in their order (main
// window, About box, download dialog, search dialog, new-version prompt),
// the page pane and the platform services around one Application.

#include <memory>
#include <string>

#include "shell/core/Application.h"

class QDialog;

namespace zorbinta::qt {

class PagePrinting;
class QtBrowserPane;
class QtLinkOpener;
class QtMessageBox;
class QtModalDialogs;
class QtSaveDialog;
class QtWorkArea;
class TForm1;
class TForm2;
class TForm4;
class TForm5;

class DesktopProgram {
public:
    explicit DesktopProgram(const ProgramFiles& files,
                            const std::string& serverUrl = kDefaultServerUrl);
    ~DesktopProgram();
    DesktopProgram(const DesktopProgram&) = delete;
    DesktopProgram& operator=(const DesktopProgram&) = delete;

    // Shows the main window; its first showing starts the program.
    void show();

    Application& app() { return *app_; }
    TForm1& mainWindow() { return *form1_; }
    QtBrowserPane& pane() { return *pane_; }
    TForm2& aboutBox() { return *form2_; }
    QDialog& updateDialog() { return *form3_; }
    TForm4& searchDialog() { return *form4_; }
    TForm5& prompt() { return *form5_; }
    PagePrinting& printing() { return *printing_; }

private:
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<QtBrowserPane> pane_;
    std::unique_ptr<QtMessageBox> messages_;
    std::unique_ptr<QtLinkOpener> links_;
    std::unique_ptr<QtWorkArea> workArea_;
    std::unique_ptr<QtSaveDialog> saveDialog_;
    std::unique_ptr<QtModalDialogs> dialogs_;
    std::unique_ptr<HttpClient> http_;
    std::unique_ptr<SignatureChecker> signatures_;
    std::unique_ptr<Application> app_;
    std::unique_ptr<PagePrinting> printing_;
    // Children of the main window, deleted before the controllers they use.
    TForm2* form2_ = nullptr;
    QDialog* form3_ = nullptr;
    TForm4* form4_ = nullptr;
    TForm5* form5_ = nullptr;
};

}  // namespace zorbinta::qt
