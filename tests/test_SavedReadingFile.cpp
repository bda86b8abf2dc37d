#include "TestBirths.h"
#include "output/SavedReadingFile.h"

#include <gtest/gtest.h>

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s += static_cast<char>(v);
    return s;
}

// Builds a file from plain lines, each raised by 85 and ended by CR LF.
std::string FileOf(const std::vector<std::string>& lines) {
    std::string file;
    for (const std::string& line : lines) {
        for (unsigned char c : line)
            file += static_cast<char>(c + 85);
        file += "\r\n";
    }
    return file;
}

std::vector<std::string> GoodLines() {
    return {"Asha Rao", "3",  "5",    "1980",  "7",     "5",         "34",    "77",   "12",
            "28",       "36", "True", "False", "False", "New Delhi", "Delhi", "India"};
}

} // namespace

TEST(SavedText, RaisesEveryByteBy85) {
    EXPECT_EQ(EncodeSavedText("abc"), Bytes({182, 183, 184}));
    EXPECT_EQ(DecodeSavedText(Bytes({182, 183, 184})), "abc");
    EXPECT_EQ(EncodeSavedText(""), "");
    // Highest storable character: U+00AA (170) becomes 255.
    EXPECT_EQ(EncodeSavedText("\u00AA"), Bytes({255}));
    // Windows-1252 characters above U+00FF travel as their single byte: the euro sign is 0x80.
    EXPECT_EQ(EncodeSavedText("\u20AC"), Bytes({0x80 + 85}));
    EXPECT_EQ(DecodeSavedText(Bytes({0x80 + 85})), "\u20AC");
    EXPECT_EQ(DecodeSavedText(Bytes({0x96 + 85})), "\u2013");
}

TEST(SavedText, RefusesWhatCannotBeStoredWhole) {
    EXPECT_FALSE(EncodeSavedText("Jos\u00E9"));        // byte 233 would pass 255
    EXPECT_FALSE(EncodeSavedText("\u03A9mega"));       // no Windows-1252 byte at all
    EXPECT_FALSE(EncodeSavedText("\xC3"));             // a broken UTF-8 sequence
    EXPECT_FALSE(EncodeSavedText("\xC0\x80"));         // an overlong NUL
    EXPECT_FALSE(DecodeSavedText(Bytes({182, 84})));   // below 85
    EXPECT_FALSE(DecodeSavedText(Bytes({0x81 + 85}))); // a byte that names no character
}

TEST(SavedText, EveryStorableCharacterRoundTrips) {
    for (int b = 0; b <= 170; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            continue;
        const std::string raw = Bytes({b + 85});
        const auto text = DecodeSavedText(raw);
        ASSERT_TRUE(text) << b;
        EXPECT_EQ(EncodeSavedText(*text), raw) << b;
    }
}

TEST(SavedReading, WritesSeventeenEncodedLines) {
    ASSERT_TRUE(CopyEntryToBirthData(MakeEntry(1980, 3, 5, 7, 5, 34, "28", "36", false, "77", "12", true)));
    BirthData.name = "  Asha Rao  ";
    BirthData.city = "New Delhi";
    const auto file = EncodeSavedReading(BirthData, 34);
    ASSERT_TRUE(file);
    std::vector<std::string> expected = GoodLines();
    expected[9] = "28";
    expected[14] = "New Delhi";
    expected[15] = "Delhi";
    EXPECT_EQ(*file, FileOf(expected));
}

TEST(SavedReading, RefusesAReadingWithUnsavableCharacters) {
    ASSERT_TRUE(CopyEntryToBirthData(Entry1980()));
    BirthData.city = "K\u00F8benhavn";
    EXPECT_FALSE(EncodeSavedReading(BirthData, 29));
}

TEST(SavedReading, ReadsBackWhatWasWritten) {
    BirthEntry e = MakeEntry(2050, 12, 31, 24, 59, 70, "33", "52", true, "151", "12", false, true);
    e.name = " Ravi  Kumar ";
    ASSERT_TRUE(CopyEntryToBirthData(e));
    const auto file = EncodeSavedReading(BirthData, e.zoneRow);
    ASSERT_TRUE(file);
    const auto back = DecodeSavedReading(*file);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->name, "Ravi  Kumar"); // surrounding blanks are not kept
    EXPECT_EQ(back->monthIndex, 11);
    EXPECT_EQ(back->day, 31);
    EXPECT_EQ(back->year, 2050);
    EXPECT_EQ(back->hour, 24);
    EXPECT_EQ(back->minute, 59);
    EXPECT_EQ(back->zoneRow, 70);
    EXPECT_EQ(back->latDeg, "33");
    EXPECT_EQ(back->latMin, "52");
    EXPECT_EQ(back->lonDeg, "151");
    EXPECT_EQ(back->lonMin, "12");
    EXPECT_EQ(back->latDirection, 1);
    EXPECT_EQ(back->lonDirection, 1);
    EXPECT_TRUE(back->dst);
    EXPECT_EQ(back->city, "Delhi");
    EXPECT_EQ(back->country, "India");
}

TEST(SavedReading, FlagsInAnyCaseOrAsNumbers) {
    struct {
        const char* text;
        bool value;
    } flags[] = {{"True", true}, {"FALSE", false}, {"true", true}, {"0", false}, {"-1", true}, {"7", true}};
    for (const auto& f : flags) {
        std::vector<std::string> lines = GoodLines();
        lines[11] = f.text;
        lines[13] = f.text;
        const auto e = DecodeSavedReading(FileOf(lines));
        ASSERT_TRUE(e) << f.text;
        EXPECT_EQ(e->lonDirection, f.value ? 0 : 1) << f.text;
        EXPECT_EQ(e->dst, f.value) << f.text;
    }
    std::vector<std::string> lines = GoodLines();
    lines[11] = "False";
    EXPECT_EQ(DecodeSavedReading(FileOf(lines))->lonDirection, 1); // West
}

TEST(SavedReading, LineEndingsAndWhatFollowsTheSeventeenthLine) {
    const std::string good = FileOf(GoodLines());
    EXPECT_TRUE(DecodeSavedReading(good + "anything at all\r\n\x01\x02"));
    // Without the last line's ending, and with bare CR endings.
    EXPECT_TRUE(DecodeSavedReading(good.substr(0, good.size() - 2)));
    std::string crOnly;
    for (char c : good)
        if (c != '\n')
            crOnly += c;
    EXPECT_TRUE(DecodeSavedReading(crOnly));
}

TEST(SavedReading, EmptyTextFieldsAreReadForValidationToReport) {
    std::vector<std::string> lines = GoodLines();
    lines[0] = "";
    lines[16] = "";
    const auto e = DecodeSavedReading(FileOf(lines));
    ASSERT_TRUE(e);
    EXPECT_EQ(e->name, "");
    EXPECT_EQ(e->country, "");
}

TEST(SavedReading, RefusesWhatIsNotASavedReading) {
    EXPECT_FALSE(DecodeSavedReading(""));
    std::vector<std::string> sixteen = GoodLines();
    sixteen.pop_back();
    EXPECT_FALSE(DecodeSavedReading(FileOf(sixteen)));

    struct Bad {
        int line;
        const char* text;
    } bad[] = {
        {1, "13"}, {1, "0"},   {1, "March"}, {2, "32"},   {2, "0"}, {3, "1900"},   {3, "2051"}, {4, "25"},
        {4, "-1"}, {5, "60"},  {6, "71"},    {6, "-1"},   {6, ""},  {7, ""},       {7, "1234"}, {7, "-5"},
        {8, "x"},  {9, "2.5"}, {10, "N"},    {11, "yes"}, {12, ""}, {13, "maybe"},
    };
    for (const Bad& b : bad) {
        std::vector<std::string> lines = GoodLines();
        lines[static_cast<std::size_t>(b.line)] = b.text;
        EXPECT_FALSE(DecodeSavedReading(FileOf(lines))) << "line " << b.line + 1 << " = '" << b.text << "'";
    }

    // A byte below 85 anywhere in the first 17 lines, a lone line feed included.
    std::string file = FileOf(GoodLines());
    file[3] = 'A';
    EXPECT_FALSE(DecodeSavedReading(file));
    std::string withLf = FileOf(GoodLines());
    withLf.insert(2, "\n");
    EXPECT_FALSE(DecodeSavedReading(withLf));
}
