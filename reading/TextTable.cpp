// SPDX-License-Identifier: AGPL-3.0-or-later
#include "reading/TextTable.h"

#include "records/Utf8.h"
#include "records/Vocabulary.h"

#include <algorithm>
#include <cstddef>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool HasControlCharacter(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return true;
    return false;
}

// "N: text" with N in 1..12; returns 0 when the line is not shaped like an entry.
int EntryHouse(std::string_view line, std::string_view& text) {
    std::size_t digits = 0;
    while (digits < line.size() && digits < 3 && line[digits] >= '0' && line[digits] <= '9')
        ++digits;
    if (digits == 0 || digits >= line.size() || line[digits] != ':')
        return 0;
    int house = 0;
    for (std::size_t k = 0; k < digits; ++k)
        house = house * 10 + (line[k] - '0');
    text = Trim(line.substr(digits + 1));
    return house;
}

} // namespace

TextTableParse ParseTextTable(std::string_view source, const std::vector<std::string>& sectionNames) {
    TextTableParse result;
    result.sections.resize(sectionNames.size());
    auto error = [&](int line, std::string message) { result.errors.push_back({line, std::move(message)}); };

    if (source.starts_with("\xEF\xBB\xBF"))
        source.remove_prefix(3);

    std::size_t section = 0;        // index of the open section
    bool inSection = false;         // false before the first heading
    int nextHouse = 1;              // house the next entry of the open section must have
    std::string* current = nullptr; // entry that an indented line continues
    std::vector<bool> seen(sectionNames.size(), false);

    int lineNumber = 0;
    while (!source.empty() || lineNumber == 0) {
        ++lineNumber;
        const std::size_t end = source.find('\n');
        std::string_view line = source.substr(0, end);
        source.remove_prefix(end == std::string_view::npos ? source.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        // An editor that saves in a legacy code page would otherwise put mojibake on screen.
        if (!IsValidUtf8(line)) {
            error(lineNumber, "not valid UTF-8; save the file as UTF-8");
            current = nullptr;
            continue;
        }
        // A blank or note line ends the entry, so that commenting out an entry's first line cannot
        // quietly glue its remaining lines onto the entry above.
        if (Trim(line).empty() || line.front() == '#') {
            current = nullptr;
            continue;
        }

        if (IsBlank(line.front())) {
            const std::string_view more = Trim(line);
            if (current == nullptr)
                error(lineNumber, "indented line continues no entry");
            else if (HasControlCharacter(more))
                error(lineNumber, "control character (tab?) inside the text");
            else
                *current += " " + std::string(more);
            continue;
        }

        current = nullptr;
        if (line.front() == '[') {
            const std::string_view t = Trim(line);
            if (t.back() != ']') {
                error(lineNumber, "section heading must end with ']'");
                continue;
            }
            const std::string name(t.substr(1, t.size() - 2));
            if (inSection && nextHouse <= 12)
                error(lineNumber,
                      "[" + sectionNames[section] + "] ends before house " + std::to_string(nextHouse));
            const std::size_t expected = inSection ? section + 1 : 0;
            const auto known = std::find(sectionNames.begin(), sectionNames.end(), name);
            // Carry on in the section the heading names (or the expected one), so that one slip gives
            // one message rather than a cascade through the rest of the file.
            if (known == sectionNames.end()) {
                if (expected >= sectionNames.size()) {
                    error(lineNumber, "unexpected section [" + name + "] after the last one");
                    inSection = false;
                    section = sectionNames.size();
                    continue;
                }
                error(lineNumber, "expected section [" + sectionNames[expected] + "], found [" + name + "]");
                section = expected;
            } else {
                section = static_cast<std::size_t>(known - sectionNames.begin());
                if (seen[section])
                    error(lineNumber, "section [" + name + "] appears twice");
                else if (section != expected)
                    error(lineNumber,
                          "section [" + name + "] is out of order" +
                              (expected < sectionNames.size() ? "; expected [" + sectionNames[expected] + "]"
                                                              : std::string()));
            }
            seen[section] = true;
            inSection = true;
            nextHouse = 1;
            continue;
        }

        std::string_view text;
        const int house = EntryHouse(line, text);
        if (house == 0) {
            error(lineNumber,
                  "expected a section heading '[...]', an entry 'N: text' or an indented continuation");
            continue;
        }
        if (!inSection) {
            error(lineNumber, "entry outside a section");
            continue;
        }
        if (house != nextHouse) {
            error(lineNumber, "expected house " + std::to_string(nextHouse) + " in [" +
                                  sectionNames[section] + "], found " + std::to_string(house));
            if (house < 1 || house > 12)
                continue;
        }
        if (text.empty()) {
            error(lineNumber, "entry " + std::to_string(house) + " has no text");
        } else if (HasControlCharacter(text)) {
            error(lineNumber, "control character (tab?) inside the text");
        }
        current = &result.sections[section][static_cast<std::size_t>(house - 1)];
        *current = std::string(text);
        nextHouse = house + 1;
    }

    if (inSection && nextHouse <= 12)
        error(lineNumber, "[" + sectionNames[section] + "] ends before house " + std::to_string(nextHouse));
    for (std::size_t s = 0; s < sectionNames.size(); ++s)
        if (!seen[s])
            error(0, "section [" + sectionNames[s] + "] is missing");
    return result;
}

const std::vector<std::string>& PlanetTableSections() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (int k = 0; k < kRulingPlanets; ++k)
            n.emplace_back(kBodies[static_cast<std::size_t>(k)].english);
        return n;
    }();
    return names;
}

const std::vector<std::string>& LordTableSections() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> n;
        for (int house = 1; house <= 12; ++house)
            n.push_back("Lord of house " + std::to_string(house));
        return n;
    }();
    return names;
}
