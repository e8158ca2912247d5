// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files a page is taken out in (its table as CSV, the page as PDF): the
// types the save dialog offers, the name it proposes, and the write itself.

#include <string>
#include <string_view>
#include <vector>

#include "catalogue/core/Catalogue.h"
#include "pages/core/CsvText.h"
#include "platform/core/Services.h"

namespace zorbinta {

// Экспорт таблицы's filter list, the default first: "excel", then "rfc".
const std::vector<FileType>& csvFileTypes();
CsvDialect csvDialectOf(size_t type);
const FileType& pdfFileType();

// word + "-" + the catalogue's date + "." + extension ("poisk-2004-12-22.csv");
// without a dated provider, word + "." + extension.
std::string proposedFileName(const std::string& word, const Catalogue& catalogue,
                             const std::string& extension);

// name + "." + extension when the file name has no extension of its own.
std::string withExtension(std::string name, const std::string& extension);

// Writes bytes as the program writes all its files: a temporary file beside
// path renamed into place, so a failure leaves no half file, no temporary
// file and an older file of that name whole, and creates no folder. Throws
// Error saying in Russian what was not saved (what: "Таблица") and why.
void writePageFile(const std::string& path, std::string_view bytes, const std::string& what);

// The reason in a failed write's runtime text ("File access denied"), in Russian.
std::string failureReason(const std::string& runtimeText);

}  // namespace zorbinta
