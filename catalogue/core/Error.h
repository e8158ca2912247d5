// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one exception type of the core. It carries the text the user is shown;
// views catch it at every event boundary and put it in a message box.

#include <stdexcept>
#include <string>

namespace zorbinta {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace zorbinta
