// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Back and Forward buttons as the router's recording and the history
// commands set them.

namespace zorbinta {

class HistoryButtons {
public:
    virtual ~HistoryButtons() = default;
    virtual void setBackEnabled(bool enabled) = 0;
    virtual void setForwardEnabled(bool enabled) = 0;
};

}  // namespace zorbinta
