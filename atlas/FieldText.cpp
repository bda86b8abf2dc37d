// SPDX-License-Identifier: AGPL-3.0-or-later
#include "atlas/FieldText.h"

#include "records/Utf8.h"

#include <array>
#include <cmath>

namespace atlas {
namespace {

// The plain letters of the Latin letters with marks, generated from Unicode's decompositions (the
// base letter of each canonical decomposition; the few letters without one spelled as usual: "ss",
// "ae", "o", "l", "th"); an empty entry is no letter.
constexpr std::array<std::string_view, 0x190> kLatinFrom00C0{{
    "A",  "A",  "A", "A", "A", "A",  "AE", "C", "E", "E", "E", "E",  "I",  "I",  "I",  "I", "D", "N", "O",
    "O",  "O",  "O", "O", "",  "O",  "U",  "U", "U", "U", "Y", "TH", "ss", "a",  "a",  "a", "a", "a", "a",
    "ae", "c",  "e", "e", "e", "e",  "i",  "i", "i", "i", "d", "n",  "o",  "o",  "o",  "o", "o", "",  "o",
    "u",  "u",  "u", "u", "y", "th", "y",  "A", "a", "A", "a", "A",  "a",  "C",  "c",  "C", "c", "C", "c",
    "C",  "c",  "D", "d", "D", "d",  "E",  "e", "E", "e", "E", "e",  "E",  "e",  "E",  "e", "G", "g", "G",
    "g",  "G",  "g", "G", "g", "H",  "h",  "H", "h", "I", "i", "I",  "i",  "I",  "i",  "I", "i", "I", "i",
    "IJ", "ij", "J", "j", "K", "k",  "k",  "L", "l", "L", "l", "L",  "l",  "L",  "l",  "L", "l", "N", "n",
    "N",  "n",  "N", "n", "n", "N",  "n",  "O", "o", "O", "o", "O",  "o",  "OE", "oe", "R", "r", "R", "r",
    "R",  "r",  "S", "s", "S", "s",  "S",  "s", "S", "s", "T", "t",  "T",  "t",  "T",  "t", "U", "u", "U",
    "u",  "U",  "u", "U", "u", "U",  "u",  "U", "u", "W", "w", "Y",  "y",  "Y",  "Z",  "z", "Z", "z", "Z",
    "z",  "s",  "",  "",  "",  "",   "",   "",  "",  "",  "",  "",   "",   "",   "",   "",  "",  "",  "",
    "",   "",   "",  "",  "",  "",   "",   "",  "",  "",  "",  "",   "",   "",   "",   "O", "o", "",  "",
    "",   "",   "",  "",  "",  "",   "",   "",  "",  "",  "",  "U",  "u",  "",   "",   "",  "",  "",  "",
    "",   "",   "",  "",  "",  "",   "",   "",  "",  "",  "",  "",   "",   "",   "",   "",  "",  "",  "",
    "",   "",   "",  "A", "a", "I",  "i",  "O", "o", "U", "u", "U",  "u",  "U",  "u",  "U", "u", "U", "u",
    "",   "A",  "a", "A", "a", "",   "",   "",  "",  "G", "g", "K",  "k",  "O",  "o",  "O", "o", "",  "",
    "j",  "",   "",  "",  "G", "g",  "",   "",  "N", "n", "A", "a",  "",   "",   "",   "",  "A", "a", "A",
    "a",  "E",  "e", "E", "e", "I",  "i",  "I", "i", "O", "o", "O",  "o",  "R",  "r",  "R", "r", "U", "u",
    "U",  "u",  "S", "s", "T", "t",  "",   "",  "H", "h", "",  "",   "",   "",   "",   "",  "A", "a", "E",
    "e",  "O",  "o", "O", "o", "O",  "o",  "O", "o", "Y", "y", "",   "",   "",   "",   "",  "",  "",  "",
    "",   "",   "",  "",  "",  "",   "",   "",  "",  "",  "",  "",   "",   "",   "",   "",  "",  "",  "",
    "",
}};

constexpr std::array<std::string_view, 0x100> kLatinFrom1E00{{
    "A", "a", "B", "b", "B", "b", "B", "b", "C", "c", "D", "d", "D", "d", "D", "d", "D", "d", "D",  "d",
    "E", "e", "E", "e", "E", "e", "E", "e", "E", "e", "F", "f", "G", "g", "H", "h", "H", "h", "H",  "h",
    "H", "h", "H", "h", "I", "i", "I", "i", "K", "k", "K", "k", "K", "k", "L", "l", "L", "l", "L",  "l",
    "L", "l", "M", "m", "M", "m", "M", "m", "N", "n", "N", "n", "N", "n", "N", "n", "O", "o", "O",  "o",
    "O", "o", "O", "o", "P", "p", "P", "p", "R", "r", "R", "r", "R", "r", "R", "r", "S", "s", "S",  "s",
    "S", "s", "S", "s", "S", "s", "T", "t", "T", "t", "T", "t", "T", "t", "U", "u", "U", "u", "U",  "u",
    "U", "u", "U", "u", "V", "v", "V", "v", "W", "w", "W", "w", "W", "w", "W", "w", "W", "w", "X",  "x",
    "X", "x", "Y", "y", "Z", "z", "Z", "z", "Z", "z", "h", "t", "w", "y", "",  "",  "",  "",  "SS", "",
    "A", "a", "A", "a", "A", "a", "A", "a", "A", "a", "A", "a", "A", "a", "A", "a", "A", "a", "A",  "a",
    "A", "a", "A", "a", "E", "e", "E", "e", "E", "e", "E", "e", "E", "e", "E", "e", "E", "e", "E",  "e",
    "I", "i", "I", "i", "O", "o", "O", "o", "O", "o", "O", "o", "O", "o", "O", "o", "O", "o", "O",  "o",
    "O", "o", "O", "o", "O", "o", "O", "o", "U", "u", "U", "u", "U", "u", "U", "u", "U", "u", "U",  "u",
    "U", "u", "Y", "y", "Y", "y", "Y", "y", "Y", "y", "",  "",  "",  "",  "",  "",
}};

std::string_view PlainLetters(char32_t c) {
    if (c >= 0xC0 && c < 0x250)
        return kLatinFrom00C0[c - 0xC0];
    if (c >= 0x1E00 && c < 0x1F00)
        return kLatinFrom1E00[c - 0x1E00];
    return {};
}

bool IsApostrophe(char32_t c) {
    return c == U'\'' || c == 0x2019 || c == 0x02BC || c == 0x2018 || c == 0x02BB;
}

} // namespace

std::string FoldToFieldText(std::string_view utf8, std::size_t maxLength) {
    std::string out;
    bool blankPending = false;
    const auto add = [&](std::string_view letters) {
        if (blankPending && !out.empty())
            out += ' ';
        blankPending = false;
        out += letters;
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const std::optional<char32_t> c = NextCodePoint(utf8, i);
        if (!c) {
            ++i; // a broken byte is no letter
            blankPending = true;
            continue;
        }
        if ((*c >= U'A' && *c <= U'Z') || (*c >= U'a' && *c <= U'z')) {
            const char letter = static_cast<char>(*c);
            add(std::string_view(&letter, 1));
        } else if (IsApostrophe(*c)) {
            // "Martha's Vineyard" reads best as "Marthas Vineyard".
        } else if (const std::string_view letters = PlainLetters(*c); !letters.empty()) {
            add(letters);
        } else {
            blankPending = true;
        }
    }
    if (out.size() > maxLength) {
        out.resize(maxLength);
        while (!out.empty() && out.back() == ' ')
            out.pop_back();
    }
    return out;
}

DegreesMinutes RoundToMinutes(double degrees) {
    const long minutes = std::lround(std::fabs(degrees) * 60);
    return {static_cast<int>(minutes / 60), static_cast<int>(minutes % 60)};
}

std::string FoldForMatch(std::string_view utf8) {
    std::string folded = FoldToFieldText(utf8, std::string::npos);
    // Only A to Z are left, and they are lowered by hand: std::tolower follows the program's locale,
    // and a Turkish one keeps 'I' as it is.
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

} // namespace atlas
