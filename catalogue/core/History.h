#pragma once
// Back and Forward over visited locations. Entry BackCount of BackList is the
// page on show; entry ForwardCount of ForwardList is the one Forward shows
// next. Past 100 entries the oldest is dropped.

#include <array>
#include <string>

#include "catalogue/core/Catalogue.h"

namespace zorbinta {

class History {
public:
    std::array<std::string, kHistorySize + 1> BackList;     // 1..100
    std::array<std::string, kHistorySize + 1> ForwardList;  // 1..100
    int BackCount = 0;
    int ForwardCount = 0;
    bool BackPending = false;
    bool ForwardPending = false;

    void clear();
    // The router's recording of a completed navigation. Returns true when it
    // recorded (no pending flag was set).
    bool record(const std::string& location);
    // The location Back navigates to; call only while canGoBack().
    std::string back();
    std::string forward();

    bool canGoBack() const { return BackCount >= 2; }
    bool canGoForward() const { return ForwardCount >= 1; }

private:
    static void pushBounded(std::array<std::string, kHistorySize + 1>& list, int& count,
                            const std::string& location);
};

}  // namespace zorbinta
