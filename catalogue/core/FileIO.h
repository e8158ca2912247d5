#pragma once
// Whole-file reads and writes with the runtime's error texts, which the user
// sees in the error box.

#include <string>
#include <string_view>
#include <vector>

namespace zorbinta {

// Throws Error: "File not found" when the file is missing, "Invalid filename"
// when its folder does not exist, "File access denied" without access,
// otherwise "I/O error %d" with the system's error code.
std::string readFileBytes(const std::string& path);

// Creates or truncates path and writes bytes. Throws the same texts.
void writeFileBytes(const std::string& path, std::string_view bytes);

// Text lines as the runtime reads them: a line ends at LF or CR LF, a CR not
// followed by LF is dropped, the byte 0x1A ends the text, and a last line
// without a terminator counts too. The lines own their bytes, so the result
// may outlive the buffer it was split from.
std::vector<std::string> splitLines(std::string_view bytes);

}  // namespace zorbinta
