// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list a page shows, as a table apart from its HTML: the column
// captions and every row of the list in the order the page put them, not
// only the rows of the page on show. Файл → Экспорт таблицы writes it; the
// page's builder makes it from the catalogue and its own rows, so the file
// never depends on reading the page back.

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zorbinta {

// A number stays a number, so that a spreadsheet can sum it; a text is
// written as the page writes it ("неогр." included).
struct TableCell {
    std::string text;
    double number = 0;
    bool isNumber = false;

    static TableCell of(std::string text) { return {std::move(text), 0, false}; }
    static TableCell of(double number) { return {{}, number, true}; }
    bool operator==(const TableCell&) const = default;
};

// How the page goes onto paper: a table of plans side by side is wide.
enum class Paper { Portrait, Landscape };

struct PageTable {
    // The page's word in a file name: "poisk" for the search results.
    std::string fileWord;
    Paper paper = Paper::Portrait;
    std::vector<std::string> captions;
    std::vector<std::vector<TableCell>> rows;
};

// The table of the page on show; none on pages without a list (the start
// page, messages). The router sets it with every page it shows, as the way to
// make it from the rows the page was built with; it is made when first asked
// for, or before the catalogue it is made from changes. Whatever writes a
// page without a list clears it.
class ShownList {
public:
    using Maker = std::function<PageTable()>;

    // An empty maker: the page has no list.
    void set(Maker maker) {
        const bool had = hasList();
        maker_ = std::move(maker);
        table_.reset();
        if (changed_ && had != hasList()) changed_(hasList());
    }
    void clear() { set({}); }
    bool hasList() const { return maker_ || table_; }
    // Shared, so that a copy taken before a dialog stays whole whatever is
    // shown while the dialog is open.
    std::shared_ptr<const PageTable> table() const {
        keep();
        return table_;
    }
    // Makes the table now, from the catalogue as it stands.
    void keep() const {
        if (!maker_) return;
        table_ = std::make_shared<const PageTable>(maker_());
        maker_ = {};
    }
    // Told whenever the page on show gains or loses its list.
    void onChange(std::function<void(bool hasList)> changed) { changed_ = std::move(changed); }

private:
    mutable Maker maker_;
    mutable std::shared_ptr<const PageTable> table_;
    std::function<void(bool)> changed_;
};

}  // namespace zorbinta
