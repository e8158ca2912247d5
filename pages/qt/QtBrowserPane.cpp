// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/qt/QtBrowserPane.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QMenu>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <memory>

#include "pages/qt/CataloguePage.h"
#include "platform/qt/QtText.h"

namespace zorbinta::qt {
namespace {

// How long one processEvents() may sleep waiting for the engine.
constexpr int kWaitSliceMs = 20;
// How often a load under way asks the document whether it has finished. The
// answer is the document's own state, so a slow machine only makes it later.
constexpr int kSettleCheckMs = 40;
// How often a load the engine dropped is started again.
constexpr int kLoadRetries = 3;
// Saving waits for the engine to hand over a document it loaded, or for its
// renderer to end; this only keeps an engine that never answers from holding
// the save for ever.
constexpr int kSourceSafetyMs = 60000;
// The script that scrolls a document returned to where it was left.
constexpr char kScrollScript[] = "zorbinta-scroll";

QString cleanDir(const std::string& dir) {
    QString clean = QDir::cleanPath(qs(dir));
    if (!clean.endsWith('/')) clean += '/';
    return clean;
}

// The page area's widget: its context menu offers copying only, never the
// engine's own navigation.
class PaneView final : public QWebEngineView {
public:
    using QWebEngineView::QWebEngineView;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override {
        QMenu* menu = createStandardContextMenu();
        const QList<QAction*> keep{pageAction(QWebEnginePage::Copy),
                                   pageAction(QWebEnginePage::Cut),
                                   pageAction(QWebEnginePage::Paste),
                                   pageAction(QWebEnginePage::SelectAll),
                                   pageAction(QWebEnginePage::CopyLinkToClipboard),
                                   pageAction(QWebEnginePage::CopyImageToClipboard)};
        bool lastWasSeparator = true;
        for (QAction* action : menu->actions()) {
            const bool kept = action->isSeparator() ? !lastWasSeparator : keep.contains(action);
            if (!kept) {
                menu->removeAction(action);
                continue;
            }
            lastWasSeparator = action->isSeparator();
        }
        if (!menu->actions().isEmpty() && menu->actions().constLast()->isSeparator()) {
            menu->removeAction(menu->actions().constLast());
        }
        if (menu->actions().isEmpty()) {
            delete menu;
            return;
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(event->globalPos());
    }
};

}  // namespace

QtBrowserPane::QtBrowserPane(const std::string& programDir, QObject* parent) : QObject(parent) {
    const QString dir = cleanDir(programDir);
    // Off the record: the pane keeps nothing between runs.
    profile_ = new QWebEngineProfile(this);
    profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    schemes_ = new PaneSchemeHandler(dir, this);
    profile_->installUrlSchemeHandler(kPaneScheme, schemes_);
    profile_->installUrlSchemeHandler(kMailScheme, schemes_);
    filter_ = new LocalResourceFilter(dir, this);
    profile_->setUrlRequestInterceptor(filter_);

    page_ = new CataloguePage(profile_, this);
    QWebEngineSettings* s = page_->settings();
    s->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    s->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::HyperlinkAuditingEnabled, false);
    s->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    s->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    s->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);

    view_ = new PaneView;
    view_->setObjectName("WebBrowser1");
    view_->setPage(page_);
    view_->setFocusPolicy(Qt::StrongFocus);

    wake_.setSingleShot(true);
    settle_.setInterval(kSettleCheckMs);
    connect(&settle_, &QTimer::timeout, this, &QtBrowserPane::checkLoaded);
    connect(page_, &QWebEnginePage::loadingChanged, this,
            [this](const QWebEngineLoadingInfo& info) {
                onLoadEvent(info.status() != QWebEngineLoadingInfo::LoadStartedStatus);
            });
    connect(page_, &CataloguePage::navigationRequested, this, &QtBrowserPane::onUserNavigation);
    connect(page_, &CataloguePage::windowRequested, this, &QtBrowserPane::onWindowRequest);
    connect(page_, &QWebEnginePage::renderProcessTerminated, this, [this] {
        // A crashed renderer finishes nothing; waits must not hang on it.
        if (engineLoading_) finishLoad();
    });
}

QtBrowserPane::~QtBrowserPane() {
    // The engine wants its views and pages gone before their profile.
    delete view_.data();
    delete page_;
    delete profile_;
}

void QtBrowserPane::navigate(const std::string& url) {
    begin(url, std::nullopt);
}

void QtBrowserPane::navigateInHistory(const std::string& url, HistoryStep step) {
    begin(url, step);
}

void QtBrowserPane::begin(const std::string& url, std::optional<HistoryStep> step) {
    // A new navigation replaces one that has not completed yet.
    const quint64 sequence = ++navigation_;
    pendingLocation_ = url;
    pendingStep_ = step;
    navigating_ = true;
    QTimer::singleShot(0, this, [this, sequence] { complete(sequence); });
}

void QtBrowserPane::complete(quint64 sequence) {
    if (sequence != navigation_) return;
    navigating_ = false;
    // The page being left is kept as it is viewed now; the pages the
    // router writes for this location open as it was left, on a return.
    if (hasDocument_) {
        const QPointF at = page_->scrollPosition();
        restore_ = views_.move(location_, {at.x(), at.y()}, pendingLocation_, pendingStep_);
    }
    location_ = pendingLocation_;
    hasDocument_ = true;
    const quint64 writesBefore = writes_;
    const QString handled = QString::fromStdString(location_);
    fireNavigateComplete();
    restore_.reset();
    // The location's own target stays when the router wrote nothing, unless
    // another navigation has begun meanwhile.
    if (sequence == navigation_ && !navigating_ && writes_ == writesBefore) showTarget();
    emit navigationCompleted(handled);
}

void QtBrowserPane::showTarget() {
    writtenPage_.clear();
    showingWritten_ = false;
    const QUrl target(QString::fromStdString(location_));
    if (!target.isValid() || target.isEmpty()) {
        writeDocument(std::string());
        return;
    }
    load(target, true);
}

void QtBrowserPane::writeDocument(const std::string& page) {
    ++writes_;
    writtenPage_ = page;
    showingWritten_ = true;
    const QUrl location(QString::fromStdString(location_));
    schemes_->setDocument(++documentId_, framedDocument(page, location));
    scrollOnLoad(documentId_);
    load(documentUrl(documentId_), false);
}

void QtBrowserPane::scrollOnLoad(quint64 documentId) {
    QWebEngineScriptCollection& scripts = page_->scripts();
    for (const QWebEngineScript& old : scripts.find(kScrollScript)) scripts.remove(old);
    if (!restore_ || (restore_->x == 0 && restore_->y == 0)) return;
    // From the moment the document is parsed until it has loaded, each
    // layout (the style sheet arriving makes the page longer) is followed
    // by the scroll before the engine paints, so the page never shows its
    // top first. The program's own world runs it: catalogue texts still
    // run no scripts.
    QWebEngineScript script;
    script.setName(kScrollScript);
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setRunsOnSubFrames(false);
    script.setSourceCode(QString(R"((function() {
    if (document.URL !== '%1') return;
    const go = () => window.scrollTo(%2, %3);
    const sized = new ResizeObserver(go);
    sized.observe(document.documentElement);
    const done = () => { go(); sized.disconnect(); };
    if (document.readyState === 'complete') done();
    else window.addEventListener('load', done, {once: true});
})())")
                             .arg(documentUrl(documentId).toString())
                             .arg(restore_->x)
                             .arg(restore_->y));
    scripts.insert(script);
}

void QtBrowserPane::writeDocumentAt(const std::string& location, const std::string& page) {
    // A navigation that has not completed yet still replaces this page.
    location_ = location;
    hasDocument_ = true;
    writeDocument(page);
}

void QtBrowserPane::load(const QUrl& url, bool followRedirects) {
    ++loadId_;
    loadingUrl_ = url;
    loadingTarget_ = followRedirects;
    engineLoading_ = true;
    retries_ = 0;
    page_->expectLoad(url, followRedirects);
    startLoad();
    settle_.start();
}

void QtBrowserPane::startLoad() {
    loadEnded_ = false;
    page_->load(loadingUrl_);
}

void QtBrowserPane::onLoadEvent(bool ended) {
    if (!engineLoading_) return;
    if (ended) loadEnded_ = true;
    checkLoaded();
}

void QtBrowserPane::checkLoaded() {
    // The engine's own load reports may name the wrong address when a load
    // replaces a rejected navigation, so the document itself is asked which
    // it is and whether it has finished.
    if (!engineLoading_) return;
    const quint64 id = loadId_;
    page_->runJavaScript(
        "document.URL + '\\n' + document.readyState", QWebEngineScript::ApplicationWorld,
        [this, id, guard = QPointer<QtBrowserPane>(this)](const QVariant& reply) {
            if (!guard || id != loadId_ || !engineLoading_) return;
            const QStringList parts = reply.toString().split('\n');
            if (parts.size() != 2 || parts[1] != "complete") return;
            const QUrl shown(parts[0]);
            // A loaded target may have been redirected or have failed into
            // the engine's error page; it is done once the engine says so.
            const bool ours =
                loadingTarget_ ? loadEnded_ && shown.scheme() != kPaneScheme : shown == loadingUrl_;
            if (ours) {
                finishLoad();
            } else if (!loadingTarget_ && loadEnded_ && !page_->isLoading() &&
                       retries_ < kLoadRetries) {
                // A navigation the engine began itself and the page refused
                // (its own history, say) can cancel the load under way: a
                // load has ended, the engine has none under way (its loading
                // state is current, unlike its load reports) and the old
                // document is on show. Only starting ours again brings it.
                ++retries_;
                startLoad();
            }
        });
}

void QtBrowserPane::finishLoad() {
    engineLoading_ = false;
    settle_.stop();
    emit documentShown();
}

void QtBrowserPane::onUserNavigation(const QUrl& url) {
    if (url.scheme() == kMailScheme) {
        emit externalLinkRequested(url.toString());
        return;
    }
    navigate(url.toString().toStdString());
}

void QtBrowserPane::onWindowRequest(const QUrl& url) {
    // Links meant for a window of their own (the statistics and order links)
    // open in the user's browser; a local page asked for that way stays here.
    if (url.isLocalFile()) {
        navigate(url.toString().toStdString());
        return;
    }
    emit externalLinkRequested(url.toString());
}

void QtBrowserPane::focusDocument() {
    if (view_) view_->setFocus(Qt::OtherFocusReason);
}

bool QtBrowserPane::documentSource(std::string& source) const {
    if (!hasDocument_) return false;
    if (showingWritten_) {
        source = writtenPage_;
        return true;
    }
    // A target the engine loaded itself: ask it for the document.
    struct Reply {
        QString html;
        bool done = false;
    };
    auto reply = std::make_shared<Reply>();
    QEventLoop loop;
    page_->toHtml([reply, guard = QPointer<QEventLoop>(&loop)](const QString& html) {
        reply->html = html;
        reply->done = true;
        if (guard) guard->quit();
    });
    if (!reply->done) {
        connect(page_, &QWebEnginePage::renderProcessTerminated, &loop, &QEventLoop::quit);
        QTimer::singleShot(kSourceSafetyMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (!reply->done) return false;
    source = reply->html.toStdString();
    return true;
}

void QtBrowserPane::processEvents() {
    // Sleeps until the engine reports something, but never past one slice,
    // so that waits neither spin nor stall.
    wake_.start(kWaitSliceMs);
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtBrowserPane::setZoomPercent(int percent) {
    // The view keeps the factor for every page it shows after this one.
    if (view_) view_->setZoomFactor(percent / 100.0);
}

}  // namespace zorbinta::qt
