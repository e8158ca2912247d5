// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/core/CatalogueLoader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "catalogue/core/CatalogueFields.h"
#include "catalogue/core/Error.h"
#include "catalogue/core/FileIO.h"
#include "catalogue/core/JoinedText.h"
#include "catalogue/core/NewVersionOffer.h"
#include "catalogue/core/Numbers.h"
#include "catalogue/core/Win1251.h"

namespace zorbinta {
namespace {

// Sections in the only order a catalogue may hold them.
enum class Section : int { None = 0, Update, Providers, Plans, FreeHosting, Domains };

struct RecordShape {
    std::string_view tag;
    Section section;
    int table;  // 0 for the update record
};

// Tags and targets of every record kind; the fields and their order are
// recordFields(table).
constexpr std::array<RecordShape, 5> kShapes = {{
    {"update", Section::Update, 0},
    {"prov", Section::Providers, ProviderTable},
    {"vs", Section::Plans, PlanTable},
    {"free", Section::FreeHosting, FreeHostTable},
    {"dom", Section::Domains, DomainTable},
}};

// The slots of each kind a record of the table fills, counted once a load
// per table.
struct SlotCounts {
    int texts = 0;
    int numbers = 0;
    int flags = 0;
};

SlotCounts slotCounts(int table) {
    SlotCounts counts;
    for (const RecordField& f : recordFields(table)) {
        switch (f.kind) {
            case FieldKind::Text:
                ++counts.texts;
                break;
            case FieldKind::Number:
                ++counts.numbers;
                break;
            case FieldKind::Flag:
                ++counts.flags;
                break;
        }
    }
    return counts;
}

const RecordShape& shapeOf(Section section) {
    return kShapes[static_cast<int>(section) - 1];
}

// Rows of one table as read from the file, slot by slot within each row.
// Texts stay in the joined text, in Windows-1251, until the commit decodes
// each one into its place in the tables: a catalogue is then held decoded
// only once, and a reload of texts that fit reuses their room.
struct TableStage {
    int rows = 0;
    std::vector<std::string_view> texts;
    std::vector<double> numbers;
    std::vector<unsigned char> flags;
};

struct Offer {
    std::string version;
    std::string link;
};

// What a load takes from the file, ready to be committed.
struct Staging {
    std::array<TableStage, 4> tables;
    std::vector<Offer> offers;

    TableStage& table(Section section) { return tables[static_cast<int>(section) - 2]; }
};

// The conversion's own error text for a field that does not convert, with
// the field's text as the user reads it.
std::string conversionError(FieldKind kind, std::string_view field) {
    const std::string text = fromCp1251(field);
    try {
        if (kind == FieldKind::Number) parseFloat(text);
        if (kind == FieldKind::Flag) parseFlag(text);
    } catch (const Error& e) {
        return e.what();
    }
    return {};
}

std::string quoted(std::string_view tag) {
    return "«" + std::string(tag) + "»";
}

constexpr std::string_view kFileError = "Ошибка в файле каталога: ";

[[noreturn]] void failTooLarge(std::uintmax_t size) {
    throw Error("Файл каталога слишком велик: размер в байтах — " + std::to_string(size) +
                ", допустимо не больше " + std::to_string(kMaxCatalogueBytes));
}

// A load stops at the first problem and raises it; a check collects them.
enum class Mode { Load, Check };

// Parses the whole joined text: into staging for a load (the catalogue is not
// touched), into a list of problems for a check.
class Parser {
public:
    Parser(const JoinedText& joined, Mode mode)
        : joined_(joined), text_(joined.text()), mode_(mode) {}

    void run() {
        Section current = Section::None;
        for (;;) {
            skipLineBreaks();
            if (pos_ >= text_.size()) return;
            const RecordShape* shape = recordAt(pos_);
            if (shape == nullptr) {
                problem(
                    pos_, nullptr, {},
                    std::string(kFileError) + "посторонний текст на смещении " + offsetText(pos_));
                return;
            }
            const size_t start = pos_;
            int& records = recordCount(shape->section);
            ++records;
            if (shape->section < current) {
                problem(start, shape, {},
                        std::string(kFileError) + "запись " + quoted(shape->tag) + " на смещении " +
                            offsetText(start) + " стоит после записей " +
                            quoted(shapeOf(current).tag));
            }
            current = shape->section;
            if (records == kMaxRows + 1) {
                problem(start, shape, {},
                        std::string(kFileError) + "запись " + quoted(shape->tag) + " на смещении " +
                            offsetText(start) + " — больше " + std::to_string(kMaxRows) +
                            " записей " + quoted(shape->tag));
            }
            // The tag and the one separator after it, whatever it is.
            pos_ = std::min(text_.size(), pos_ + shape->tag.size() + 1);
            if (!readRecord(*shape)) return;
        }
    }

    Staging& staging() { return staging_; }
    int records(Section section) const { return counts_[static_cast<int>(section)]; }
    std::vector<CatalogueProblem>& problems() { return problems_; }

private:
    void skipLineBreaks() {
        while (text_.compare(pos_, kLineJoin.size(), kLineJoin) == 0) pos_ += kLineJoin.size();
    }

    const RecordShape* recordAt(size_t at) const {
        for (const RecordShape& shape : kShapes) {
            if (text_.compare(at, shape.tag.size(), shape.tag) == 0) return &shape;
        }
        return nullptr;
    }

    std::string offsetText(size_t joined) const {
        return std::to_string(joined_.fileOffset(joined));
    }

    int& recordCount(Section section) { return counts_[static_cast<int>(section)]; }

    // A load raises the problem; a check notes it and goes on.
    void problem(size_t at, const RecordShape* shape, std::string_view field, std::string message) {
        if (mode_ == Mode::Load) throw Error(message);
        CatalogueProblem p;
        p.offset = joined_.fileOffset(at);
        if (shape != nullptr) {
            p.record = records(shape->section);
            p.tag = shape->tag;
        }
        p.field = field;
        p.message = std::move(message);
        problems_.push_back(std::move(p));
    }

    // The text up to the next "|", which is consumed with it; without a "|"
    // the field is empty and nothing is consumed.
    bool field(std::string_view& value) {
        const size_t bar = text_.find('|', pos_);
        if (bar == std::string_view::npos) {
            value = {};
            return false;
        }
        value = text_.substr(pos_, bar - pos_);
        pos_ = bar + 1;
        return true;
    }
    void field(std::string& value) {
        std::string_view view;
        field(view);
        value = fromCp1251(view);
    }

    // Reads one record's fields; false when the rest of the text cannot be
    // read (a check only: a load has raised the problem by then).
    bool readRecord(const RecordShape& shape) {
        if (shape.table == 0) {
            // Texts only: they cannot fail.
            Offer offer;
            field(offer.version);
            field(offer.link);
            if (mode_ == Mode::Load) staging_.offers.push_back(std::move(offer));
            return true;
        }
        // A check stores nothing. Within each kind the fields come in slot
        // order, so the values are appended slot by slot.
        TableStage* table = mode_ == Mode::Load ? &staging_.table(shape.section) : nullptr;
        for (const RecordField& f : recordFields(shape.table)) {
            const size_t at = pos_;
            std::string_view value;
            const bool complete = field(value);
            switch (f.kind) {
                case FieldKind::Text:
                    if (table != nullptr) table->texts.push_back(value);
                    continue;
                case FieldKind::Number: {
                    double number = 0;
                    if (!tryParseFloat(value, number)) break;
                    if (table != nullptr) table->numbers.push_back(number);
                    continue;
                }
                case FieldKind::Flag: {
                    bool flag = false;
                    if (!tryParseFlag(value, flag)) break;
                    if (table != nullptr) table->flags.push_back(flag ? 1 : 0);
                    continue;
                }
            }
            // A load raises the conversion error here.
            problem(at, &shape, f.name, conversionError(f.kind, value));
            // Every field after a cut reads as empty: one problem is enough.
            if (!complete) return false;
        }
        if (table != nullptr) ++table->rows;
        return true;
    }

    const JoinedText& joined_;
    std::string_view text_;
    const Mode mode_;
    size_t pos_ = 0;
    std::array<int, 6> counts_{};
    Staging staging_;
    std::vector<CatalogueProblem> problems_;
};

class BusyScope {
public:
    explicit BusyScope(bool& busy) : busy_(busy) { busy_ = true; }
    ~BusyScope() { busy_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& busy_;
};

}  // namespace

void CatalogueLoader::CatalogueLoad() {
    // A load paused in the new-version prompt finishes on its own.
    if (busy_) return;
    // The size is checked before the file is read, and the read stops at the
    // bound whatever the file does meanwhile.
    BoundedBytes read = readFileBytesUpTo(files_.currentFile(kCatalogueFile), kMaxCatalogueBytes);
    if (!read.bytes) failTooLarge(read.size);
    load(*read.bytes, &*read.bytes);
}

void CatalogueLoader::loadBytes(std::string_view fileBytes) {
    load(fileBytes, nullptr);
}

void CatalogueLoader::load(std::string_view fileBytes, std::string* owned) {
    if (busy_) return;
    if (fileBytes.size() > kMaxCatalogueBytes) failTooLarge(fileBytes.size());
    const BusyScope busy(busy_);
    if (beforeLoad_) beforeLoad_();

    const JoinedText joined(fileBytes);
    if (owned != nullptr) std::string().swap(*owned);
    Parser parser(joined, Mode::Load);
    parser.run();
    Staging& staged = parser.staging();

    // The prompt comes only for a file that will be taken; its errors (a
    // missing settings file) still leave the catalogue as it was.
    for (const Offer& offer : staged.offers) offer_.OfferNewVersion(offer.version, offer.link);

    // Commit: nothing below can fail (but for want of memory for a text).
    for (const RecordShape& shape : kShapes) {
        if (shape.table == 0) continue;
        const TableStage& table = staged.table(shape.section);
        const SlotCounts slots = slotCounts(shape.table);
        for (int r = 0; r < table.rows; ++r) {
            for (int s = 0; s < slots.texts; ++s) {
                assignFromCp1251(catalogue_.text(shape.table, s + 1, r + 1),
                                 table.texts[static_cast<size_t>(r) * slots.texts + s]);
            }
            for (int s = 0; s < slots.numbers; ++s) {
                catalogue_.number(shape.table, s + 1, r + 1) =
                    table.numbers[static_cast<size_t>(r) * slots.numbers + s];
            }
            for (int s = 0; s < slots.flags; ++s) {
                catalogue_.flag(shape.table, s + 1, r + 1) =
                    table.flags[static_cast<size_t>(r) * slots.flags + s];
            }
        }
    }
    catalogue_.ProviderCount = staged.table(Section::Providers).rows;
    catalogue_.PlanCount = staged.table(Section::Plans).rows;
    catalogue_.FreeHostCount = staged.table(Section::FreeHosting).rows;
    catalogue_.DomainEnd = staged.table(Section::Domains).rows + 1;
    if (!staged.offers.empty()) catalogue_.NewVersionLink = staged.offers.back().link;
}

CatalogueCheck checkCatalogueBytes(std::string_view fileBytes) {
    const JoinedText joined(fileBytes);
    Parser parser(joined, Mode::Check);
    parser.run();
    CatalogueCheck check;
    check.problems = std::move(parser.problems());
    check.updates = parser.records(Section::Update);
    check.providers = parser.records(Section::Providers);
    check.plans = parser.records(Section::Plans);
    check.freeOffers = parser.records(Section::FreeHosting);
    check.domainOffers = parser.records(Section::Domains);
    return check;
}

}  // namespace zorbinta
