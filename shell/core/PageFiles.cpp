// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/core/PageFiles.h"

#include <exception>

#include "catalogue/core/Error.h"
#include "catalogue/core/FileIO.h"
#include "router/core/StartPage.h"

namespace zorbinta {

const std::vector<FileType>& csvFileTypes() {
    static const std::vector<FileType> types = {{"CSV для Excel (;)", "csv", "excel"},
                                                {"CSV (RFC 4180)", "csv", "rfc"}};
    return types;
}

CsvDialect csvDialectOf(size_t type) {
    return type == 1 ? CsvDialect::Rfc4180 : CsvDialect::Excel;
}

const FileType& pdfFileType() {
    static const FileType type{"PDF", "pdf", "pdf"};
    return type;
}

std::string proposedFileName(const std::string& word, const Catalogue& catalogue,
                             const std::string& extension) {
    const std::string date = newestUpdate(catalogue);
    return word + (date.empty() ? "" : "-" + date) + "." + extension;
}

std::string withExtension(std::string name, const std::string& extension) {
    const size_t slash = name.find_last_of('/');
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        name += "." + extension;
    }
    return name;
}

std::string failureReason(const std::string& runtimeText) {
    if (runtimeText == "Invalid filename" || runtimeText == "File not found") {
        return "такой папки нет или имя файла недопустимо";
    }
    if (runtimeText == "File access denied") return "нет права записи в эту папку или в этот файл";
    if (runtimeText == "Disk full") return "на диске нет места";
    const std::string io = "I/O error ";
    if (runtimeText.rfind(io, 0) == 0)
        return "ошибка ввода-вывода " + runtimeText.substr(io.size());
    return runtimeText;
}

void writePageFile(const std::string& path, std::string_view bytes, const std::string& what) {
    try {
        writeFileDurably(path, bytes);
    } catch (const std::exception& e) {
        throw Error(what + " не сохранена в файл «" + path + "»: " + failureReason(e.what()) + ".");
    }
}

}  // namespace zorbinta
