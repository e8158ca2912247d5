#include "catalogue/core/History.h"

#include <algorithm>

namespace zorbinta {

void History::clear() {
    BackCount = 0;
    ForwardCount = 0;
    BackPending = false;
    ForwardPending = false;
}

void History::pushBounded(std::array<std::string, kHistorySize + 1>& list, int& count,
                          const std::string& location) {
    if (count >= kHistorySize) {
        // A full list forgets its oldest entry so that recording goes on.
        std::move(list.begin() + 2, list.begin() + kHistorySize + 1, list.begin() + 1);
        count = kHistorySize - 1;
    }
    ++count;
    list[count] = location;
}

bool History::record(const std::string& location) {
    if (BackPending || ForwardPending) {
        BackPending = false;
        ForwardPending = false;
        return false;
    }
    pushBounded(BackList, BackCount, location);
    ForwardCount = 0;
    return true;
}

std::string History::back() {
    BackPending = true;
    --BackCount;
    const std::string target = BackList[BackCount];
    pushBounded(ForwardList, ForwardCount, BackList[BackCount + 1]);
    return target;
}

std::string History::forward() {
    ForwardPending = true;
    const std::string target = ForwardList[ForwardCount];
    --ForwardCount;
    pushBounded(BackList, BackCount, target);
    return target;
}

}  // namespace zorbinta
