// SPDX-License-Identifier: AGPL-3.0-or-later
// Fuzzes the companion's option parser and runner. The input is its argument vector, one argument
// a line (or up to a NUL byte). A fresh temporary folder holds two saved readings that arguments may name as
// in/good.qlm and in/bad.qlm. A --save value (or --save=VALUE) is kept only when it is a plain file name, and
// then it names a file in that folder, so the fuzzer never writes anywhere else. After each run only the
// files asked for may be there (no stray or temporary file); they are removed, so that one input cannot
// change how the next behaves. The working folder of the process is left alone: libFuzzer's own
// corpus and dictionary paths are relative to it.
#include "formats/SavedReadingFile.h"
#include "records/Birth.h"
#include "tools/ChartCommand.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

fs::path g_workDir;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "fuzz_ChartCommand: %s\n", what);
    std::abort();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary);
    file << bytes;
    if (!file)
        Fail("cannot prepare the working folder");
}

// One argument a line. A NUL byte also ends an argument, as it does in the program's argv.
std::vector<std::string> SplitArguments(std::string_view input) {
    std::vector<std::string> args;
    std::size_t start = 0;
    while (start <= input.size()) {
        std::size_t end = input.find_first_of(std::string_view("\n\0", 2), start);
        if (end == std::string_view::npos)
            end = input.size();
        args.emplace_back(input.substr(start, end - start));
        start = end + 1;
    }
    if (!args.empty() && args.back().empty())
        args.pop_back(); // the final line ending
    return args;
}

// A save target is allowed only as a plain name in the working folder.
bool IsPlainName(const std::string& name) {
    return name.find('/') == std::string::npos && name != "." && name != ".." && name != "in" &&
           name != "--save";
}

// Only the files asked for with --save may be left in the working folder: no temporary file of a
// save, and nothing at all without --save. They are removed for the next run.
void CheckAndRemoveWrittenFiles(const std::set<std::string>& asked) {
    std::error_code ec;
    std::vector<fs::path> written;
    for (const fs::directory_entry& entry : fs::directory_iterator(g_workDir, ec))
        if (entry.path().filename() != "in")
            written.push_back(entry.path());
    for (const fs::path& path : written) {
        if (!asked.contains(path.filename().string()))
            Fail("a file was left that no --save asked for");
        fs::remove_all(path, ec);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (fs::temp_directory_path() / "quillmere-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        Fail("cannot make the working folder");
    g_workDir = pattern;
    fs::create_directory(g_workDir / "in");

    Birth birth;
    birth.name = "Asha Rao";
    birth.day = 15;
    birth.month = 8;
    birth.year = 1947;
    birth.latDeg = 28;
    birth.latMin = 39;
    birth.lonDeg = 77;
    birth.lonMin = 13;
    birth.lonEast = true;
    birth.city = birth.state = "Delhi";
    birth.country = "India";
    birth.zoneRow = 34;
    const std::optional<std::string> good = EncodeSavedReading(birth);
    if (!good)
        Fail("cannot encode the sample reading");
    WriteFile(g_workDir / "in" / "good.qlm", *good);
    WriteFile(g_workDir / "in" / "bad.qlm", good->substr(0, good->size() / 2));
    // The folder goes when the fuzzer ends, whichever way it ends.
    std::atexit([] {
        std::error_code ec;
        fs::remove_all(g_workDir, ec);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args =
        SplitArguments(std::string_view(reinterpret_cast<const char*>(data), size));
    std::set<std::string> asked;
    // Every "--save" and "--save=NAME" counts, even one that the parser would take as a value or a
    // file name; its value is checked for all of them before any is rewritten, and no rewritten value
    // is "--save".
    constexpr std::string_view kSaveIs = "--save=";
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i + 1 < args.size() && args[i] == "--save" && !IsPlainName(args[i + 1]))
            return 0;
        if (args[i].starts_with(kSaveIs) && !IsPlainName(args[i].substr(kSaveIs.size())))
            return 0;
    }
    for (std::size_t i = args.size(); i-- > 0;) {
        if (i > 0 && args[i - 1] == "--save") {
            asked.insert(args[i]);
            args[i] = (g_workDir / args[i]).string();
        } else if (args[i].starts_with(kSaveIs)) {
            const std::string name = args[i].substr(kSaveIs.size());
            asked.insert(name);
            args[i] = std::string(kSaveIs) + (g_workDir / name).string();
        } else if (args[i].starts_with("in/")) {
            args[i] = (g_workDir / args[i]).string();
        }
    }

    std::ostringstream out, err;
    const int status = RunChartCommand(args, out, err);
    if (status < 0 || status > 2)
        Fail("an exit status outside 0, 1 and 2");
    if (status != 0 && err.str().empty())
        Fail("a failure without a word on standard error");
    if (status == 0 && out.str().empty())
        Fail("a success that wrote nothing");
    CheckAndRemoveWrittenFiles(asked);
    return 0;
}
