// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pane's own URL schemes and the filter on what its pages may load. The
// written documents and the program's files are served under
// zorbinta://doc/ and zorbinta://app/; mail links are a scheme of their own
// so that the page sees them as navigations. Nothing else is loaded from
// outside the program's folder.

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlSchemeHandler>
#include <string>

namespace zorbinta::qt {

inline constexpr char kPaneScheme[] = "zorbinta";
inline constexpr char kMailScheme[] = "mailto";

// The schemes the pane serves itself; must run before QApplication exists.
void registerPaneSchemes();

// Where the written document with this number is served.
QUrl documentUrl(quint64 id);

// The document the engine is given for a written page: the text with a
// <base> naming the location (after a leading doctype), as UTF-8 with a
// byte-order mark so that no charset declaration in the text can override it.
QByteArray framedDocument(const std::string& page, const QUrl& location);

// Serves the written documents and the program's own files (images, style
// sheet) to pages whose location is not a file address.
class PaneSchemeHandler final : public QWebEngineUrlSchemeHandler {
public:
    PaneSchemeHandler(QString programDir, QObject* parent)
        : QWebEngineUrlSchemeHandler(parent), programDir_(std::move(programDir)) {}

    // The written document on show now; the others are gone.
    void setDocument(quint64 id, QByteArray bytes) {
        documentId_ = id;
        document_ = std::move(bytes);
    }

    void requestStarted(QWebEngineUrlRequestJob* job) override;

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

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    QString programDir_;
};

}  // namespace zorbinta::qt
