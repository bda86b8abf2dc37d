// SPDX-License-Identifier: AGPL-3.0-or-later
// quillmere-same-readings: checks that two builds of the companion (the Linux one and the Windows one
// under Wine) write the same bytes for the same births. It saves the worked examples and seeded random
// births as saved readings with the first companion's --save, runs each companion over all of them
// with --chart --interpretation, and compares standard output, standard error and exit status. Built
// for the build machine (cmake/host-tools).
//
//   quillmere-same-readings WORK_DIR BIRTHS SEED FIRST_COMPANION -- SECOND_COMPANION_COMMAND...
//
// WORK_DIR is emptied and filled; the second companion may be a command with arguments (the Wine
// runner and the program). Exit status 0 when everything is the same, 1 when something differs or a
// run fails, 2 for a usage error.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string Joined(const std::vector<std::string>& words) {
    std::string line;
    for (const std::string& w : words)
        line += (line.empty() ? "" : " ") + Quoted(w);
    return line;
}

// Runs a command in folder with its outputs in files; its exit status, or -1 when it did not exit.
int Run(const fs::path& folder, const std::vector<std::string>& command, const fs::path& out,
        const fs::path& err) {
    const std::string line = "cd " + Quoted(folder.string()) + " && exec " + Joined(command) + " > " +
                             Quoted(out.string()) + " 2> " + Quoted(err.string());
    const int status = std::system(line.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Starts a program directly (no shell: the births are many) with its output discarded and its errors in
// a file; its process id, or -1.
pid_t Start(const std::vector<std::string>& command, const fs::path& err) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return started == 0 ? pid : -1;
}

// The exit status of a started program, or -1.
int Wait(pid_t pid) {
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The generator's numbers depend on nothing but the seed: mt19937's sequence is fixed by the
// standard, and the reduction to a range is done here rather than by a distribution, whose algorithm
// each library chooses.
class Births {
  public:
    explicit Births(std::uint32_t seed) : gen_(seed) {}

    // The options of one random birth that the entry form accepts.
    std::vector<std::string> Next() {
        const int year = Between(1901, 2050);
        const int month = Between(1, 12);
        static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        const int days = month == 2 && year % 4 != 0 ? 28 : kDays[month - 1];
        const int day = Between(1, days);
        const int hour = Between(0, 24);
        const int minute = Between(0, 59);
        // Now and then an extreme place: next to a pole (the pole itself has no lagna and is refused),
        // the date line, the equator and Greenwich.
        int latDeg = Between(0, 89), latMin = Between(0, 59), lonDeg = Between(0, 179),
            lonMin = Between(0, 59);
        switch (Between(0, 39)) {
        case 0:
            latDeg = 89, latMin = 59;
            break;
        case 1:
            lonDeg = 180, lonMin = 0;
            break;
        case 2:
            latDeg = 0, latMin = 0, lonDeg = 0, lonMin = 0;
            break;
        default:
            break;
        }
        std::vector<std::string> o = {
            "--name",    Text(1, 100),
            "--date",    std::to_string(year) + "-" + std::to_string(month) + "-" + std::to_string(day),
            "--time",    std::to_string(hour) + ":" + std::to_string(minute),
            "--zone",    std::to_string(Between(0, 70)),
            "--lat",     std::to_string(latDeg) + "d" + std::to_string(latMin) + (Between(0, 1) ? "S" : "N"),
            "--lon",     std::to_string(lonDeg) + "d" + std::to_string(lonMin) + (Between(0, 1) ? "W" : "E"),
            "--city",    Text(1, 30),
            "--state",   Text(1, 30),
            "--country", Text(1, 30)};
        if (Between(0, 3) == 0)
            o.push_back("--dst");
        return o;
    }

  private:
    int Between(int low, int high) {
        return low + static_cast<int>(gen_() % static_cast<std::uint32_t>(high - low + 1));
    }
    // Letters and blanks, not blank throughout.
    std::string Text(int shortest, int longest) {
        static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz    ";
        std::string s(static_cast<std::size_t>(Between(shortest, longest)), ' ');
        for (char& c : s)
            c = kLetters[Between(0, static_cast<int>(sizeof kLetters) - 2)];
        s.front() = kLetters[Between(0, 51)];
        return s;
    }

    std::mt19937 gen_;
};

// A line as it can be read in a report: CR and the other control bytes written out.
std::string Shown(const std::string& line) {
    std::string out;
    for (char c : line) {
        if (c == '\r')
            out += "\\r";
        else if (static_cast<unsigned char>(c) < 0x20) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned>(static_cast<unsigned char>(c)));
            out += hex;
        } else
            out += c;
    }
    return out;
}

// Where two outputs of the same files first differ: the file (each reading begins with its "Name: "
// line), the line within the output, and both lines.
std::string FirstDifference(const std::string& a, const std::string& b,
                            const std::vector<std::string>& files) {
    std::size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    const std::size_t start = at == 0 ? std::string::npos : a.rfind('\n', at - 1);
    const std::size_t from = start == std::string::npos ? 0 : start + 1;
    const auto lineAt = [from](const std::string& s) {
        const std::size_t end = s.find('\n', from);
        return from >= s.size() ? std::string("<end>")
                                : Shown(s.substr(from, end == std::string::npos ? end : end - from));
    };
    const std::string before = "\n" + a.substr(0, from + 6); // the current line's "Name: " too
    std::size_t readings = 0;
    for (std::size_t p = 0; (p = before.find("\nName: ", p)) != std::string::npos; ++p)
        ++readings;
    const std::string file =
        readings > 0 && readings <= files.size() ? files[readings - 1] : std::string("?");
    const long line = std::count(a.begin(), a.begin() + static_cast<long>(from), '\n') + 1;
    return file + ", line " + std::to_string(line) + " of the output:\n  first:  " + lineAt(a) +
           "\n  second: " + lineAt(b);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const auto split = std::find(args.begin(), args.end(), "--");
    if (args.size() < 6 || split != args.begin() + 4 || split + 1 == args.end()) {
        std::cerr
            << "usage: quillmere-same-readings WORK_DIR BIRTHS SEED FIRST_COMPANION -- SECOND_COMPANION...\n";
        return 2;
    }
    const fs::path work = fs::absolute(args[0]);
    const int count = std::atoi(args[1].c_str());
    const auto seed = static_cast<std::uint32_t>(std::strtoul(args[2].c_str(), nullptr, 10));
    const std::vector<std::string> first = {fs::absolute(args[3]).string()};
    const std::vector<std::string> second(split + 1, args.end());

    std::error_code ec;
    fs::remove_all(work, ec);
    const fs::path births = work / "births";
    fs::create_directories(births);

    // The worked examples, then the random births, each saved by the first companion.
    std::vector<std::vector<std::string>> options = {
        {"--name", "Test Person", "--date", "1980-01-01", "--time", "12:00", "--zone", "29", "--lat",
         "51d30N", "--lon", "0d0E", "--city", "London", "--state", "England", "--country", "UK"},
        {"--name", "Test Person", "--date", "1947-08-15", "--time", "0:00", "--zone", "34", "--lat", "28d39N",
         "--lon", "77d13E", "--city", "Delhi", "--state", "Delhi", "--country", "India"},
    };
    Births random(seed);
    for (int i = 0; i < count; ++i)
        options.push_back(random.Next());
    // A few at a time: each run waits mostly for its file to reach the disk.
    constexpr std::size_t kRunning = 4;
    const fs::path errors = work / "save-errors";
    fs::create_directories(errors);
    std::vector<std::string> files;
    std::vector<pid_t> running(options.size(), -1);
    for (std::size_t i = 0; i < options.size() + kRunning; ++i) {
        if (i >= kRunning) {
            const std::size_t done = i - kRunning;
            if (Wait(running[done]) != 0) {
                std::cerr << "The first companion did not save birth " << done << " ("
                          << Joined(options[done]) << "):\n"
                          << Contents(errors / (files[done] + ".err"));
                for (std::size_t j = done + 1; j < std::min(i, options.size()); ++j)
                    Wait(running[j]);
                return 1;
            }
        }
        if (i >= options.size())
            continue;
        char name[32];
        std::snprintf(name, sizeof name, "b%05zu.qlm", i);
        files.push_back(name);
        std::vector<std::string> command = first;
        command.insert(command.end(), options[i].begin(), options[i].end());
        command.insert(command.end(), {"--save", (births / name).string()});
        running[i] = Start(command, errors / (files[i] + ".err"));
    }

    // Each companion reads all the files, in runs short enough for a Windows command line.
    constexpr std::size_t kFilesPerRun = 1000;
    bool same = true;
    for (std::size_t from = 0; from < files.size(); from += kFilesPerRun) {
        const std::vector<std::string> batch(
            files.begin() + static_cast<long>(from),
            files.begin() + static_cast<long>(std::min(files.size(), from + kFilesPerRun)));
        std::vector<std::string> outputs[2];
        int status[2];
        const std::vector<std::string>* companions[2] = {&first, &second};
        for (int k = 0; k < 2; ++k) {
            std::vector<std::string> command = *companions[k];
            command.insert(command.end(), {"--chart", "--interpretation"});
            command.insert(command.end(), batch.begin(), batch.end());
            const std::string tag = std::to_string(from) + (k == 0 ? ".first" : ".second");
            status[k] = Run(births, command, work / (tag + ".out"), work / (tag + ".err"));
            outputs[k] = {Contents(work / (tag + ".out")), Contents(work / (tag + ".err"))};
        }
        const char* kinds[2] = {"standard output", "standard error"};
        for (int part = 0; part < 2; ++part) {
            if (outputs[0][static_cast<std::size_t>(part)] != outputs[1][static_cast<std::size_t>(part)]) {
                same = false;
                std::cerr << "The " << kinds[part] << " differs in "
                          << FirstDifference(outputs[0][part], outputs[1][part], batch) << '\n';
            }
        }
        if (status[0] != 0 || status[1] != 0) {
            same = false;
            std::cerr << "Files " << batch.front() << " to " << batch.back() << ": exit status " << status[0]
                      << " and " << status[1] << " (0 expected)\n";
        }
    }

    // The second companion's saved readings are the first's, byte for byte.
    for (std::size_t i = 0; i < 2; ++i) {
        std::vector<std::string> command = second;
        command.insert(command.end(), options[i].begin(), options[i].end());
        command.insert(command.end(), {"--save", "second.qlm"});
        if (Run(births, command, work / "save.out", work / "save.err") != 0 ||
            Contents(births / "second.qlm") != Contents(births / files[i])) {
            same = false;
            std::cerr << "The second companion's saved reading of " << files[i] << " differs\n";
        }
    }

    std::cout << options.size() << " births (the two worked examples and " << count << " seeded with " << seed
              << "): " << (same ? "the same bytes from both companions" : "the companions differ") << '\n';
    return same ? 0 : 1;
}
