// SPDX-License-Identifier: GPL-3.0-or-later
#include "pages/qt/CataloguePage.h"

#include <QWebEngineNewWindowRequest>

namespace zorbinta::qt {
namespace {

bool sameAddress(const QUrl& a, const QUrl& b) {
    constexpr auto kNormal = QUrl::StripTrailingSlash | QUrl::NormalizePathSegments;
    return a.adjusted(kNormal) == b.adjusted(kNormal);
}

}  // namespace

CataloguePage::CataloguePage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
    connect(this, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) {
                emit windowRequested(request.requestedUrl());
            });
}

void CataloguePage::expectLoad(const QUrl& url, bool followRedirects) {
    expected_ = url;
    followRedirects_ = followRedirects;
}

bool CataloguePage::acceptNavigationRequest(const QUrl& url, NavigationType type,
                                            bool isMainFrame) {
    // Frames inside a page never load anything: catalogue pages have none.
    if (!isMainFrame) return false;
    if (type == NavigationTypeTyped && !expected_.isEmpty() && sameAddress(url, expected_)) {
        return true;
    }
    if (type == NavigationTypeRedirect && followRedirects_) return true;
    // Only what the user does reaches the router. The engine's own history
    // and reload, and refreshes or scripts a catalogue text might carry,
    // never move the page.
    if (type == NavigationTypeLinkClicked || type == NavigationTypeFormSubmitted) {
        emit navigationRequested(url);
    }
    emit navigationRefused(url, type);
    return false;
}

}  // namespace zorbinta::qt
