// SPDX-License-Identifier: AGPL-3.0-or-later
// quillmere-chart: Quillmere's readings without the window, for scripts and batches.
#include "formats/AtomicFile.h"
#include "formats/DataFiles.h"
#include "pipeline/ReadingPipeline.h"
#include "tools/ChartCommand.h"

#include <cerrno>
#include <filesystem>
#include <iostream>
#include <streambuf>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#define QM_WRITE _write
#define QM_CLOSE _close
#else
#include <unistd.h>
#define QM_WRITE ::write
#define QM_CLOSE ::close
#endif

namespace {

// Standard output that remembers why it failed, so a full disk or a closed pipe is reported instead
// of lost: the readings are the program's only product here.
class StandardOutput : public std::streambuf {
  public:
    StandardOutput() { setp(buffer_, buffer_ + sizeof buffer_); }
    int Error() const { return error_; }

  protected:
    int_type overflow(int_type ch) override {
        if (!Drain())
            return traits_type::eof();
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(ch);
            pbump(1);
        }
        return traits_type::not_eof(ch);
    }
    int sync() override { return Drain() ? 0 : -1; }

  private:
    bool Drain() {
        const char* p = pbase();
        std::size_t left = static_cast<std::size_t>(pptr() - pbase());
        setp(buffer_, buffer_ + sizeof buffer_);
        while (left > 0 && error_ == 0) {
            const auto n = QM_WRITE(1, p, static_cast<unsigned>(left));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                error_ = n < 0 ? errno : EIO;
                break;
            }
            p += n;
            left -= static_cast<std::size_t>(n);
        }
        return error_ == 0;
    }

    char buffer_[1 << 16];
    int error_ = 0;
};

#ifdef _WIN32
std::string Utf8(const wchar_t* wide) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return {};
    std::string text(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), n, nullptr, nullptr);
    text.pop_back();
    return text;
}

// The arguments in UTF-8, as the program holds names: argv has them in the ANSI code page, which
// cannot hold every file name.
std::vector<std::string> Arguments(int, char**) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i)
        args.push_back(Utf8(wide[i]));
    ::LocalFree(wide);
    return args;
}

#else
std::vector<std::string> Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}
#endif

} // namespace

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
#ifdef _WIN32
    // The readings' bytes go out as they are: in text mode every LF would gain a CR.
    _setmode(1, _O_BINARY);
#endif
    const std::vector<std::string> args = Arguments(argc, argv);
    // The ephemeris files and the atlas of places may lie beside the companion, as beside the program;
    // its own folder comes from the system, not from argv[0], which may be a bare name found on PATH.
    const std::string folder = ProgramFolder();
    UseEphemerisFilesBeside(folder);
    UseAtlasBeside(folder);
    StandardOutput buffer;
    std::ostream out(&buffer);
    int status = RunChartCommand(args, out, std::cerr);
    out.flush();
    int error = buffer.Error();
    // Some file systems report a failed write only when the file is closed.
    if (QM_CLOSE(1) != 0 && error == 0 && errno != EBADF)
        error = errno;
    if (error != 0) {
        std::cerr << "quillmere-chart: standard output: " << SystemErrorSentence(error) << '\n';
        if (status == 0)
            status = 1;
    }
    return status;
}
