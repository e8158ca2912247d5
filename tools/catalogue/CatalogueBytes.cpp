// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/catalogue/CatalogueBytes.h"

#include <span>

#include "catalogue/core/CatalogueFields.h"
#include "catalogue/core/Win1251.h"
#include "tools/catalogue/FieldText.h"

namespace zorbinta::tool {

std::string catalogueBytes(const CatalogueContents& contents) {
    std::string out;
    for (const VersionRecord& v : contents.versions) {
        out += "update|";
        appendWithBreaks(out, v.version, "\r\n");
        out += '|';
        appendWithBreaks(out, v.link, "\r\n");
        out += '|';
    }
    const Catalogue& c = *contents.tables;
    for (int table = ProviderTable; table <= DomainTable; ++table) {
        const std::span<const RecordField> fields = recordFields(table);
        for (int row = 1; row <= c.rowCount(table); ++row) {
            out += recordTag(table);
            out += '|';
            for (const RecordField& f : fields) {
                if (f.kind == FieldKind::Text) {
                    appendWithBreaks(out, c.text(table, f.slot, row), "\r\n");
                } else {
                    out += valueText(c, table, f, row, ',');
                }
                out += '|';
            }
        }
    }
    return toCp1251(out);
}

}  // namespace zorbinta::tool
