// SPDX-License-Identifier: AGPL-3.0-or-later
// The interpretation texts live in plain text files under reading/texts/, one file per table, so that
// a writer can change a sentence without touching code. The build checks each file with this parser and
// embeds it; the program parses the embedded copy once, at first use.
//
// File format (UTF-8):
//   # comment                 a line starting with '#' is a note, ignored like a blank line
//   [Section]                 the sections, in the order the table expects, each exactly once
//   N: text                   the entry for house N (1..12), in house order, each exactly once
//       more text             an indented line right below continues the entry, joined with one
//                             blank; a blank or note line ends the entry
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

using HouseTexts = std::array<std::string, 12>;

struct TextTableError {
    int line = 0; // 1-based line of the file, 0 for a problem with the file as a whole
    std::string message;
};

struct TextTableParse {
    std::vector<HouseTexts> sections; // one row per expected section, in the expected order
    std::vector<TextTableError> errors;
};

// Parses a table file whose sections must be exactly `sectionNames`, in that order. On errors the rows
// hold whatever could be read; callers treat any error as a broken file.
TextTableParse ParseTextTable(std::string_view source, const std::vector<std::string>& sectionNames);

// Section names of the two tables: "Sun" .. "Saturn", and "Lord of house 1" .. "Lord of house 12".
const std::vector<std::string>& PlanetTableSections();
const std::vector<std::string>& LordTableSections();
