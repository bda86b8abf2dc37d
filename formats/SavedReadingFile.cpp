// SPDX-License-Identifier: AGPL-3.0-or-later
#include "formats/SavedReadingFile.h"

#include "astro/TextUtil.h"
#include "formats/AtomicFile.h"
#include "records/TimeZones.h"
#include "records/Utf8.h"

#include <array>
#include <cstdint>

namespace {

constexpr int kShift = 85;

// Windows-1252 bytes 0x80..0x9F; 0 marks the five bytes that name no character.
constexpr std::array<char32_t, 32> kHighControls{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<char32_t> CodePointOfByte(unsigned char b) {
    if (b < 0x80 || b >= 0xA0)
        return b;
    const char32_t c = kHighControls[b - 0x80];
    if (c == 0)
        return std::nullopt;
    return c;
}

std::optional<unsigned char> ByteOfCodePoint(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i)
        if (kHighControls[i] != 0 && kHighControls[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

std::string FlagText(bool flag) {
    return flag ? "True" : "False";
}

// A list line holds the text of one entry of its list exactly as the program writes it: plain
// decimal, no sign, no leading zero, no blank.
std::optional<int> ParseListEntry(std::string_view text, int low, int high) {
    if (text.empty() || text.size() > 4 || (text.size() > 1 && text[0] == '0'))
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

// The program writes "True" and "False"; their letter case is forgiven, nothing else is.
std::optional<bool> ParseFlag(std::string_view text) {
    std::string t(text);
    for (char& c : t)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (t == "true")
        return true;
    if (t == "false")
        return false;
    return std::nullopt;
}

// A coordinate line goes into a field of at most three digits; the program writes it in plain
// decimal, so a leading zero or blank means the file was made otherwise.
bool IsCoordinateText(std::string_view text) {
    return !text.empty() && text.size() <= 3 && PassesDigitsFilter(text) &&
           (text.size() == 1 || text[0] != '0');
}

std::string LineSentence(std::size_t index, const std::string& rest) {
    return "Line " + std::to_string(index + 1) + " " + rest;
}

bool Refuse(std::string* reason, std::string sentence) {
    if (reason)
        *reason = std::move(sentence);
    return false;
}

} // namespace

std::optional<std::string> EncodeSavedText(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::optional<char32_t> c = NextCodePoint(utf8, i);
        if (!c)
            return std::nullopt;
        const std::optional<unsigned char> b = ByteOfCodePoint(*c);
        if (!b || *b + kShift > 255)
            return std::nullopt;
        out += static_cast<char>(*b + kShift);
    }
    return out;
}

std::optional<std::string> DecodeSavedText(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < kShift)
            return std::nullopt;
        const std::optional<char32_t> c = CodePointOfByte(static_cast<unsigned char>(b - kShift));
        if (!c)
            return std::nullopt;
        AppendUtf8(out, *c);
    }
    return out;
}

std::vector<std::string> SavedReadingLines(const Birth& b) {
    return {astro::Trim(b.name),       std::to_string(b.month),  std::to_string(b.day),
            std::to_string(b.year),    std::to_string(b.hour),   std::to_string(b.minute),
            std::to_string(b.zoneRow), std::to_string(b.lonDeg), std::to_string(b.lonMin),
            std::to_string(b.latDeg),  std::to_string(b.latMin), FlagText(b.lonEast),
            FlagText(b.latSouth),      FlagText(b.dst),          astro::Trim(b.city),
            astro::Trim(b.state),      astro::Trim(b.country)};
}

std::optional<std::string> EncodeSavedReading(const Birth& birth) {
    std::string file;
    for (const std::string& line : SavedReadingLines(birth)) {
        const std::optional<std::string> encoded = EncodeSavedText(line);
        if (!encoded)
            return std::nullopt;
        file += *encoded;
        file += "\r\n";
    }
    return file;
}

std::optional<BirthEntry> DecodeSavedReading(std::string_view file, std::string* reason) {
    // Every line ends with CR LF, the last included: a file cut inside its last line is not whole.
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (lines.size() < kSavedReadingLines) {
        const std::size_t cr = file.find('\r', start);
        if (cr == std::string_view::npos) {
            if (reason)
                *reason = lines.size() + 1 < kSavedReadingLines || start == file.size()
                              ? "It has fewer than 17 lines."
                              : LineSentence(lines.size(), "is not ended by CR LF.");
            return std::nullopt;
        }
        if (cr + 1 >= file.size() || file[cr + 1] != '\n') {
            if (reason)
                *reason = LineSentence(lines.size(), "is not ended by CR LF.");
            return std::nullopt;
        }
        lines.push_back(file.substr(start, cr - start));
        start = cr + 2;
    }

    std::array<std::string, kSavedReadingLines> text;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::optional<std::string> decoded = DecodeSavedText(lines[i]);
        if (!decoded) {
            Refuse(reason, LineSentence(i, "holds a byte that is not stored text."));
            return std::nullopt;
        }
        text[i] = std::move(*decoded);
    }

    struct ListLine {
        int low, high;
        const char* what;
    };
    static constexpr ListLine kLists[] = {{1, 12, "a month between 1 and 12"},
                                          {1, 31, "a day between 1 and 31"},
                                          {1901, 2050, "a year between 1901 and 2050"},
                                          {0, 24, "an hour between 0 and 24"},
                                          {0, 59, "a minute between 0 and 59"},
                                          {0, kTimeZoneCount - 1, "a time-zone row between 0 and 70"}};
    std::array<int, std::size(kLists)> list{};
    for (std::size_t k = 0; k < list.size(); ++k) {
        const std::optional<int> v = ParseListEntry(text[1 + k], kLists[k].low, kLists[k].high);
        if (!v) {
            Refuse(reason, LineSentence(1 + k, std::string("is not ") + kLists[k].what + "."));
            return std::nullopt;
        }
        list[k] = *v;
    }
    static constexpr const char* kCoordinates[] = {"degrees of longitude", "minutes of longitude",
                                                   "degrees of latitude", "minutes of latitude"};
    for (std::size_t k = 0; k < std::size(kCoordinates); ++k) {
        if (!IsCoordinateText(text[7 + k])) {
            Refuse(reason, LineSentence(7 + k, std::string("is not a number of ") + kCoordinates[k] +
                                                   " (1 to 3 digits, no leading zero)."));
            return std::nullopt;
        }
    }
    std::array<bool, 3> flag{};
    for (std::size_t k = 0; k < flag.size(); ++k) {
        const std::optional<bool> v = ParseFlag(text[11 + k]);
        if (!v) {
            Refuse(reason, LineSentence(11 + k, "is not True or False."));
            return std::nullopt;
        }
        flag[k] = *v;
    }
    // Texts go into the fields only as the form would have let them be typed.
    for (const std::size_t i : {std::size_t{0}, std::size_t{14}, std::size_t{15}, std::size_t{16}}) {
        if (!PassesLettersFilter(text[i])) {
            Refuse(reason, LineSentence(i, "holds a character that is not a letter or a blank."));
            return std::nullopt;
        }
        if (CharacterCount(text[i]) > kMaxTextLength) {
            Refuse(reason,
                   LineSentence(i, "is longer than " + std::to_string(kMaxTextLength) + " characters."));
            return std::nullopt;
        }
    }

    BirthEntry e;
    e.name = text[0];
    e.monthIndex = list[0] - 1;
    e.day = list[1];
    e.year = list[2];
    e.hour = list[3];
    e.minute = list[4];
    e.zoneRow = list[5];
    e.lonDeg = text[7];
    e.lonMin = text[8];
    e.latDeg = text[9];
    e.latMin = text[10];
    e.lonDirection = flag[0] ? 0 : 1;
    e.latDirection = flag[1] ? 1 : 0;
    e.dst = flag[2];
    e.city = text[14];
    e.state = text[15];
    e.country = text[16];
    return e;
}

SavedReadingOpen OpenSavedReadingFile(const std::string& path) {
    SavedReadingOpen result;
    // The last three characters, exactly: a capitalised extension is not ours, and the dot is not
    // looked for.
    if (path.size() < 3 || path.compare(path.size() - 3, 3, "qlm") != 0) {
        result.reason = "The name does not end in \"qlm\".";
        return result;
    }
    std::string bytes, why;
    switch (ReadRegularFile(path, kSavedReadingMaxBytes, bytes, &why)) {
    case ReadFailure::None:
        break;
    case ReadFailure::TooLong:
        result.reason =
            "It is longer than a saved reading can be (" + std::to_string(kSavedReadingMaxBytes) + " bytes).";
        return result;
    case ReadFailure::NotRegular:
        result.reason = why;
        return result;
    case ReadFailure::System:
        result.reason = "It cannot be read. " + why;
        return result;
    }
    result.entry = DecodeSavedReading(bytes, &result.reason);
    return result;
}
