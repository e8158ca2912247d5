// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page area on QtWebEngine. Every navigation the user or the program
// starts completes here, under the program's own control: the location is
// the navigated text exactly, the router runs on completion, and the page it
// writes is shown while the location stays that text, so relative links and
// forms resolve against it. Pages of any size go in through the pane's own
// address scheme with a <base> naming the location; JavaScript is off and
// nothing is loaded from outside the program's folder.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>
#include <optional>
#include <string>

#include "pages/core/BrowserPane.h"
#include "pages/core/ViewStates.h"
#include "pages/qt/PaneSchemes.h"

class QWebEngineProfile;

namespace zorbinta::qt {

class CataloguePage;

class QtBrowserPane final : public QObject, public BrowserPane {
    Q_OBJECT
public:
    explicit QtBrowserPane(const std::string& programDir, QObject* parent = nullptr);
    ~QtBrowserPane() override;

    // The widget that shows the pages; the main window lays it out.
    QWebEngineView* view() const { return view_; }
    CataloguePage* page() const { return page_; }

    void navigate(const std::string& url) override;
    void navigateInHistory(const std::string& url, HistoryStep step) override;
    bool hasDocument() const override { return hasDocument_; }
    bool isComplete() const override { return !navigating_ && !engineLoading_; }
    void writeDocument(const std::string& page) override;
    void writeDocumentAt(const std::string& location, const std::string& page) override;
    std::string locationUrl() const override { return location_; }
    void focusDocument() override;
    bool documentSource(std::string& source) const override;
    void processEvents() override;
    void setZoomPercent(int percent) override;

    // The page text last written while it is on show; empty otherwise.
    const std::string& writtenPage() const { return writtenPage_; }

signals:
    // A web or mail address to open with the user's default program.
    void externalLinkRequested(const QString& target);
    // A navigation completed and the router has handled it.
    void navigationCompleted(const QString& location);
    // The engine has finished showing what the last completion put in.
    void documentShown();

private:
    void begin(const std::string& url, std::optional<HistoryStep> step);
    void complete(quint64 sequence);
    // The written document with this number opens scrolled as the page it
    // returns to was left, when the navigation under way returns to one.
    void scrollOnLoad(quint64 documentId);
    void showTarget();
    void load(const QUrl& url, bool followRedirects);
    void startLoad();
    void onLoadEvent(bool ended);
    void checkLoaded();
    void finishLoad();
    void onUserNavigation(const QUrl& url);
    void onWindowRequest(const QUrl& url);

    QWebEngineProfile* profile_ = nullptr;
    PaneSchemeHandler* schemes_ = nullptr;
    LocalResourceFilter* filter_ = nullptr;
    CataloguePage* page_ = nullptr;
    QPointer<QWebEngineView> view_;
    QTimer wake_;
    QTimer settle_;

    std::string location_;
    std::string pendingLocation_;
    std::optional<HistoryStep> pendingStep_;
    ViewStates views_;
    std::optional<ScrollOffset> restore_;
    std::string writtenPage_;
    bool showingWritten_ = false;
    bool hasDocument_ = false;
    bool navigating_ = false;
    bool engineLoading_ = false;
    bool loadingTarget_ = false;
    bool loadEnded_ = false;
    quint64 loadId_ = 0;
    int retries_ = 0;
    quint64 navigation_ = 0;
    quint64 writes_ = 0;
    quint64 documentId_ = 0;
    QUrl loadingUrl_;
};

}  // namespace zorbinta::qt
