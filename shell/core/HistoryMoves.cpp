// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/HistoryMoves.h"

namespace zorbinta {

std::string historyBack(History& history) {
    history.BackPending = true;
    --history.BackCount;
    const std::string target = history.BackList[history.BackCount];
    pushHistoryEntry(history.ForwardList, history.ForwardCount,
                     history.BackList[history.BackCount + 1]);
    return target;
}

std::string historyForward(History& history) {
    history.ForwardPending = true;
    const std::string target = history.ForwardList[history.ForwardCount];
    --history.ForwardCount;
    pushHistoryEntry(history.BackList, history.BackCount, target);
    return target;
}

}  // namespace zorbinta
