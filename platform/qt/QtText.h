// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's texts are UTF-8 in standard strings; Qt's are QString. Every
// Qt view converts the same way, so this sits below all of them.

#include <string_view>

#include <QString>

namespace zorbinta::qt {

inline QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace zorbinta::qt
