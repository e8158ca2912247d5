// SPDX-License-Identifier: GPL-3.0-or-later
// The search dialog's key filters on arbitrary text, caret and key, and key
// presses typed into a field from empty: the filter only accepts, replaces
// "." by "," or refuses, and typing alone keeps a field a number the dialog
// can convert, within its MaxLength.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/core/Error.h"
#include "catalogue/core/Numbers.h"
#include "catalogue/core/Win1251.h"
#include "fuzz/FuzzSupport.h"
#include "search/core/SearchDialog.h"

namespace {

using namespace zorbinta;
using fuzz::check;

class NoDialogs final : public DialogRunner {
public:
    void runModal(DialogId) override {}
    void close(DialogId) override {}
};

void checkFilter(KeyFilter filter, const std::string& text, int caret, char32_t key) {
    const KeyResult r = filterKey(filter, text, caret, key);
    const bool digit = key >= U'0' && key <= U'9';
    switch (r.outcome) {
        case KeyOutcome::Refused:
            check(key != kBackspace, "backspace refused");
            break;
        case KeyOutcome::Accepted:
            check(r.character == key, "accepted a different character");
            check(digit || key == kBackspace || (key == U',' && filter != KeyFilter::WholeNumber),
                  "accepted a character that is no digit");
            break;
        case KeyOutcome::Replaced:
            check(key == U'.' && r.character == U',' && filter != KeyFilter::WholeNumber,
                  "replaced something other than a point");
            break;
    }
}

int charCount(const std::string& s) {
    int n = 0;
    for (const char c : s) n += !isUtf8Continuation(c);
    return n;
}

// What typing alone can leave in a field: digits, and for the decimal
// fields one comma.
void checkTyped(int edit, const std::string& text) {
    int commas = 0;
    for (const char c : text) {
        if (c == ',') {
            ++commas;
        } else {
            check(c >= '0' && c <= '9', "typed text holds a character that is no digit");
        }
    }
    const bool decimal = SearchDialog::filterOf(edit) != KeyFilter::WholeNumber;
    check(commas <= (decimal ? 1 : 0), "typed text holds a comma too many");
    check(charCount(text) <= SearchDialog::maxLength(edit), "typed text beyond MaxLength");
}

constexpr char32_t kKeys[] = {U'0',  U'1',           U'5',    U'9',     U',',
                              U'.',  kBackspace,     U'a',    U'-',     U' ',
                              U'\r', 0x0431 /* б */, 0x1F600, 0x110000, 0};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const auto filter = in.PickValueInArray(
        {KeyFilter::WholeNumber, KeyFilter::OneDecimal, KeyFilter::TwoDecimals});
    const int caret = in.ConsumeIntegral<int>();
    const auto key = in.ConsumeIntegral<char32_t>();
    const std::string text = in.ConsumeRandomLengthString(64);
    checkFilter(filter, text, caret, key);

    // A field edited by key presses, from empty or from pasted text.
    static NoDialogs dialogs;
    SearchDialog dialog(dialogs);
    const int edit = in.ConsumeIntegralInRange(1, 8);
    const bool pasted = in.ConsumeBool();
    if (pasted) dialog.Edit[edit] = text;
    const bool wasValid = fuzz::validUtf8(dialog.Edit[edit]);
    while (in.remaining_bytes() > 0) {
        const char32_t typed =
            in.ConsumeBool() ? in.PickValueInArray(kKeys) : in.ConsumeIntegral<char32_t>();
        const int at = in.ConsumeIntegralInRange(-2, 9);
        const std::string was = dialog.Edit[edit];
        const KeyResult r = dialog.keyPress(edit, typed, at);
        if (r.outcome == KeyOutcome::Refused) {
            check(dialog.Edit[edit] == was, "a refused key changed the field");
        }
        if (wasValid)
            check(fuzz::validUtf8(dialog.Edit[edit]), "a key press broke the field's text");
        if (!pasted) checkTyped(edit, dialog.Edit[edit]);
    }
    if (pasted) return 0;
    // "Найти" converts every typed field; a lone comma (left when the digit
    // before it was erased) is the one text that typing leaves unconvertible.
    const std::string& typed = dialog.Edit[edit];
    double value = 0;
    check(typed.empty() || typed == "," || tryParseFloat(typed, value),
          "typed text does not convert");
    try {
        dialog.Button1Click();
    } catch (const Error&) {
        check(typed == ",", "Найти refused typed text");
    }
    return 0;
}
