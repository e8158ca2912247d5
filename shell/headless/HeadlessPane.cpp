// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/headless/HeadlessPane.h"

#include <cctype>
#include <vector>

namespace zorbinta::headless {
namespace {

bool hasScheme(const std::string& url) {
    if (url.empty() || !std::isalpha(static_cast<unsigned char>(url[0]))) return false;
    for (const char c : url) {
        if (c == ':') return true;
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') {
            return false;
        }
    }
    return false;
}

struct Parts {
    std::string scheme;     // "http:"
    std::string authority;  // "//host" or "" (file URLs: "//")
    std::string path;
    std::string query;  // with '?'
};

Parts split(const std::string& url) {
    Parts p;
    size_t i = url.find(':');
    p.scheme = url.substr(0, i + 1);
    std::string rest = url.substr(i + 1);
    if (rest.rfind("//", 0) == 0) {
        const size_t end = rest.find_first_of("/?#", 2);
        p.authority = rest.substr(0, end);
        rest = end == std::string::npos ? std::string() : rest.substr(end);
    }
    const size_t hash = rest.find('#');
    if (hash != std::string::npos) rest.resize(hash);
    const size_t q = rest.find('?');
    p.path = rest.substr(0, q);
    if (q != std::string::npos) p.query = rest.substr(q);
    if (!p.authority.empty() && p.path.empty()) p.path = "/";
    return p;
}

std::string removeDotSegments(const std::string& path) {
    std::vector<std::string> out;
    size_t i = 0;
    const bool absolute = !path.empty() && path[0] == '/';
    std::string segment;
    std::vector<std::string> segments;
    while (i <= path.size()) {
        const size_t next = path.find('/', i);
        segments.push_back(
            path.substr(i, next == std::string::npos ? std::string::npos : next - i));
        if (next == std::string::npos) break;
        i = next + 1;
    }
    if (absolute && !segments.empty()) segments.erase(segments.begin());
    for (size_t k = 0; k < segments.size(); ++k) {
        const std::string& s = segments[k];
        const bool last = k + 1 == segments.size();
        if (s == ".") {
            if (last) out.emplace_back();
        } else if (s == "..") {
            if (!out.empty()) out.pop_back();
            if (last) out.emplace_back();
        } else {
            out.push_back(s);
        }
    }
    std::string result = absolute ? "/" : "";
    for (size_t k = 0; k < out.size(); ++k) {
        if (k) result += '/';
        result += out[k];
    }
    return result;
}

}  // namespace

std::string resolveUrl(const std::string& base, const std::string& reference) {
    if (hasScheme(reference) || base.empty() || !hasScheme(base)) return reference;
    const Parts b = split(base);
    if (reference.rfind("//", 0) == 0) return b.scheme + reference;
    std::string ref = reference;
    std::string fragmentless = ref.substr(0, ref.find('#'));
    if (fragmentless.empty()) return b.scheme + b.authority + b.path + b.query;
    if (fragmentless[0] == '?') return b.scheme + b.authority + b.path + fragmentless;
    const size_t q = fragmentless.find('?');
    std::string refPath = fragmentless.substr(0, q);
    const std::string refQuery = q == std::string::npos ? std::string() : fragmentless.substr(q);
    std::string merged;
    if (refPath[0] == '/') {
        merged = refPath;
    } else {
        const size_t slash = b.path.find_last_of('/');
        merged =
            (slash == std::string::npos ? std::string("/") : b.path.substr(0, slash + 1)) + refPath;
    }
    return b.scheme + b.authority + removeDotSegments(merged) + refQuery;
}

std::string formEncode(const std::string& value) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const char ch : value) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) || c == '*' || c == '-' || c == '.' || c == '_') {
            out.push_back(ch);
        } else if (c == ' ') {
            out.push_back('+');
        } else {
            out.push_back('%');
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        }
    }
    return out;
}

void HeadlessPane::navigate(const std::string& url) {
    pending_.push_back(url);
}

void HeadlessPane::writeDocument(const std::string& page) {
    page_ = page;
    out_ << "=== page " << location_ << '\n' << page << "\n=== end\n";
}

void HeadlessPane::writeDocumentAt(const std::string& location, const std::string& page) {
    location_ = location;
    hasDocument_ = true;
    writeDocument(page);
}

bool HeadlessPane::documentSource(std::string& source) const {
    if (!hasDocument_) return false;
    source = page_;
    return true;
}

void HeadlessPane::processEvents() {
    if (pending_.empty()) return;
    location_ = pending_.front();
    pending_.pop_front();
    // The loaded target stands in the document until a page is written over it.
    hasDocument_ = true;
    page_.clear();
    fireNavigateComplete();
}

void HeadlessPane::processAll() {
    while (!pending_.empty()) processEvents();
}

}  // namespace zorbinta::headless
