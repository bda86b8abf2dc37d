// SPDX-License-Identifier: AGPL-3.0-or-later
// Where the data files are found: the variable, the program's own folder, the install folders, and
// never the current folder.
#include "formats/DataFiles.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace fs = std::filesystem;

namespace {

class Variable {
  public:
    Variable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~Variable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

void Touch(const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "x";
}

} // namespace

TEST(DataFiles, ProgramFolderIsTheExecutablesOwn) {
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(fs::path(folder).is_absolute());
    EXPECT_TRUE(fs::exists(fs::path(folder) / fs::path(QUILLMERE_TEST_EXE).filename())) << folder;
}

TEST(DataFiles, RelativeFoldersNeverLeadToTheCurrentFolder) {
    for (const std::string folder : {"", ".", "build", "./bin"}) {
        for (const std::string& found : DataFolders(folder, {"../lib/quillmere"}))
            EXPECT_TRUE(fs::path(found).is_absolute()) << folder << " gave " << found;
    }
}

TEST(DataFiles, TheVariableThenTheFirstFolderHoldingTheFile) {
    const fs::path dir = MakeTempFolder("quillmere-data-");
    ASSERT_FALSE(dir.empty());
    const fs::path program = dir / "bin", installed = dir / "lib/quillmere", other = dir / "share";
    Touch(installed / "places.tsv");
    Touch(other / "places.tsv");
    fs::create_directories(program / "places.tsv"); // a folder of that name is not the file
    const std::vector<std::string> folders = DataFolders(program.string(), {"../lib/quillmere"});
    ASSERT_GE(folders.size(), 2u);
    EXPECT_EQ(folders[0], program.string());
    EXPECT_EQ(folders[1], installed.string());

    const struct {
        const char* variable;
        std::vector<std::string> folders;
        fs::path expected;
    } cases[] = {
        {nullptr, folders, installed / "places.tsv"},
        {"", folders, installed / "places.tsv"},
        {"/chosen/places.tsv", folders, "/chosen/places.tsv"},
        {nullptr, {other.string(), installed.string()}, other / "places.tsv"},
        // Found nowhere: the path in the first folder, for the message.
        {nullptr, {(dir / "none").string()}, dir / "none" / "places.tsv"},
        {nullptr, {}, ""},
    };
    for (const auto& c : cases) {
        Variable variable("QUILLMERE_TEST_DATA", c.variable);
        EXPECT_EQ(FindDataFile("places.tsv", "QUILLMERE_TEST_DATA", c.folders), c.expected.string())
            << (c.variable ? c.variable : "unset");
    }
    fs::remove_all(dir);
}

// Started by its bare name from PATH in a folder where someone planted an atlas, the companion still
// reads the one beside itself.
TEST(DataFiles, ThePlantedAtlasInTheCurrentFolderIsNotRead) {
    const fs::path dir = MakeTempFolder("quillmere-planted-");
    ASSERT_FALSE(dir.empty());
    const fs::path companion = QUILLMERE_CHART_EXE;
    std::ofstream(dir / "quillmere-atlas.tsv") << "not an atlas\n";
    const std::string command = "cd '" + dir.string() + "' && env -u QUILLMERE_ATLAS PATH='" +
                                companion.parent_path().string() + ":/usr/bin:/bin' " +
                                companion.filename().string() + " --places Kathmandu > out.txt 2> err.txt";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::ifstream out(dir / "out.txt"), err(dir / "err.txt");
    std::string first, error;
    std::getline(out, first);
    std::getline(err, error);
    EXPECT_EQ(first.substr(0, first.find('\t')), "Kathmandu") << error;
    fs::remove_all(dir);
}
