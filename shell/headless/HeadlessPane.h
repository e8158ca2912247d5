// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A browser pane that lives in memory: navigations queue up and complete
// when events are processed, relative links resolve as a browser resolves
// them, and every page written into the document is printed.

#include <deque>
#include <ostream>
#include <string>

#include "pages/core/BrowserPane.h"

namespace zorbinta::headless {

// Resolves reference against base as a browser resolves a link.
std::string resolveUrl(const std::string& base, const std::string& reference);
// Percent-encodes a form value as a browser submits it (application/x-www-form-urlencoded).
std::string formEncode(const std::string& value);

class HeadlessPane final : public BrowserPane {
public:
    explicit HeadlessPane(std::ostream& out) : out_(out) {}

    void navigate(const std::string& url) override;
    bool hasDocument() const override { return hasDocument_; }
    bool isComplete() const override { return pending_.empty(); }
    void writeDocument(const std::string& page) override;
    void writeDocumentAt(const std::string& location, const std::string& page) override;
    std::string locationUrl() const override { return location_; }
    void focusDocument() override {}
    bool documentSource(std::string& source) const override;
    void processEvents() override;

    // Completes every queued navigation.
    void processAll();
    const std::string& page() const { return page_; }

private:
    std::ostream& out_;
    std::deque<std::string> pending_;
    std::string location_;
    std::string page_;
    bool hasDocument_ = false;
};

}  // namespace zorbinta::headless
