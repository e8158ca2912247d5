// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/qt/PaneSchemes.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

#include "platform/qt/QtText.h"

namespace zorbinta::qt {
namespace {

constexpr char kDocumentHost[] = "doc";
constexpr char kFileHost[] = "app";

bool insideDir(const QString& path, const QString& dir) {
    return QDir::cleanPath(path).startsWith(dir);
}

}  // namespace

QUrl documentUrl(quint64 id) {
    QUrl url;
    url.setScheme(kPaneScheme);
    url.setHost(kDocumentHost);
    url.setPath("/" + QString::number(id));
    return url;
}

void registerPaneSchemes() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    QWebEngineUrlScheme own(kPaneScheme);
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
    const QString text = qs(page);
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

void PaneSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    const QUrl url = job->requestUrl();
    if (url.scheme() != kPaneScheme) {
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
            QMimeDatabase().mimeTypeForFile(file->fileName(), QMimeDatabase::MatchExtension).name();
        job->reply(mime.toUtf8(), file);
    } else {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
    }
}

void LocalResourceFilter::interceptRequest(QWebEngineUrlRequestInfo& info) {
    const QUrl url = info.requestUrl();
    if (url.scheme() == kPaneScheme) return;
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
        local.setScheme(kPaneScheme);
        local.setHost(kFileHost);
        local.setPath(QDir::cleanPath(url.path()));
        info.redirect(local);
        return;
    }
    info.block(true);
}

}  // namespace zorbinta::qt
