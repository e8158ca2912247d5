// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page area as the core sees it: the operations of the platform's web
// browser control that page output and the router rely on.

#include <functional>
#include <string>
#include <utility>

namespace zorbinta {

// Which way a navigation moves through the program's history.
enum class HistoryStep { Back, Forward };

class BrowserPane {
public:
    virtual ~BrowserPane() = default;

    // Starts a navigation; it completes later, also when the target does not
    // exist, and then the navigate-complete handler runs.
    virtual void navigate(const std::string& url) = 0;
    // The same for Back and Forward, which return to a page left before: a
    // pane that keeps how a page was viewed (its scroll position) shows it
    // as it was left. The location and the page are those of navigate().
    virtual void navigateInHistory(const std::string& url, HistoryStep /*step*/) { navigate(url); }
    virtual bool hasDocument() const = 0;
    // ReadyState 4.
    virtual bool isComplete() const = 0;
    // document.write(page) and close(): replaces what the document shows while
    // the location stays the navigated text. Writing is not a navigation.
    virtual void writeDocument(const std::string& page) = 0;
    // The same into a document whose location becomes location, without a
    // navigation: nothing completes and the navigate-complete handler does
    // not run. The start page is shown this way.
    virtual void writeDocumentAt(const std::string& location, const std::string& page) = 0;
    // LocationURL: the current location, UTF-8.
    virtual std::string locationUrl() const = 0;
    virtual void focusDocument() = 0;
    // The document's current HTML source (UTF-8); false when there is none.
    virtual bool documentSource(std::string& source) const = 0;
    // Handles pending window messages once.
    virtual void processEvents() = 0;
    // Shows every page at percent of its own size from now on; a pane with
    // nothing to zoom ignores it.
    virtual void setZoomPercent(int /*percent*/) {}

    void setNavigateCompleteHandler(std::function<void()> handler) {
        navigateComplete_ = std::move(handler);
    }

protected:
    void fireNavigateComplete() {
        if (navigateComplete_) navigateComplete_();
    }

private:
    std::function<void()> navigateComplete_;
};

}  // namespace zorbinta
