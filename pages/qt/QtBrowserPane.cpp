#include "pages/qt/QtBrowserPane.h"

#include <QBuffer>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMenu>
#include <QMimeDatabase>
#include <QWebEngineLoadingInfo>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>
#include <memory>

#include "pages/qt/CataloguePage.h"

namespace zorbinta::qt {
namespace {

constexpr char kScheme[] = "zorbinta";
constexpr char kDocumentHost[] = "doc";
constexpr char kFileHost[] = "app";
constexpr char kMailScheme[] = "mailto";
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

QUrl documentUrl(quint64 id) {
    QUrl url;
    url.setScheme(kScheme);
    url.setHost(kDocumentHost);
    url.setPath("/" + QString::number(id));
    return url;
}

QString cleanDir(const std::string& dir) {
    QString clean = QDir::cleanPath(QString::fromStdString(dir));
    if (!clean.endsWith('/')) clean += '/';
    return clean;
}

bool insideDir(const QString& path, const QString& dir) {
    return QDir::cleanPath(path).startsWith(dir);
}

}  // namespace

// Serves the written documents and the program's own files (images, style
// sheet) to pages whose location is not a file address.
class PaneSchemeHandler final : public QWebEngineUrlSchemeHandler {
public:
    PaneSchemeHandler(QString programDir, QObject* parent)
        : QWebEngineUrlSchemeHandler(parent), programDir_(std::move(programDir)) {}

    void setDocument(quint64 id, QByteArray bytes) {
        documentId_ = id;
        document_ = std::move(bytes);
    }

    void requestStarted(QWebEngineUrlRequestJob* job) override {
        const QUrl url = job->requestUrl();
        if (url.scheme() != kScheme) {
            job->fail(QWebEngineUrlRequestJob::UrlInvalid);
        } else if (url.host() == kDocumentHost) {
            if (url.path() != documentUrl(documentId_).path()) {
                job->fail(QWebEngineUrlRequestJob::UrlNotFound);
                return;
            }
            auto* buffer = new QBuffer(job);
            buffer->setData(document_);
            buffer->open(QIODevice::ReadOnly);
            job->reply("text/html", buffer);
        } else if (url.host() == kFileHost && insideDir(url.path(), programDir_)) {
            auto* file = new QFile(QDir::cleanPath(url.path()), job);
            if (!file->open(QIODevice::ReadOnly)) {
                job->fail(QWebEngineUrlRequestJob::UrlNotFound);
                return;
            }
            const QString mime =
                QMimeDatabase()
                    .mimeTypeForFile(file->fileName(), QMimeDatabase::MatchExtension)
                    .name();
            job->reply(mime.toUtf8(), file);
        } else {
            job->fail(QWebEngineUrlRequestJob::RequestDenied);
        }
    }

private:
    QString programDir_;
    quint64 documentId_ = 0;
    QByteArray document_;
};

// Subresources come only from the program's folder. A page whose location is
// a pseudo-host (http://srav, http://dom) names the program's images with
// paths that resolve on that host; those are served from the folder instead.
class LocalResourceFilter final : public QWebEngineUrlRequestInterceptor {
public:
    LocalResourceFilter(QString programDir, QObject* parent)
        : QWebEngineUrlRequestInterceptor(parent), programDir_(std::move(programDir)) {}

    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        const QUrl url = info.requestUrl();
        if (url.scheme() == kScheme) return;
        const auto type = info.resourceType();
        // Main-frame loads are only those the page let through.
        if (type == QWebEngineUrlRequestInfo::ResourceTypeMainFrame) return;
        if (type == QWebEngineUrlRequestInfo::ResourceTypeSubFrame) {
            info.block(true);
            return;
        }
        if (!insideDir(url.path(), programDir_)) {
            info.block(true);
            return;
        }
        if (url.scheme() == "file") return;
        if (url.scheme() == "http" || url.scheme() == "https") {
            QUrl local;
            local.setScheme(kScheme);
            local.setHost(kFileHost);
            local.setPath(QDir::cleanPath(url.path()));
            info.redirect(local);
            return;
        }
        info.block(true);
    }

private:
    QString programDir_;
};

namespace {

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

void registerPaneSchemes() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    QWebEngineUrlScheme own(kScheme);
    own.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    own.setDefaultPort(QWebEngineUrlScheme::PortUnspecified);
    // Not a local scheme: its pages may then ask http://srav for the
    // program's images, which the filter serves from the folder.
    own.setFlags(QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(own);
    // Known to the engine, mail links become navigations the page sees and
    // hands to the user's mail program.
    QWebEngineUrlScheme mail(kMailScheme);
    mail.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    QWebEngineUrlScheme::registerScheme(mail);
}

QByteArray framedDocument(const std::string& page, const QUrl& location) {
    const QString text = QString::fromUtf8(page.data(), static_cast<qsizetype>(page.size()));
    qsizetype at = 0;
    while (at < text.size() && text.at(at).isSpace()) ++at;
    if (text.mid(at, 9).compare("<!doctype", Qt::CaseInsensitive) == 0) {
        const qsizetype end = text.indexOf('>', at);
        at = end < 0 ? 0 : end + 1;
    } else {
        at = 0;
    }
    const QString base =
        "<base href=\"" + location.toString(QUrl::FullyEncoded).toHtmlEscaped() + "\">";
    QByteArray bytes("\xEF\xBB\xBF");
    bytes += QStringView(text).left(at).toUtf8();
    bytes += base.toUtf8();
    bytes += QStringView(text).mid(at).toUtf8();
    return bytes;
}

QtBrowserPane::QtBrowserPane(const std::string& programDir, QObject* parent) : QObject(parent) {
    const QString dir = cleanDir(programDir);
    // Off the record: the pane keeps nothing between runs.
    profile_ = new QWebEngineProfile(this);
    profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    schemes_ = new PaneSchemeHandler(dir, this);
    profile_->installUrlSchemeHandler(kScheme, schemes_);
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
    // A new navigation replaces one that has not completed yet.
    const quint64 sequence = ++navigation_;
    pendingLocation_ = url;
    navigating_ = true;
    QTimer::singleShot(0, this, [this, sequence] { complete(sequence); });
}

void QtBrowserPane::complete(quint64 sequence) {
    if (sequence != navigation_) return;
    navigating_ = false;
    location_ = pendingLocation_;
    hasDocument_ = true;
    const quint64 writesBefore = writes_;
    const QString handled = QString::fromStdString(location_);
    fireNavigateComplete();
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
    load(documentUrl(documentId_), false);
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
                loadingTarget_ ? loadEnded_ && shown.scheme() != kScheme : shown == loadingUrl_;
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
