// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt/DesktopProgram.h"

#include <QAction>
#include <QDialog>
#include <QWebEngineView>

#include "about/qt/TForm2.h"
#include "pages/qt/QtBrowserPane.h"
#include "search/qt/TForm4.h"
#include "shell/qt/PagePrinting.h"
#include "shell/qt/QtServices.h"
#include "shell/qt/TForm1.h"
#include "update/minisign/Minisign.h"
#include "update/qt/QtHttpClient.h"
#include "update/qt/TForm3.h"
#include "update/qt/TForm5.h"

namespace zorbinta::qt {

DesktopProgram::DesktopProgram(const ProgramFiles& files, const std::string& serverUrl) {
    form1_ = std::make_unique<TForm1>();
    pane_ = std::make_unique<QtBrowserPane>(files.programDir());
    form1_->setPageArea(pane_->view());
    messages_ = std::make_unique<QtMessageBox>(form1_.get());
    links_ = std::make_unique<QtLinkOpener>();
    workArea_ = std::make_unique<QtWorkArea>(form1_.get());
    saveDialog_ = std::make_unique<QtSaveDialog>(form1_.get());
    dialogs_ = std::make_unique<QtModalDialogs>();
    http_ = std::make_unique<QtHttpClient>();
    signatures_ = minisign::builtInChecker();
    app_ =
        std::make_unique<Application>(Platform{*pane_, *form1_, *messages_, *links_, *workArea_,
                                               *saveDialog_, *dialogs_, *http_, signatures_.get()},
                                      files, serverUrl);
    form1_->attach(app_->main, *messages_);
    printing_ =
        std::make_unique<PagePrinting>(*pane_, app_->main, *saveDialog_, *messages_, form1_.get());
    QObject::connect(form1_->command("Print1"), &QAction::triggered, printing_.get(),
                     [this] { app_->guarded([this] { printing_->print(); }); });
    QObject::connect(form1_->command("PdfSave1"), &QAction::triggered, printing_.get(),
                     [this] { app_->guarded([this] { printing_->saveAsPdf(); }); });
    QObject::connect(
        pane_.get(), &QtBrowserPane::externalLinkRequested, form1_.get(),
        [this](const QString& target) {
            app_->guarded([this, &target] { app_->pageLinks().open(target.toStdString()); });
        });

    form2_ = new TForm2(app_->about, *messages_, form1_.get());
    form3_ = new ::TForm3(app_->update, form1_.get());
    form4_ = new TForm4(app_->search, *messages_, form1_.get());
    form5_ = new TForm5(app_->prompt, *messages_, form1_.get());
    dialogs_->add(DialogId::About, form2_);
    dialogs_->add(DialogId::Update, form3_);
    dialogs_->add(DialogId::Search, form4_);
    dialogs_->add(DialogId::Prompt, form5_);
}

DesktopProgram::~DesktopProgram() {
    // The dialogs hold on to the controllers, the controllers to the pane.
    delete form5_;
    delete form4_;
    delete form3_;
    delete form2_;
    printing_.reset();
    app_.reset();
    pane_.reset();
    form1_.reset();
}

void DesktopProgram::show() {
    form1_->show();
}

}  // namespace zorbinta::qt
