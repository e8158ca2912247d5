#include "catalogue/core/CatalogueLoader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "catalogue/core/Error.h"
#include "catalogue/core/FileIO.h"
#include "catalogue/core/Numbers.h"
#include "catalogue/core/Win1251.h"
#include "update/core/Settings.h"

namespace zorbinta {
namespace {

// A line break of the file as it stands in the joined text.
constexpr std::string_view kLineJoin = "?*?";

// Sections in the only order a catalogue may hold them.
enum class Section : int { None = 0, Update, Providers, Plans, FreeHosting, Domains };

enum class Kind : unsigned char { Text, Number, Flag };

struct FieldGroup {
    Kind kind;
    int count;  // fields of this kind, filling slots 1..count
};

struct RecordShape {
    std::string_view tag;
    Section section;
    int table;  // 0 for the update record
    std::array<FieldGroup, 3> groups;
    int textSlots;
    int numberSlots;
    int flagSlots;
};

// Tags, field order and targets of every record kind.
constexpr std::array<RecordShape, 5> kShapes = {{
    {"update", Section::Update, 0, {{{Kind::Text, 2}, {Kind::Text, 0}, {Kind::Text, 0}}}, 2, 0, 0},
    {"prov",
     Section::Providers,
     ProviderTable,
     {{{Kind::Number, 1}, {Kind::Text, 12}, {Kind::Flag, 10}}},
     12,
     1,
     10},
    {"vs",
     Section::Plans,
     PlanTable,
     {{{Kind::Text, 1}, {Kind::Number, 10}, {Kind::Flag, 15}}},
     1,
     10,
     15},
    {"free",
     Section::FreeHosting,
     FreeHostTable,
     {{{Kind::Text, 4}, {Kind::Number, 2}, {Kind::Text, 0}}},
     4,
     2,
     0},
    {"dom",
     Section::Domains,
     DomainTable,
     {{{Kind::Text, 1}, {Kind::Number, 5}, {Kind::Text, 0}}},
     1,
     5,
     0},
}};

const RecordShape& shapeOf(Section section) {
    return kShapes[static_cast<int>(section) - 1];
}

// The file's lines joined with "?*?" and decoded to UTF-8 in one pass, and
// where each verbatim run of the text came from, so that errors can name a
// byte offset of the file.
class JoinedText {
public:
    explicit JoinedText(std::string_view bytes) {
        if (const size_t eof = bytes.find('\x1A'); eof != std::string_view::npos) {
            bytes = bytes.substr(0, eof);
        }
        // Room for the worst case (every byte three in UTF-8, every break
        // "?*?"), so the text is never moved while it grows; the pages it
        // does not fill are never touched.
        text_.reserve(bytes.size() * 3);
        runs_.push_back({0, 0});
        // The next CR and LF at or after i, each searched for again only once
        // passed, so the whole scan stays linear.
        size_t nextCr = bytes.find('\r');
        size_t nextLf = bytes.find('\n');
        size_t i = 0;
        while (i < bytes.size()) {
            if (nextCr < i) nextCr = bytes.find('\r', i);
            if (nextLf < i) nextLf = bytes.find('\n', i);
            const size_t brk = std::min(nextCr, nextLf);
            if (brk == std::string_view::npos) {
                appendFromCp1251(text_, bytes.substr(i));
                break;
            }
            appendFromCp1251(text_, bytes.substr(i, brk - i));
            size_t next = brk + 1;
            const bool lineEnd = bytes[brk] == '\n' || (next < bytes.size() && bytes[next] == '\n');
            if (lineEnd) {
                if (bytes[brk] == '\r') ++next;
                // A terminator at the very end of the file starts no new line.
                if (next < bytes.size()) text_.append(kLineJoin);
            }
            // A CR on its own is dropped.
            runs_.push_back({text_.size(), next});
            i = next;
        }
    }

    std::string_view text() const { return text_; }

    size_t fileOffset(size_t joined) const {
        auto it = std::upper_bound(runs_.begin(), runs_.end(), joined,
                                   [](size_t j, const Run& run) { return j < run.joined; });
        --it;  // runs_ starts at 0, so one run always precedes
        // Each character of a run is one byte of the file.
        size_t characters = 0;
        for (size_t k = it->joined; k < joined; ++k) {
            if ((static_cast<unsigned char>(text_[k]) & 0xC0) != 0x80) ++characters;
        }
        return it->file + characters;
    }

private:
    struct Run {
        size_t joined;
        size_t file;
    };
    std::string text_;
    std::vector<Run> runs_;
};

// Rows of one table as read from the file, slot by slot within each row.
// Texts point into the joined text, which outlives the commit, so that a
// catalogue is copied once, into the tables.
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

// Most numbers of a catalogue are plain whole numbers; these are exact
// without the general conversion.
bool plainWholeNumber(std::string_view field, double& value) {
    if (field.empty() || field.size() > 15) return false;
    long long n = 0;
    for (const char c : field) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    value = static_cast<double>(n);
    return true;
}

double toNumber(std::string_view field) {
    double value = 0;
    if (plainWholeNumber(field, value) || tryParseFloat(field, value)) return value;
    // Raises the conversion error naming the field.
    return parseFloat(field);
}

unsigned char toFlag(std::string_view field) {
    if (field.size() == 1 && field[0] >= '0' && field[0] <= '9') return field[0] != '0';
    return parseFlag(field) ? 1 : 0;
}

std::string quoted(std::string_view tag) {
    return "«" + std::string(tag) + "»";
}

[[noreturn]] void fail(const std::string& what) {
    throw Error("Ошибка в файле каталога: " + what);
}

[[noreturn]] void failTooLarge(std::uintmax_t size) {
    throw Error("Файл каталога слишком велик: размер в байтах — " + std::to_string(size) +
                ", допустимо не больше " + std::to_string(kMaxCatalogueBytes));
}

// Parses the whole joined text into staging; the catalogue is not touched.
class Parser {
public:
    explicit Parser(const JoinedText& joined) : joined_(joined), text_(joined.text()) {}

    void run() {
        Section current = Section::None;
        for (;;) {
            skipLineBreaks();
            if (pos_ >= text_.size()) return;
            const RecordShape* shape = recordAt(pos_);
            if (shape == nullptr) {
                fail("посторонний текст на смещении " + offsetText(pos_));
            }
            if (shape->section < current) {
                fail("запись " + quoted(shape->tag) + " на смещении " + offsetText(pos_) +
                     " стоит после записей " + quoted(shapeOf(current).tag));
            }
            current = shape->section;
            int& records = recordCount(shape->section);
            if (records == kMaxRows) {
                fail("запись " + quoted(shape->tag) + " на смещении " + offsetText(pos_) +
                     " — больше " + std::to_string(kMaxRows) + " записей " + quoted(shape->tag));
            }
            ++records;
            // The tag and the one separator after it, whatever it is: one
            // character of the file, which may take several bytes here.
            pos_ = std::min(text_.size(), pos_ + shape->tag.size() + 1);
            while (pos_ < text_.size() && (static_cast<unsigned char>(text_[pos_]) & 0xC0) == 0x80) {
                ++pos_;
            }
            if (shape->section == Section::Update) {
                readUpdate();
            } else {
                readRow(*shape, stage(shape->section));
            }
        }
    }

    TableStage& stage(Section section) { return tables_[static_cast<int>(section) - 2]; }
    std::vector<Offer>& offers() { return offers_; }

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

    // The text up to the next "|", which is consumed with it; without a "|"
    // the field is empty and nothing is consumed.
    std::string_view field() {
        const size_t bar = text_.find('|', pos_);
        if (bar == std::string_view::npos) return {};
        const std::string_view value = text_.substr(pos_, bar - pos_);
        pos_ = bar + 1;
        return value;
    }

    void readUpdate() {
        Offer offer;
        offer.version = field();
        offer.link = field();
        offers_.push_back(std::move(offer));
    }

    void readRow(const RecordShape& shape, TableStage& table) {
        for (const FieldGroup& group : shape.groups) {
            for (int i = 0; i < group.count; ++i) {
                const std::string_view value = field();
                switch (group.kind) {
                    case Kind::Text:
                        table.texts.push_back(value);
                        break;
                    case Kind::Number:
                        table.numbers.push_back(toNumber(value));
                        break;
                    case Kind::Flag:
                        table.flags.push_back(toFlag(value));
                        break;
                }
            }
        }
        ++table.rows;
    }

    const JoinedText& joined_;
    std::string_view text_;
    size_t pos_ = 0;
    std::array<int, 6> counts_{};
    std::array<TableStage, 4> tables_;
    std::vector<Offer> offers_;
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
    std::uintmax_t size = 0;
    std::optional<std::string> bytes =
        readFileBytesUpTo(programDir_ + "base.db", kMaxCatalogueBytes, size);
    if (!bytes) failTooLarge(size);
    load(*bytes, &*bytes);
}

void CatalogueLoader::loadBytes(std::string_view fileBytes) {
    load(fileBytes, nullptr);
}

void CatalogueLoader::load(std::string_view fileBytes, std::string* owned) {
    if (busy_) return;
    if (fileBytes.size() > kMaxCatalogueBytes) failTooLarge(fileBytes.size());
    const BusyScope busy(busy_);

    const JoinedText joined(fileBytes);
    if (owned != nullptr) std::string().swap(*owned);
    Parser parser(joined);
    parser.run();

    // The prompt comes only for a file that will be taken; its errors (a
    // missing settings file) still leave the catalogue as it was.
    for (const Offer& offer : parser.offers()) offer_.OfferNewVersion(offer.version, offer.link);

    // Commit: nothing below can fail (but for want of memory to copy a text).
    for (const RecordShape& shape : kShapes) {
        if (shape.table == 0) continue;
        TableStage& table = parser.stage(shape.section);
        for (int r = 0; r < table.rows; ++r) {
            for (int s = 0; s < shape.textSlots; ++s) {
                catalogue_.text(shape.table, s + 1, r + 1) =
                    table.texts[static_cast<size_t>(r) * shape.textSlots + s];
            }
            for (int s = 0; s < shape.numberSlots; ++s) {
                catalogue_.number(shape.table, s + 1, r + 1) =
                    table.numbers[static_cast<size_t>(r) * shape.numberSlots + s];
            }
            for (int s = 0; s < shape.flagSlots; ++s) {
                catalogue_.flag(shape.table, s + 1, r + 1) =
                    table.flags[static_cast<size_t>(r) * shape.flagSlots + s];
            }
        }
    }
    catalogue_.ProviderCount = parser.stage(Section::Providers).rows;
    catalogue_.PlanCount = parser.stage(Section::Plans).rows;
    catalogue_.FreeHostCount = parser.stage(Section::FreeHosting).rows;
    catalogue_.DomainEnd = parser.stage(Section::Domains).rows + 1;
    if (!parser.offers().empty()) catalogue_.NewVersionLink = parser.offers().back().link;
}

}  // namespace zorbinta
