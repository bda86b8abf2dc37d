// SPDX-License-Identifier: AGPL-3.0-or-later
#include "reading/HouseLords.h"

#include "reading/EmbeddedTexts.h"
#include "reading/ReadingTexts.h"
#include "reading/TextTable.h"
#include "tools/ChartCommand.h"

#include "support/TestBirths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

namespace {

const std::array<const char*, 7> kPlanets{"Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn"};

// Signs (1..12) of the Sun, Moon, Mercury, Venus, Mars, Jupiter and Saturn.
using Signs = std::array<int, 7>;

// A reading with only what the house lords need: the ascendant's sign and the planets' signs.
Reading Chart(int ascendantSign, const Signs& signs, HouseCounting counting = HouseCounting::FromAries) {
    Reading r;
    r.signs[static_cast<std::size_t>(BodySlot::Ascendant)] = ascendantSign - 1;
    for (std::size_t j = 0; j < 7; ++j)
        r.signs[j] = signs[j] - 1;
    r.houseLords = PlaceHouseLords(r.signs, counting);
    return r;
}

std::string Heading(const Reading& r, std::size_t k) {
    return HouseLordHeading(r, static_cast<int>(k) + 1);
}
std::string LordText(const Reading& r, std::size_t k) {
    return std::string(LordInHouseText(r, static_cast<int>(k) + 1));
}
std::string PlanetText(const Reading& r, std::size_t k) {
    return std::string(PlanetInHouseText(r, static_cast<int>(k) + 1));
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// ------------------------------------------------------------------ placements and headings

TEST(HouseLords, PlacementCountsFromTheAscendant) {
    EXPECT_EQ(PlacementHouse(5, 1), 5);
    EXPECT_EQ(PlacementHouse(1, 12), 2);
    EXPECT_EQ(PlacementHouse(12, 12), 1);
    EXPECT_EQ(PlacementHouse(11, 12), 12);
    EXPECT_EQ(PlacementHouse(3, 5), 11);
    EXPECT_EQ(PlacementHouse(12, 1), 12);
}

TEST(HouseLords, AscendantAriesPlacesEveryLordInItsSignNumber) {
    const Reading r = Chart(1, {5, 2, 7, 10, 3, 12, 8});
    EXPECT_EQ(Heading(r, 4), "Lord of the 5th House Sun is placed in House 5.");
    EXPECT_EQ(Heading(r, 3), "Lord of the 4th House Moon is placed in House 2.");
    EXPECT_EQ(Heading(r, 0), "Lord of the 1st House Mars is placed in House 3.");
    EXPECT_EQ(Heading(r, 9), "Lord of the 10th House Saturn is placed in House 8.");
    EXPECT_EQ(Heading(r, 11), "Lord of the 12th House Jupiter is placed in House 12.");
}

TEST(HouseLords, AscendantPiscesWithMarsInAries) {
    const Reading r = Chart(12, {1, 1, 1, 1, 1, 1, 1});
    EXPECT_EQ(Heading(r, 0), "Lord of the 1st House Mars is placed in House 2.");
    EXPECT_EQ(Heading(r, 7), "Lord of the 8th House Mars is placed in House 2.");
}

// Every sign code read back through the sign names, for every ascendant.
TEST(HouseLords, LordInTheAscendantsSignAndInTheSignBefore) {
    for (int a = 1; a <= 12; ++a) {
        const int before = a == 1 ? 12 : a - 1;
        const Reading r = Chart(
            a, {1, 1, 1, before, a, 1, 1}); // Mars (house 1) in the ascendant, Venus (house 2) before it

        EXPECT_TRUE(EndsWith(Heading(r, 0), " is placed in House 1.")) << a;
        EXPECT_TRUE(EndsWith(Heading(r, 1), " is placed in House 12.")) << a;
    }
}

TEST(HouseLords, HeadingsCarryOrdinalsAndPlainNumbers) {
    const Reading r = Chart(3, {7, 8, 9, 10, 11, 12, 1}); // placements from 5 to 11, one and two digits

    const std::array<const char*, 12> expected{
        "Lord of the 1st House Mars is placed in House 9.",
        "Lord of the 2nd House Venus is placed in House 8.",
        "Lord of the 3rd House Mercury is placed in House 7.",
        "Lord of the 4th House Moon is placed in House 6.",
        "Lord of the 5th House Sun is placed in House 5.",
        "Lord of the 6th House Mercury is placed in House 7.",
        "Lord of the 7th House Venus is placed in House 8.",
        "Lord of the 8th House Mars is placed in House 9.",
        "Lord of the 9th House Jupiter is placed in House 10.",
        "Lord of the 10th House Saturn is placed in House 11.",
        "Lord of the 11th House Saturn is placed in House 11.",
        "Lord of the 12th House Jupiter is placed in House 10.",
    };
    for (std::size_t k = 0; k < 12; ++k)
        EXPECT_EQ(Heading(r, k), expected[k]);
}

TEST(HouseLords, SharedLordPairsShareHouseAndPlanetTextButNotLordText) {
    const std::array<std::pair<int, int>, 5> pairs{{{1, 8}, {2, 7}, {3, 6}, {9, 12}, {10, 11}}};
    for (int sign = 1; sign <= 12; ++sign) {
        const Reading r = Chart(4, {sign, sign, sign, sign, sign, sign, sign});
        for (const auto& [a, b] : pairs) {
            const auto i = static_cast<std::size_t>(a - 1), j = static_cast<std::size_t>(b - 1);
            const std::string ha = Heading(r, i);
            const std::string hb = Heading(r, j);
            EXPECT_NE(ha, hb);
            EXPECT_EQ(ha.substr(ha.find(" House ", 12)), hb.substr(hb.find(" House ", 12))) << a << "/" << b;
            EXPECT_EQ(PlanetText(r, i), PlanetText(r, j)) << a << "/" << b;
            EXPECT_NE(LordText(r, i), LordText(r, j)) << a << "/" << b << " in sign " << sign;
        }
    }
}

// The chosen texts, checked against rows whose wording is fixed rather than against the tables.
TEST(HouseLords, ChosenTextsFollowLordAndPlacement) {
    const Reading r = Chart(1, {6, 3, 2, 4, 1, 7, 10}); // Sun 6, Mercury 2, Venus 4, Mars 1, Jupiter 7

    EXPECT_EQ(LordText(r, 0), "You will be beautiful mentally and physically. You will be intelligent and "
                              "interested in the opposite sex.");
    EXPECT_EQ(LordText(r, 1), "You will acquire great riches.");
    EXPECT_EQ(LordText(r, 4), "Your sons will give you a lot of unhappiness.");
    EXPECT_EQ(PlanetText(r, 4), "These are normally very determined workers but can be very demanding.");
    const std::string mercury2 =
        "These people are full of money making ideas. They know the true value of things "
        "and are very value conscious.";
    EXPECT_EQ(PlanetText(r, 2), mercury2);
    EXPECT_EQ(PlanetText(r, 5), mercury2);
    const std::string jupiter7 =
        "These people are very open and have a strong sense of justice. They are very "
        "kind and caring to others.";
    EXPECT_EQ(PlanetText(r, 8), jupiter7);
    EXPECT_EQ(PlanetText(r, 11), jupiter7);

    const Reading pisces = Chart(12, {1, 1, 2, 1, 5, 11, 1}); // Mars in house 6, Jupiter in 12, Mercury in 3

    EXPECT_EQ(LordText(pisces, 0), "You may have some unhappiness from enemies.");
    EXPECT_EQ(LordText(pisces, 11), "You will be irritable and selfish and will incur losses.");
    EXPECT_EQ(LordText(pisces, 2),
              "You will be intelligent, happy, prosperous, knowledgeable, virtuous, religious and "
              "honorable.");
    EXPECT_NE(LordText(pisces, 5), LordText(pisces, 2)); // lord of 6 in house 3 has its own text
}

TEST(HouseLords, UnplacedLordLeavesItsHousesEmpty) {
    Reading r = Chart(1, {5, 4, 3, 2, 1, 9, 10});
    ASSERT_FALSE(LordText(r, 3).empty());
    r.signs[static_cast<std::size_t>(BodySlot::Mars)] = -1; // Mars: no sign
    r.houseLords = PlaceHouseLords(r.signs, HouseCounting::FromAries);
    for (std::size_t k : {0u, 7u}) {
        EXPECT_EQ(Heading(r, k), "");
        EXPECT_EQ(LordText(r, k), "");
        EXPECT_EQ(PlanetText(r, k), "");
    }
    EXPECT_EQ(Heading(r, 4), "Lord of the 5th House Sun is placed in House 5.");
    for (HouseCounting counting : {HouseCounting::FromAries, HouseCounting::FromLagna}) {
        r.signs[static_cast<std::size_t>(BodySlot::Ascendant)] = -1; // no lagna: no house
        r.houseLords = PlaceHouseLords(r.signs, counting);
        for (std::size_t k = 0; k < 12; ++k)
            EXPECT_TRUE(Heading(r, k).empty() && LordText(r, k).empty() && PlanetText(r, k).empty()) << k;
    }
}

TEST(HouseLords, FromTheLagnaHouseOneHasTheLagnasSign) {
    // Lagna Leo: house 1 is Leo (the Sun's), house 2 Virgo (Mercury's), house 12 Cancer (the Moon's).
    const Reading r = Chart(5, {5, 4, 3, 2, 1, 9, 10}, HouseCounting::FromLagna);
    EXPECT_EQ(Heading(r, 0), "Lord of the 1st House Sun is placed in House 1.");
    EXPECT_EQ(Heading(r, 1), "Lord of the 2nd House Mercury is placed in House 11.");
    EXPECT_EQ(Heading(r, 11), "Lord of the 12th House Moon is placed in House 12.");
}

TEST(HouseLords, ReportTextIsTwelveBlocksWithCrLf) {
    const Reading r = Chart(3, {7, 8, 9, 10, 11, 12, 1});
    const std::string text = HouseLordReportText(r);
    EXPECT_EQ(text.rfind(Heading(r, 0) + "\r\n" + LordText(r, 0) + "\r\n" + PlanetText(r, 0) + "\r\n\r\n" +
                             Heading(r, 1) + "\r\n",
                         0),
              0u);
    EXPECT_TRUE(
        EndsWith(text, Heading(r, 11) + "\r\n" + LordText(r, 11) + "\r\n" + PlanetText(r, 11) + "\r\n\r\n"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 48);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 48);
}

// ------------------------------------------------------------------ the companion

struct CompanionRun {
    int status;
    std::string out;
};

CompanionRun Companion(std::vector<std::string> args) {
    std::ostringstream out, err;
    const int status = RunChartCommand(args, out, err);
    return {status, out.str()};
}

std::vector<std::string> Args(const char* date, const char* time, const char* zone, const char* lat,
                              const char* lon) {
    return {"--name", "Test Person", "--date", date,     "--time", time,      "--zone", zone,        "--lat",
            lat,      "--lon",       lon,      "--city", "Delhi",  "--state", "Delhi",  "--country", "India"};
}

// For every block of a real reading the two texts are the table rows its own heading names.
void ExpectBlocksMatchHeadings(const std::vector<std::string>& report) {
    ASSERT_EQ(report.size(), 48u);
    std::set<std::string> blocks;
    for (std::size_t b = 0; b < 12; ++b) {
        const std::string& heading = report[4 * b];
        int n = 0, m = 0;
        char suffix[3] = {}, planet[16] = {};
        ASSERT_EQ(std::sscanf(heading.c_str(), "Lord of the %d%2s House %15s is placed in House %d.", &n,
                              suffix, planet, &m),
                  4)
            << heading;
        EXPECT_EQ(n, static_cast<int>(b + 1));
        const auto j = static_cast<std::size_t>(
            std::find(kPlanets.begin(), kPlanets.end(), std::string(planet)) - kPlanets.begin());
        ASSERT_LT(j, 7u) << heading;
        EXPECT_EQ(report[4 * b + 1],
                  LordInHouseTexts()[static_cast<std::size_t>(n - 1)][static_cast<std::size_t>(m - 1)]);
        EXPECT_EQ(report[4 * b + 2], PlanetInHouseTexts()[j][static_cast<std::size_t>(m - 1)]);
        EXPECT_EQ(report[4 * b + 3], "");
        blocks.insert(report[4 * b + 1] + report[4 * b + 2]);
    }
    EXPECT_EQ(blocks.size(), 12u) << "two houses read the same";
}

TEST(HouseLords, CompanionPrintsTheReportAfterExportAndChartLines) {
    const std::vector<std::vector<std::string>> births{
        Args("1980-01-01", "12:00", "29", "51d30N", "0d0E"),
        Args("1947-08-15", "0:00", "34", "28d39N", "77d13E"),
        Args("2003-06-21", "18:45", "8", "33d52S", "151d12E"),
    };
    for (const auto& birth : births) {
        auto args = birth;
        args.push_back("--interpretation");
        const CompanionRun plain = Companion(args);
        ASSERT_EQ(plain.status, 0);
        const auto lines = Lines(plain.out);
        ASSERT_EQ(lines.size(), 41u + 48u);
        EXPECT_EQ(lines[28], "House Lord Interpretation");
        for (std::size_t k = 0; k < 12; ++k)
            EXPECT_EQ(lines[41 + 4 * k], lines[29 + k]) << "heading " << k + 1;
        ExpectBlocksMatchHeadings(std::vector<std::string>(lines.begin() + 41, lines.end()));
        EXPECT_TRUE(EndsWith(plain.out, ".\r\n\r\n"));

        args.push_back("--chart");
        const auto withChart = Lines(Companion(args).out);
        ASSERT_EQ(withChart.size(), 41u + 12u + 48u);
        EXPECT_EQ(withChart[41].substr(0, 2), "1:");
        EXPECT_EQ(withChart[52].substr(0, 3), "12:");
        EXPECT_EQ(std::vector<std::string>(withChart.begin() + 53, withChart.end()),
                  std::vector<std::string>(lines.begin() + 41, lines.end()));
    }
    EXPECT_EQ(Lines(Companion(births[0]).out).size(), 41u); // no report unless asked for
}

// ------------------------------------------------------------------ the text-table files

std::string ValidSource() {
    std::string s = "# notes\n";
    for (const char* section : {"A", "B"}) {
        s += std::string("[") + section + "]\n";
        for (int h = 1; h <= 12; ++h)
            s += std::to_string(h) + ": " + section + std::to_string(h) + "\n";
    }
    return s;
}

std::string ReplaceLine(std::string s, const std::string& line, const std::string& by) {
    const std::size_t at = s.find(line + "\n");
    EXPECT_NE(at, std::string::npos) << line;
    return s.replace(at, line.size() + 1, by);
}

const std::vector<std::string> kAB{"A", "B"};

TEST(TextTableFile, ReadsSectionsEntriesAndContinuations) {
    std::string s = "\xEF\xBB\xBF" + ValidSource();
    s = ReplaceLine(s, "3: A3", "3:   first part  \r\n\tsecond ’part’\r\n   third – part\n# a note\n\n");
    const TextTableParse p = ParseTextTable(s, kAB);
    ASSERT_TRUE(p.errors.empty()) << p.errors[0].line << ": " << p.errors[0].message;
    ASSERT_EQ(p.sections.size(), 2u);
    EXPECT_EQ(p.sections[0][2], "first part second ’part’ third – part");
    EXPECT_EQ(p.sections[0][3], "A4");
    EXPECT_EQ(p.sections[1][11], "B12");
}

TEST(TextTableFile, ReportsEveryKindOfDamageWithItsLine) {
    const std::string good = ValidSource();
    // Line numbers: 1 notes, 2 [A], 3..14 A1..A12, 15 [B], 16..27 B1..B12.
    const std::vector<std::tuple<const char*, std::string, int>> cases{
        {"house missing", ReplaceLine(good, "5: A5", ""), 7},
        {"house doubled", ReplaceLine(good, "5: A5", "4: again\n"), 7},
        {"house out of range", ReplaceLine(good, "12: B12", "13: B13\n"), 27},
        {"empty text", ReplaceLine(good, "2: B2", "2:   \n"), 17},
        {"wrong section", ReplaceLine(good, "[B]", "[C]\n"), 15},
        {"section missing", good.substr(0, good.find("[B]")), 0},
        {"section doubled", good + "[B]\n", 28},
        {"continuation before any entry", ReplaceLine(good, "[A]", "[A]\n  stray\n"), 3},
        {"continuation after a note", ReplaceLine(good, "4: A4", "4: A4\n# 5: A5\n  more\n"), 8},
        {"unknown line", ReplaceLine(good, "7: A7", "7: A7\nA8 without number\n"), 10},
        {"entry before a section", "1: x\n" + good, 1},
        {"not UTF-8", ReplaceLine(good, "9: A9", "9: caf\xE9\n"), 11},
        {"tab inside text", ReplaceLine(good, "9: A9", "9: a\tb\n"), 11},
        {"unclosed heading", ReplaceLine(good, "[B]", "[B\n"), 15},
    };
    for (const auto& [name, source, line] : cases) {
        const TextTableParse p = ParseTextTable(source, kAB);
        ASSERT_FALSE(p.errors.empty()) << name;
        EXPECT_EQ(p.errors[0].line, line) << name << ": " << p.errors[0].message;
    }
}

TEST(TextTableFile, EmbeddedTablesParseCleanly) {
    EXPECT_TRUE(ParseTextTable(PlanetInHouseSource(), PlanetTableSections()).errors.empty());
    EXPECT_TRUE(ParseTextTable(LordInHouseSource(), LordTableSections()).errors.empty());
    EXPECT_EQ(LordTableSections().front(), "Lord of house 1");
    EXPECT_EQ(LordTableSections().back(), "Lord of house 12");
}

// ------------------------------------------------------------------ content of the two tables

std::size_t CodePoints(const std::string& s) {
    return static_cast<std::size_t>(std::count_if(
        s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::vector<std::string> Sentences(const std::string& s) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if ((c == '.' || c == '!' || c == '?') && (i + 1 == s.size() || s[i + 1] == ' ')) {
            out.push_back(s.substr(start, i + 1 - start));
            start = i + 2;
        }
    }
    if (start < s.size())
        out.push_back(s.substr(start)); // an unfinished sentence still counts, and fails the ending check
    return out;
}

std::set<std::string> Words(const std::string& s) {
    std::set<std::string> words;
    std::string w;
    for (char c : s + " ") {
        if (std::isalpha(static_cast<unsigned char>(c))) {
            w += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else {
            if (!w.empty())
                words.insert(w);
            w.clear();
        }
    }
    return words;
}

// Plain text a reader sees as written: printable ASCII plus the en dash and the right single quote,
// single blanks, complete sentences each starting with a capital.
void ExpectPlainText(const std::string& t, const std::string& where) {
    for (std::size_t i = 0; i < t.size(); ++i) {
        const auto c = static_cast<unsigned char>(t[i]);
        if (c >= 0x80) {
            const std::string ch = t.substr(i, 3);
            EXPECT_TRUE(ch == "–" || ch == "’") << where << ": character at " << i;
            i += 2;
        } else {
            EXPECT_TRUE(c >= 0x20 && c < 0x7F) << where << ": control character at " << i;
        }
    }
    EXPECT_EQ(t.find("  "), std::string::npos) << where << ": double blank";
    ASSERT_FALSE(t.empty()) << where;
    EXPECT_NE(t.front(), ' ') << where;
    EXPECT_EQ(t.back(), '.') << where;
    for (const std::string& s : Sentences(t))
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(s.front()))) << where << ": " << s;
}

const std::string kSharedSentence =
    "You will be intelligent, happy, prosperous, knowledgeable, virtuous, religious and honorable.";

TEST(InterpretationTexts, PlanetParagraphsKeepTheirRules) {
    const auto& table = PlanetInHouseTexts();
    std::map<std::string, std::string> sentenceOwner;
    std::set<std::string> distinct;
    const std::set<std::string> secondOrFirstPerson{"you", "your", "yours", "yourself", "i",
                                                    "me",  "my",   "we",    "our",      "us"};
    for (std::size_t p = 0; p < 7; ++p) {
        for (std::size_t h = 0; h < 12; ++h) {
            const std::string& t = table[p][h];
            const std::string where = std::string(kPlanets[p]) + " in " + std::to_string(h + 1);
            ExpectPlainText(t, where);
            EXPECT_GE(CodePoints(t), 69u) << where;
            EXPECT_LE(CodePoints(t), 765u) << where;
            const auto sentences = Sentences(t);
            EXPECT_GE(sentences.size(), 1u) << where;
            EXPECT_LE(sentences.size(), 7u) << where;
            const auto words = Words(t);
            for (const std::string& w : words)
                EXPECT_EQ(secondOrFirstPerson.count(w), 0u) << where << ": \"" << w << "\"";
            EXPECT_TRUE(words.count("people") || words.count("these") || words.count("they")) << where;
            for (const std::string& s : sentences) {
                const auto [it, fresh] = sentenceOwner.emplace(s, where);
                EXPECT_TRUE(fresh) << where << " repeats a sentence of " << it->second << ": " << s;
            }
            distinct.insert(t);
        }
    }
    EXPECT_EQ(distinct.size(), 84u);
    EXPECT_EQ(table[0][0].rfind("People with the sun in their first house", 0), 0u);
    EXPECT_EQ(table[0][5], "These are normally very determined workers but can be very demanding.");
    EXPECT_EQ(table[2][1],
              "These people are full of money making ideas. They know the true value of things and "
              "are very value conscious.");
    EXPECT_EQ(table[5][6],
              "These people are very open and have a strong sense of justice. They are very kind "
              "and caring to others.");
}

TEST(InterpretationTexts, LordEntriesKeepTheirRules) {
    const auto& table = LordInHouseTexts();
    const std::set<std::pair<int, int>> sharedKeys{{1, 2}, {2, 11}, {3, 3}, {10, 11}};
    std::map<std::string, int> exceptions{
        {"Your sons ", 0}, {"You and your children ", 0}, {"This placement ", 0}};
    std::map<std::string, std::string> sentenceOwner;
    std::set<std::string> distinct;
    for (int n = 1; n <= 12; ++n) {
        for (int m = 1; m <= 12; ++m) {
            const std::string& t = table[static_cast<std::size_t>(n - 1)][static_cast<std::size_t>(m - 1)];
            const std::string where = "lord of " + std::to_string(n) + " in " + std::to_string(m);
            ExpectPlainText(t, where);
            EXPECT_GE(CodePoints(t), 24u) << where;
            EXPECT_LE(CodePoints(t), 156u) << where;
            const auto sentences = Sentences(t);
            EXPECT_GE(sentences.size(), 1u) << where;
            EXPECT_LE(sentences.size(), 3u) << where;
            const auto words = Words(t);
            EXPECT_TRUE(words.count("you") || words.count("your")) << where;
            EXPECT_EQ(t == kSharedSentence, sharedKeys.count({n, m}) == 1) << where;
            if (t.rfind("You will ", 0) != 0 && t.rfind("You may ", 0) != 0) {
                const auto e = std::find_if(exceptions.begin(), exceptions.end(),
                                            [&](const auto& x) { return t.rfind(x.first, 0) == 0; });
                EXPECT_NE(e, exceptions.end()) << where << ": " << t;
                if (e != exceptions.end())
                    ++e->second;
            }
            if (t != kSharedSentence) {
                for (const std::string& s : sentences) {
                    const auto [it, fresh] = sentenceOwner.emplace(s, where);
                    EXPECT_TRUE(fresh) << where << " repeats a sentence of " << it->second << ": " << s;
                }
            }
            distinct.insert(t);
        }
    }
    EXPECT_EQ(distinct.size(), 141u);
    for (const auto& [start, count] : exceptions)
        EXPECT_EQ(count, 1) << start;

    int troubledInSix = 0;
    for (std::size_t n = 0; n < 12; ++n) {
        const std::string& t = table[n][5];
        troubledInSix += t.find("enem") != std::string::npos || t.find("unhapp") != std::string::npos;
    }
    EXPECT_GT(troubledInSix, 6);
    EXPECT_EQ(table[0][0],
              "You will be beautiful mentally and physically. You will be intelligent and interested "
              "in the opposite sex.");
    EXPECT_EQ(table[0][5], "You may have some unhappiness from enemies.");
    EXPECT_EQ(table[1][3], "You will acquire great riches.");
    EXPECT_EQ(table[4][5], "Your sons will give you a lot of unhappiness.");
    EXPECT_EQ(table[11][11], "You will be irritable and selfish and will incur losses.");
}

} // namespace
