// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// zorbinta-catalogue verify: the program's own check of a signed catalogue.

#include <string>

namespace zorbinta::tool {

// KEY: a minisign public key's base64 line, or a .pub file. Prints the
// outcome; returns 0 valid, 1 invalid or missing signature, 2 cannot read.
int runVerify(const std::string& key, const std::string& file, const std::string& signature);

}  // namespace zorbinta::tool
