// SPDX-License-Identifier: AGPL-3.0-or-later
#include "formats/ImagePaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace {

const std::string S(1, FolderSeparator());

std::string P(std::initializer_list<const char*> parts) {
    std::string out;
    for (const char* p : parts)
        out += S + p;
    return out;
}

} // namespace

TEST(SplitPath, AtTheLastSeparatorOnly) {
    std::string folder = "keep", file = "keep";
    SplitPath(P({"c", "charts", "my.jpg"}), folder, file);
    EXPECT_EQ(folder, P({"c", "charts"}));
    EXPECT_EQ(file, "my.jpg");
    folder = "keep";
    file = "keep";
    SplitPath("no-folder.jpg", folder, file);
    EXPECT_EQ(folder, "keep");
    EXPECT_EQ(file, "keep");
}

TEST(JpegPathForChosen, CutsTheFileNameAtItsFirstDot) {
    EXPECT_EQ(JpegPathForChosen(P({"c", "charts", "mychart.jpg"})), P({"c", "charts", "mychart.jpg"}));
    EXPECT_EQ(JpegPathForChosen(P({"c", "charts", "my.chart.jpg"})), P({"c", "charts", "my.jpg"}));
    EXPECT_EQ(JpegPathForChosen(P({"c", "john.doe", "chart.jpg"})), P({"c", "john.doe", "chart.jpg"}));
    EXPECT_EQ(JpegPathForChosen(P({"c", "charts", "mychart.JPG"})), P({"c", "charts", "mychart.jpg"}));
    EXPECT_EQ(JpegPathForChosen(P({"c", "john.doe", "chart"})), P({"c", "john.doe", "chart.jpg"}));
}

TEST(TimestampFileName, SeventeenDigitsOrTheDate) {
    LocalTime t;
    t.year = 2011;
    t.month = 2;
    t.day = 22;
    t.hour = 12;
    t.minute = 43;
    t.second = 46;
    t.millisecond = 123;
    EXPECT_EQ(TimestampFileName(false, t), "20110222124346123");
    EXPECT_EQ(TimestampFileName(true, t), "20110222");
    t.millisecond = 7;
    t.hour = 0;
    EXPECT_EQ(TimestampFileName(false, t), "20110222004346007");
    EXPECT_EQ(TimestampFileName(true).size(), 8u);
}

TEST(UniqueImagePath, NumbersTheNameWhenItIsTaken) {
    std::set<std::string> taken;
    auto exists = [&](const std::string& p) { return taken.count(p) > 0; };
    const std::string folder = P({"c", "charts"});
    auto r = UniqueImagePath(folder, "mychart.jpg", "", exists);
    EXPECT_EQ(r.path, folder + S + "mychart.jpg");
    taken.insert(r.path);
    r = UniqueImagePath(folder, "mychart.jpg", "", exists);
    EXPECT_EQ(r.path, folder + S + "mychart_001.jpg");
    taken.insert(r.path);
    r = UniqueImagePath(folder + S, "mychart.jpg", "", exists);
    EXPECT_EQ(r.path, folder + S + "mychart_002.jpg");

    for (int i = 2; i <= 999; ++i) {
        std::string n = std::to_string(i);
        n.insert(0, 3 - n.size(), '0');
        taken.insert(folder + S + "mychart_" + n + ".jpg");
    }
    r = UniqueImagePath(folder, "mychart.jpg", "", exists);
    EXPECT_EQ(r.path, "");
    EXPECT_EQ(r.fileName, "mychart.jpg");
}

TEST(UniqueImagePath, FolderAndFileDefaults) {
    auto none = [](const std::string&) { return false; };
    EXPECT_EQ(UniqueImagePath("", "a.jpg", P({"opt", "quillmere"}), none).path,
              P({"opt", "quillmere", "a.jpg"}));
    EXPECT_EQ(UniqueImagePath(S + "c" + S + S + "charts", "a.jpg", "", none).path,
              P({"c", "charts", "a.jpg"}));
    EXPECT_EQ(UniqueImagePath(P({"c"}), "pic.bmp", "", none).path, P({"c", "pic.jpg"}));
    EXPECT_EQ(UniqueImagePath(P({"c"}), "pic", "", none).path, P({"c", "pic.jpg"}));
    const std::string dated = UniqueImagePath(P({"c"}), "", "", none).path;
    EXPECT_EQ(dated, P({"c"}) + S + TimestampFileName(true) + ".jpg");
}

TEST(UniqueImagePath, OnRealFilesAndFolders) {
    const fs::path dir = fs::temp_directory_path() / "quillmere-imagepaths-test";
    fs::remove_all(dir);
    fs::create_directories(dir / "john.doe");
    const std::string folder = (dir / "john.doe").string();
    EXPECT_FALSE(FileExists(folder));
    const auto first = UniqueImagePath(folder, "chart.jpg", "");
    EXPECT_EQ(first.path, folder + S + "chart.jpg");
    std::ofstream(first.path) << "x";
    EXPECT_TRUE(FileExists(first.path));
    EXPECT_EQ(UniqueImagePath(folder, "chart.jpg", "").path, folder + S + "chart_001.jpg");
    // A folder with the candidate's name is not a file: the name is free for a file.
    fs::create_directories(dir / "john.doe" / "plot.jpg");
    EXPECT_FALSE(FileExists(folder + S + "plot.jpg"));
    fs::remove_all(dir);
}

TEST(PrintFileName, TheNameAndWhatIsPrintedAsAFileName) {
    const std::string longName(130, 'a');
    const struct {
        std::string name;
        const char* what;
        std::string file;
    } cases[] = {
        {"Asha Rao", "chart", "Asha Rao chart.pdf"},
        {"  Asha  Rao ", "interpretation", "Asha Rao interpretation.pdf"},
        {"", "chart", "chart.pdf"},
        {" \t ", "chart", "chart.pdf"},
        {"A/B\\C:D*E?F\"G<H>I|J", "chart", "A B C D E F G H I J chart.pdf"},
        {"..hidden", "chart", "hidden chart.pdf"},
        {"Rao Jr.", "chart", "Rao Jr. chart.pdf"},
        {"Line\nbreak\x7F", "chart", "Line break chart.pdf"},
        {"Ren\xC3\xA9", "chart", "Ren\xC3\xA9 chart.pdf"},
        {longName, "chart", std::string(120, 'a') + " chart.pdf"},
        // The cut falls inside the two bytes of the last "é", which goes whole.
        {std::string(119, 'a') + "\xC3\xA9", "chart", std::string(119, 'a') + " chart.pdf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PrintFileName(c.name, c.what), c.file) << c.name;
}
