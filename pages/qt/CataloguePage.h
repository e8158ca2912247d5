// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The engine's page as the pane uses it: it lets through only the loads the
// pane starts itself and turns every other navigation into a signal, so the
// program's own router and history decide what is shown.

#include <QUrl>
#include <QWebEnginePage>

namespace zorbinta::qt {

class CataloguePage final : public QWebEnginePage {
    Q_OBJECT
public:
    explicit CataloguePage(QWebEngineProfile* profile, QObject* parent = nullptr);

    // The next main-frame load of exactly this address is the pane's own.
    void expectLoad(const QUrl& url, bool followRedirects);

signals:
    // A link was clicked or a form submitted in the main frame.
    void navigationRequested(const QUrl& url);
    // A link asked for a window of its own (target "new").
    void windowRequested(const QUrl& url);
    // A main-frame navigation was refused: the page stays as it is.
    void navigationRefused(const QUrl& url, QWebEnginePage::NavigationType type);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override {}

private:
    QUrl expected_;
    bool followRedirects_ = false;
};

}  // namespace zorbinta::qt
