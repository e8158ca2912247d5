// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/catalogue/CsvExport.h"

#include <span>

#include "tools/catalogue/Csv.h"
#include "tools/catalogue/FieldText.h"

namespace zorbinta::tool {

std::array<std::string, kCsvFileCount> exportCsv(const CatalogueContents& contents) {
    std::array<std::string, kCsvFileCount> files;
    const Catalogue& c = *contents.tables;
    for (int file = 0; file < kCsvFileCount; ++file) {
        std::string& out = files[static_cast<size_t>(file)];
        const std::span<const RecordField> fields = csvFields(file);
        for (size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) out += ',';
            out += fields[i].name;
        }
        out += "\r\n";
        const int table = file + 1;
        const int rows =
            file == kVersionCsv ? static_cast<int>(contents.versions.size()) : c.rowCount(table);
        std::string text;
        for (int row = 1; row <= rows; ++row) {
            for (size_t i = 0; i < fields.size(); ++i) {
                const RecordField& f = fields[i];
                if (i > 0) out += ',';
                if (f.kind != FieldKind::Text) {
                    out += valueText(c, table, f, row, '.');
                    continue;
                }
                const std::string& stored =
                    file == kVersionCsv
                        ? (f.slot == 1 ? contents.versions[static_cast<size_t>(row) - 1].version
                                       : contents.versions[static_cast<size_t>(row) - 1].link)
                        : c.text(table, f.slot, row);
                text.clear();
                appendWithBreaks(text, stored, "\n");
                appendCsvField(out, text, CsvQuoting::Always);
            }
            out += "\r\n";
        }
    }
    return files;
}

}  // namespace zorbinta::tool
