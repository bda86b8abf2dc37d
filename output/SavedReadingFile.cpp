#include "output/SavedReadingFile.h"

#include "astro/TextUtil.h"
#include "astro/modVedicPlanetPosition.h"

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

// Next code point of a UTF-8 text; nothing for a malformed sequence.
std::optional<char32_t> NextCodePoint(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    int extra;
    char32_t c;
    if (b0 < 0x80) {
        ++i;
        return b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        extra = 1;
        c = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        extra = 2;
        c = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        extra = 3;
        c = b0 & 0x07;
    } else {
        return std::nullopt;
    }
    if (i + static_cast<std::size_t>(extra) >= s.size())
        return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((b & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (b & 0x3F);
    }
    // Overlong forms and surrogates are not text.
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    i += static_cast<std::size_t>(extra) + 1;
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string FlagText(bool flag) {
    return flag ? "True" : "False";
}

std::optional<int> ParseInteger(std::string_view text) {
    const std::string t = astro::Trim(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && t[i] == '-') {
        negative = true;
        ++i;
    }
    if (i == t.size() || t.size() - i > 6)
        return std::nullopt;
    int value = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9')
            return std::nullopt;
        value = value * 10 + (t[i] - '0');
    }
    return negative ? -value : value;
}

std::optional<int> ParseInRange(std::string_view text, int low, int high) {
    const std::optional<int> v = ParseInteger(text);
    if (!v || *v < low || *v > high)
        return std::nullopt;
    return v;
}

// "True" or "False" in any letter case, or a number, zero being false.
std::optional<bool> ParseFlag(std::string_view text) {
    std::string t = astro::Trim(text);
    for (char& c : t)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (t == "true")
        return true;
    if (t == "false")
        return false;
    const std::optional<int> v = ParseInteger(t);
    if (!v)
        return std::nullopt;
    return *v != 0;
}

// A coordinate line goes into a field of at most three digits.
std::optional<std::string> ParseCoordinateText(std::string_view text) {
    const std::string t = astro::Trim(text);
    if (t.empty() || t.size() > 3 || !PassesDigitsFilter(t))
        return std::nullopt;
    return t;
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

std::vector<std::string> SavedReadingLines(const BirthDataRecord& b, int zoneRow) {
    return {astro::Trim(b.name),      std::to_string(b.month),  std::to_string(b.day),
            std::to_string(b.year),   std::to_string(b.hour),   std::to_string(b.minute),
            std::to_string(zoneRow),  std::to_string(b.lonDeg), std::to_string(b.lonMin),
            std::to_string(b.latDeg), std::to_string(b.latMin), FlagText(b.lonEast),
            FlagText(b.latSouth),     FlagText(b.dst),          astro::Trim(b.city),
            astro::Trim(b.state),     astro::Trim(b.country)};
}

std::optional<std::string> EncodeSavedReading(const BirthDataRecord& birth, int zoneRow) {
    std::string file;
    for (const std::string& line : SavedReadingLines(birth, zoneRow)) {
        const std::optional<std::string> encoded = EncodeSavedText(line);
        if (!encoded)
            return std::nullopt;
        file += *encoded;
        file += "\r\n";
    }
    return file;
}

std::optional<BirthEntry> DecodeSavedReading(std::string_view file) {
    // A line ends at a carriage return; a line feed right after it belongs to the ending.
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < file.size() && lines.size() < kSavedReadingLines) {
        const std::size_t cr = file.find('\r', start);
        if (cr == std::string_view::npos) {
            lines.push_back(file.substr(start));
            start = file.size();
            break;
        }
        lines.push_back(file.substr(start, cr - start));
        start = cr + 1;
        if (start < file.size() && file[start] == '\n')
            ++start;
    }
    if (lines.size() < kSavedReadingLines)
        return std::nullopt;

    std::array<std::string, kSavedReadingLines> text;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::optional<std::string> decoded = DecodeSavedText(lines[i]);
        if (!decoded)
            return std::nullopt;
        text[i] = std::move(*decoded);
    }

    const auto month = ParseInRange(text[1], 1, 12);
    const auto day = ParseInRange(text[2], 1, 31);
    const auto year = ParseInRange(text[3], 1901, 2050);
    const auto hour = ParseInRange(text[4], 0, 24);
    const auto minute = ParseInRange(text[5], 0, 59);
    const auto zone = ParseInRange(text[6], 0, kTimeZoneCount - 1);
    const auto lonDeg = ParseCoordinateText(text[7]);
    const auto lonMin = ParseCoordinateText(text[8]);
    const auto latDeg = ParseCoordinateText(text[9]);
    const auto latMin = ParseCoordinateText(text[10]);
    const auto east = ParseFlag(text[11]);
    const auto south = ParseFlag(text[12]);
    const auto dst = ParseFlag(text[13]);
    if (!month || !day || !year || !hour || !minute || !zone || !lonDeg || !lonMin || !latDeg || !latMin ||
        !east || !south || !dst)
        return std::nullopt;

    BirthEntry e;
    e.name = text[0];
    e.monthIndex = *month - 1;
    e.day = *day;
    e.year = *year;
    e.hour = *hour;
    e.minute = *minute;
    e.zoneRow = *zone;
    e.lonDeg = *lonDeg;
    e.lonMin = *lonMin;
    e.latDeg = *latDeg;
    e.latMin = *latMin;
    e.lonDirection = *east ? 0 : 1;
    e.latDirection = *south ? 1 : 0;
    e.dst = *dst;
    e.city = text[14];
    e.state = text[15];
    e.country = text[16];
    return e;
}
