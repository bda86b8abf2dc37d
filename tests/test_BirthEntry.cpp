// SPDX-License-Identifier: AGPL-3.0-or-later
#include "pipeline/BirthEntry.h"
#include "records/Messages.h"
#include "records/TimeZones.h"
#include "support/TestBirths.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>

namespace {

BirthEntry Valid() {
    return MakeEntry(1980, 3, 5, 7, 5, 34, "28", "36", false, "77", "12", true);
}

std::string MessageOf(const BirthEntry& e) {
    const auto r = CheckBirthEntry(e);
    return r ? r->message : "";
}

} // namespace

TEST(CheckBirthEntry, ValidEntryPasses) {
    EXPECT_FALSE(CheckBirthEntry(Valid()).has_value());
}

TEST(CheckBirthEntry, EmptyFieldsInOrderWithTheirFocus) {
    struct Step {
        std::string BirthEntry::*field;
        const char* message;
        EntryField focus;
    } steps[] = {
        {&BirthEntry::name, msg::kEnterName, EntryField::Name},
        {&BirthEntry::latDeg, msg::kEnterLatDeg, EntryField::LatDeg},
        {&BirthEntry::latMin, msg::kEnterLatMin, EntryField::LatMin},
        {&BirthEntry::lonDeg, msg::kEnterLonDeg, EntryField::LonDeg},
        {&BirthEntry::lonMin, msg::kEnterLonMin, EntryField::LonMin},
        {&BirthEntry::city, msg::kEnterCity, EntryField::City},
        {&BirthEntry::state, msg::kEnterState, EntryField::State},
        {&BirthEntry::country, msg::kEnterCountry, EntryField::Country},
    };
    // Emptying every field from step k on must report step k: the earlier ones come first.
    for (std::size_t k = 0; k < std::size(steps); ++k) {
        BirthEntry e = Valid();
        for (std::size_t j = k; j < std::size(steps); ++j)
            e.*(steps[j].field) = "";
        e.latDirection = -1;
        e.monthIndex = 1;
        e.day = 31;
        const auto r = CheckBirthEntry(e);
        ASSERT_TRUE(r.has_value()) << k;
        EXPECT_STREQ(r->message, steps[k].message);
        EXPECT_EQ(r->icon, MessageIcon::Error);
        EXPECT_EQ(r->focus, steps[k].focus);
    }
}

// A text field is saved trimmed, so blanks alone would save a reading that cannot be opened again;
// a text longer than the limit would be cut by a field or refused by the reader.
TEST(CheckBirthEntry, BlankOnlyAndOverlongTextsAreRefusedWithTheirFocus) {
    struct Field {
        std::string BirthEntry::*field;
        const char* emptyMessage;
        EntryField focus;
    } fields[] = {
        {&BirthEntry::name, msg::kEnterName, EntryField::Name},
        {&BirthEntry::city, msg::kEnterCity, EntryField::City},
        {&BirthEntry::state, msg::kEnterState, EntryField::State},
        {&BirthEntry::country, msg::kEnterCountry, EntryField::Country},
    };
    const std::string longest(100, 'a');
    const struct {
        std::string text;
        bool blankMessage; // else the length message, or passes when `passes`
        bool passes;
    } texts[] = {
        {" ", true, false},
        {"   ", true, false},
        {" a ", false, true},
        {longest, false, true},
        {"  " + longest + "  ", false, false},
        {longest + "a", false, false},
        {std::string(100, ' ') + "a", false, false},
    };
    for (const Field& f : fields) {
        for (const auto& t : texts) {
            BirthEntry e = Valid();
            e.*(f.field) = t.text;
            const auto r = CheckBirthEntry(e);
            ASSERT_EQ(r.has_value(), !t.passes) << "'" << t.text << "'";
            if (t.passes)
                continue;
            EXPECT_STREQ(r->message, t.blankMessage ? f.emptyMessage : msg::kTextTooLong);
            EXPECT_EQ(r->focus, f.focus);
            EXPECT_EQ(r->icon, MessageIcon::Error);
        }
    }
    // The limit is counted in characters, and the message names it.
    BirthEntry e = Valid();
    e.city.clear();
    for (std::size_t i = 0; i < kMaxTextLength; ++i)
        e.city += "\u00E9";
    EXPECT_FALSE(CheckBirthEntry(e));
    EXPECT_NE(std::string(msg::kTextTooLong).find(std::to_string(kMaxTextLength)), std::string::npos);
}

TEST(CheckBirthEntry, DirectionsSelectTheirDefault) {
    BirthEntry e = Valid();
    e.latDirection = -1;
    e.lonDirection = -1;
    auto r = CheckBirthEntry(e);
    ASSERT_TRUE(r);
    EXPECT_STREQ(r->message, msg::kLatDirection);
    EXPECT_EQ(r->fix, EntryRefusal::Fix::SelectNorth);
    e.latDirection = 0;
    r = CheckBirthEntry(e);
    ASSERT_TRUE(r);
    EXPECT_STREQ(r->message, msg::kLonDirection);
    EXPECT_EQ(r->fix, EntryRefusal::Fix::SelectEast);
}

TEST(CheckBirthEntry, CoordinateRanges) {
    struct Case {
        const char *latDeg, *latMin, *lonDeg, *lonMin;
        const char* message; // empty: accepted
        EntryField focus;
    } cases[] = {
        {"90", "0", "180", "0", "", EntryField::None},
        {"0", "0", "0", "0", "", EntryField::None},
        {"89", "59", "179", "59", "", EntryField::None},
        {"91", "0", "77", "0", msg::kLatRange, EntryField::LatDeg},
        {"90", "1", "77", "0", msg::kLatRange, EntryField::LatDeg},
        {"999", "75", "77", "0", msg::kLatRange, EntryField::LatDeg},
        {"28", "60", "77", "0", msg::kLatMinRange, EntryField::LatMin},
        {"28", "59", "181", "0", msg::kLonRange, EntryField::LonDeg},
        {"28", "59", "180", "1", msg::kLonRange, EntryField::LonDeg},
        {"28", "59", "77", "60", msg::kLonMinRange, EntryField::LonMin},
        {"90", "60", "77", "0", msg::kLatRange, EntryField::LatDeg},
        {"007", "05", "077", "012", "", EntryField::None},
    };
    for (const Case& c : cases) {
        BirthEntry e = Valid();
        e.latDeg = c.latDeg;
        e.latMin = c.latMin;
        e.lonDeg = c.lonDeg;
        e.lonMin = c.lonMin;
        const auto r = CheckBirthEntry(e);
        if (*c.message == 0) {
            EXPECT_FALSE(r.has_value()) << c.latDeg << " " << c.latMin << " " << c.lonDeg << " " << c.lonMin;
        } else {
            ASSERT_TRUE(r.has_value()) << c.message;
            EXPECT_STREQ(r->message, c.message);
            EXPECT_EQ(r->icon, MessageIcon::Error);
            EXPECT_EQ(r->focus, c.focus);
        }
    }
}

TEST(CheckBirthEntry, RangesComeAfterDirectionsAndBeforeDates) {
    BirthEntry e = Valid();
    e.latDeg = "95";
    e.monthIndex = 3;
    e.day = 31;
    EXPECT_EQ(MessageOf(e), msg::kLatRange);
    e.lonDirection = -1;
    EXPECT_EQ(MessageOf(e), msg::kLonDirection);
}

TEST(CheckBirthEntry, DateRules) {
    auto check = [](int year, int monthIndex, int day) {
        BirthEntry e = Valid();
        e.year = year;
        e.monthIndex = monthIndex;
        e.day = day;
        return CheckBirthEntry(e);
    };
    EXPECT_FALSE(check(1904, 1, 29));
    EXPECT_FALSE(check(2000, 1, 29));
    EXPECT_FALSE(check(1901, 1, 28));
    for (int day : {29, 30, 31}) {
        const auto r = check(1901, 1, day);
        ASSERT_TRUE(r) << day;
        EXPECT_STREQ(r->message, "Please Enter Correct Date Or Month!");
        EXPECT_EQ(r->icon, MessageIcon::Information);
    }
    for (int day : {30, 31}) {
        const auto r = check(1904, 1, day);
        ASSERT_TRUE(r) << day;
        EXPECT_STREQ(r->message, "Please Enter Correct Date Or Month!");
    }
    for (int month : {3, 5, 8, 10}) {
        const auto r = check(1990, month, 31);
        ASSERT_TRUE(r) << month;
        EXPECT_STREQ(r->message, "Please Enter Correct Date Or Month !");
        EXPECT_EQ(r->icon, MessageIcon::Information);
        EXPECT_FALSE(check(1990, month, 30)) << month;
    }
    for (int month : {0, 2, 4, 6, 7, 9, 11})
        EXPECT_FALSE(check(1990, month, 31)) << month;
}

TEST(Filters, LettersAndDigits) {
    EXPECT_TRUE(PassesLettersFilter("Anna Maria"));
    EXPECT_TRUE(PassesLettersFilter(""));
    EXPECT_FALSE(PassesLettersFilter("O'Brien"));
    EXPECT_FALSE(PassesLettersFilter("Jos\u00E9"));
    EXPECT_FALSE(PassesLettersFilter("Anna\r"));
    EXPECT_FALSE(PassesLettersFilter("R2D2"));
    EXPECT_TRUE(PassesDigitsFilter("0123456789"));
    EXPECT_FALSE(PassesDigitsFilter("-5"));
    EXPECT_FALSE(PassesDigitsFilter("5 "));
    EXPECT_FALSE(PassesDigitsFilter("1.5"));
}

TEST(BirthFromEntry, FieldsAsTheReadingCommandCopiesThem) {
    BirthEntry e = Valid();
    e.name = "  Asha Rao ";
    e.city = "  New Delhi  ";
    e.state = " Delhi";
    e.country = "India ";
    e.dst = true;
    const std::optional<Birth> birth = BirthFromEntry(e);
    ASSERT_TRUE(birth);
    const Birth& b = *birth;
    EXPECT_EQ(b.name, "  Asha Rao ");
    EXPECT_EQ(b.city, "New Delhi");
    EXPECT_EQ(b.state, "Delhi");
    EXPECT_EQ(b.country, "India");
    EXPECT_EQ(b.month, 3);
    EXPECT_EQ(b.day, 5);
    EXPECT_EQ(b.year, 1980);
    EXPECT_EQ(b.hour, 7);
    EXPECT_EQ(b.minute, 5);
    EXPECT_EQ(b.latDeg, 28);
    EXPECT_EQ(b.latMin, 36);
    EXPECT_EQ(b.lonDeg, 77);
    EXPECT_EQ(b.lonMin, 12);
    EXPECT_TRUE(b.lonEast);
    EXPECT_FALSE(b.latSouth);
    EXPECT_TRUE(b.dst);

    e.lonDirection = 1;
    e.latDirection = 1;
    const std::optional<Birth> south = BirthFromEntry(e);
    ASSERT_TRUE(south);
    EXPECT_FALSE(south->lonEast);
    EXPECT_TRUE(south->latSouth);
}

TEST(BirthFromEntry, TheZoneRowAndItsFourOffsets) {
    // The unsigned pair is the size, the signed pair what to add to the local clock (east negative).
    const struct {
        int row, hours, minutes, hoursSigned, minutesSigned;
    } cases[] = {{70, 8, 0, 8, 0}, {37, 3, 30, -3, -30}, {34, 5, 30, -5, -30}, {50, 3, 30, 3, 30}};
    for (const auto& c : cases) {
        BirthEntry e = Valid();
        e.zoneRow = c.row;
        const Birth b = BirthOf(e);
        EXPECT_EQ(b.zoneRow, c.row);
        EXPECT_EQ((std::array{b.tzHours + 0, b.tzMinutes + 0, b.tzHoursSigned, b.tzMinutesSigned}),
                  (std::array{c.hours, c.minutes, c.hoursSigned, c.minutesSigned}))
            << c.row;
    }
}

TEST(BirthFromEntry, RefusesWhatCannotBeConverted) {
    for (int row : {-1, 71}) {
        BirthEntry e = Valid();
        e.zoneRow = row;
        EXPECT_FALSE(BirthFromEntry(e));
    }
    BirthEntry e = Valid();
    e.lonDeg = "7x";
    EXPECT_FALSE(BirthFromEntry(e));
}

TEST(BirthFromEntry, CarriesTheDirectionsAndDaylightSaving) {
    BirthEntry e = Valid();
    e.latDirection = 1;
    e.lonDirection = 1;
    e.dst = true;
    const std::optional<Birth> birth = BirthFromEntry(e);
    ASSERT_TRUE(birth);
    const Birth& b = *birth;
    EXPECT_EQ(b.name, e.name);
    EXPECT_EQ(b.month, e.monthIndex + 1);
    EXPECT_EQ(b.day, e.day);
    EXPECT_EQ(b.year, e.year);
    EXPECT_EQ(std::to_string(b.latDeg), e.latDeg);
    EXPECT_EQ(std::to_string(b.lonMin), e.lonMin);
    EXPECT_TRUE(b.latSouth);
    EXPECT_FALSE(b.lonEast);
    EXPECT_TRUE(b.dst);
}

TEST(TimeZoneTable, RowsOfNote) {
    ASSERT_EQ(TimeZoneTable.size(), 71u);
    struct Row {
        int row;
        const char* text;
        int hours, minutes;
    } rows[] = {
        {0, "Alaska/Hawaii Daylight Time,AHDT,-9.0", 9, 0},
        {29, "Greenwich Mean Time,GMT,0.0", 0, 0},
        {31, "Hawaiian Daylight Time,HDT,-9.5", 9, 30},
        {34, "Indian Time, IST, +5.3", -5, -30},
        {35, "Int'l Date Line East,IDLE,+12.0", -12, 0},
        {36, "Int'l Date Line West,IDLW,-12.0", 12, 0},
        {46, "New Zealand Std Summer Time,NZST,+13.0", -13, 0},
        {50, "Newfoundland Standard Time,NST,-3.5", 3, 30},
        {61, "Universal Time, UT, 0.0", 0, 0},
        {70, "Yukon War Time,YWT,-8.0", 8, 0},
    };
    for (const Row& r : rows) {
        EXPECT_STREQ(TimeZoneTable[r.row].text, r.text) << r.row;
        EXPECT_EQ(TimeZoneTable[r.row].hours, r.hours) << r.row;
        EXPECT_EQ(TimeZoneTable[r.row].minutes, r.minutes) << r.row;
    }
}

TEST(TimeZoneTable, OffsetsAreTheOppositeOfTheNumberInTheText) {
    // The text says hours ahead of Greenwich; the row holds what to add to local time.
    for (std::size_t i = 0; i < TimeZoneTable.size(); ++i) {
        const TimeZoneRow& row = TimeZoneTable[i];
        const char* comma = std::strrchr(row.text, ',');
        ASSERT_NE(comma, nullptr) << i;
        double written = std::atof(comma + 1);
        const double offset = row.hours + row.minutes / 60.0;
        if (i == 34)
            written = 5.5; // "+5.3" stands for five and a half hours
        EXPECT_DOUBLE_EQ(-written, offset) << row.text;
        EXPECT_TRUE(row.hours * row.minutes >= 0) << row.text;
        EXPECT_TRUE(row.minutes == 0 || row.minutes == 30 || row.minutes == -30) << row.text;
    }
}
