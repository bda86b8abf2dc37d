#include "formats/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <random>
#include <utility>

#ifdef _WIN32
#include <filesystem>
#include <fstream>
#include <system_error>
#else
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::function<int(FileStep)>& FaultHook() {
    static std::function<int(FileStep)> hook;
    return hook;
}

// The error the test seam wants for this step, or 0 to carry on.
int InjectedFault(FileStep step) {
    const std::function<int(FileStep)>& hook = FaultHook();
    return hook ? hook(step) : 0;
}

bool Fail(std::string* reason, std::string sentence) {
    if (reason)
        *reason = std::move(sentence);
    return false;
}

ReadFailure ReadFail(std::string* reason, ReadFailure kind, std::string sentence) {
    if (reason)
        *reason = std::move(sentence);
    return kind;
}

std::string TooLongSentence(std::size_t limit) {
    return "It is longer than " + std::to_string(limit) + " bytes.";
}

constexpr const char* kNotAFile = "The name is not that of a file.";
constexpr const char* kIsFolder = "It is a folder, not a file.";
constexpr const char* kNotRegular = "It is not a regular file.";
constexpr const char* kReadOnly = "The file is read-only.";

// Six random letters or digits for a temporary name.
std::string RandomSuffix() {
    static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static thread_local std::mt19937_64 gen{std::random_device{}()};
    std::string s(6, 'x');
    for (char& c : s)
        c = kChars[gen() % (sizeof(kChars) - 1)];
    return s;
}

// The folder part of a path, with its trailing separator ("" for a bare name).
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

void SetFileFaultHook(std::function<int(FileStep)> hook) {
    FaultHook() = std::move(hook);
}

std::string SystemErrorSentence(int error) {
    switch (error) {
    case ENOSPC:
        return "No space is left on the device.";
#ifdef EDQUOT
    case EDQUOT:
        return "The disk quota is exceeded.";
#endif
    case EACCES:
    case EPERM:
        return "Permission was denied.";
    case EROFS:
        return "The file system is read-only.";
    case EIO:
        return "An input or output error occurred.";
    case ENOENT:
        return "There is no such file or folder.";
    case ENOTDIR:
        return "A part of the path is not a folder.";
    case ENAMETOOLONG:
        return "The file name is too long.";
    case EISDIR:
        return kIsFolder;
#ifdef ELOOP
    case ELOOP:
        return "The path has too many symbolic links.";
#endif
    case EFBIG:
        return "The file is too large.";
    default:
        break;
    }
    std::string text = std::strerror(error);
    if (text.empty() || text.back() != '.')
        text += '.';
    return text;
}

#ifndef _WIN32

namespace {

// Follows a chain of symbolic links to the path that is finally written, so the link itself stays.
bool ResolveLinks(std::string path, std::string& finalPath, std::string* reason) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            finalPath = std::move(path);
            return true;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size())
            return Fail(reason, SystemErrorSentence(n < 0 ? errno : ENAMETOOLONG));
        target.resize(static_cast<std::size_t>(n));
        path = (!target.empty() && target.front() == '/') ? target : FolderOf(path) + target;
    }
    return Fail(reason, SystemErrorSentence(ELOOP));
}

// Whether this process may replace the file's contents. Root passes access() for every file, so for
// root (and for the owner) the mode bits decide: a file nobody may write is read-only to us as well.
bool MayWrite(const std::string& path, const struct stat& st) {
    const uid_t me = ::geteuid();
    if (me == st.st_uid)
        return (st.st_mode & S_IWUSR) != 0;
    if (me == 0)
        return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return ::access(path.c_str(), W_OK) == 0;
}

bool WriteAll(int fd, std::string_view bytes, int& error) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        if (n == 0) {
            error = ENOSPC;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason) {
    // A NUL would cut the name short at the system's door and write another file.
    if (path.empty() || path.find('\0') != std::string::npos || path.back() == '/')
        return Fail(reason, kNotAFile);
    std::string target;
    if (!ResolveLinks(path, target, reason))
        return false;

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return Fail(reason, SystemErrorSentence(errno));
    if (exists && S_ISDIR(old.st_mode))
        return Fail(reason, kIsFolder);
    if (exists && !S_ISREG(old.st_mode))
        return Fail(reason, kNotRegular);
    if (exists && !MayWrite(target, old))
        return Fail(reason, kReadOnly);

    // A short name beside the target, so any name the system accepts for the target still works.
    const std::string folder = FolderOf(target);
    std::string temp;
    int fd = -1;
    int error = InjectedFault(FileStep::Open);
    for (int attempt = 0; error == 0 && fd < 0 && attempt < 100; ++attempt) {
        temp = folder + ".qm-" + RandomSuffix();
        // A new file gets the mode any new file would get (the umask applies); an earlier file's
        // mode is set once the temporary file is ours alone.
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST)
            error = errno;
    }
    if (fd < 0)
        return Fail(reason, SystemErrorSentence(error != 0 ? error : EEXIST));

    const auto abandon = [&](int err) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temp.c_str());
        return Fail(reason, SystemErrorSentence(err));
    };

    if (exists) {
        mode_t mode = old.st_mode & 07777;
        // Only root may give a file away; a file we cannot give back keeps no set-id bits.
        if ((old.st_uid != ::geteuid() || old.st_gid != ::getegid()) &&
            ::fchown(fd, old.st_uid, old.st_gid) != 0)
            mode &= static_cast<mode_t>(~(S_ISUID | S_ISGID));
        if (::fchmod(fd, mode) != 0)
            return abandon(errno);
    }

    error = InjectedFault(FileStep::Write);
    if (error != 0 || !WriteAll(fd, bytes, error))
        return abandon(error);

    error = InjectedFault(FileStep::Flush);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (error != 0)
        return abandon(error);

    error = InjectedFault(FileStep::Close);
    const int closed = ::close(fd);
    fd = -1;
    if (error == 0 && closed != 0)
        error = errno;
    if (error != 0)
        return abandon(error);

    error = InjectedFault(FileStep::Rename);
    if (error == 0 && ::rename(temp.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0)
        return abandon(error);

    // The new name lasts through a power cut only once the folder is on disk too.
    const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

namespace {
// The system's part of ReadRegularFile, for a path that can name a file.
ReadFailure ReadNamedFile(const std::string& path, std::size_t limit, std::string& bytes,
                          std::string* reason) {
    const auto fail = [reason](ReadFailure kind, std::string sentence) {
        return ReadFail(reason, kind, std::move(sentence));
    };
    // Refuse devices before opening them (opening some has effects), and check again on the open
    // file, which is what is read. Non-blocking, so a FIFO cannot hold the open.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return fail(ReadFailure::NotRegular, S_ISDIR(st.st_mode) ? kIsFolder : kNotRegular);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return fail(ReadFailure::System, SystemErrorSentence(errno));
    const auto done = [&](ReadFailure kind, std::string sentence) {
        ::close(fd);
        return fail(kind, std::move(sentence));
    };
    if (::fstat(fd, &st) != 0)
        return done(ReadFailure::System, SystemErrorSentence(errno));
    if (!S_ISREG(st.st_mode))
        return done(ReadFailure::NotRegular, S_ISDIR(st.st_mode) ? kIsFolder : kNotRegular);
    if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > limit)
        return done(ReadFailure::TooLong, TooLongSentence(limit));

    std::string data;
    data.reserve(static_cast<std::size_t>(st.st_size));
    char chunk[4096];
    for (;;) {
        if (const int fault = InjectedFault(FileStep::Read))
            return done(ReadFailure::System, SystemErrorSentence(fault));
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return done(ReadFailure::System, SystemErrorSentence(errno));
        }
        if (n == 0)
            break;
        // The file may grow while it is read.
        if (static_cast<std::size_t>(n) > limit - data.size())
            return done(ReadFailure::TooLong, TooLongSentence(limit));
        data.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
    bytes = std::move(data);
    return ReadFailure::None;
}
} // namespace

#else // _WIN32: a plain fallback through the standard library

namespace fs = std::filesystem;

namespace {
fs::path PathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}
} // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason) {
    if (path.empty() || path.find('\0') != std::string::npos)
        return Fail(reason, kNotAFile);
    const fs::path target = PathOf(path);
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (fs::exists(status) && fs::is_directory(status))
        return Fail(reason, kIsFolder);
    if (fs::exists(status) && !fs::is_regular_file(status))
        return Fail(reason, kNotRegular);
    if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none)
        return Fail(reason, kReadOnly);
    fs::path temp;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = target.parent_path() / PathOf(".qm-" + RandomSuffix());
        if (!fs::exists(temp, ec))
            break;
    }
    const auto abandon = [&](int err) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        return Fail(reason, SystemErrorSentence(err));
    };
    int error = InjectedFault(FileStep::Open);
    if (error != 0)
        return Fail(reason, SystemErrorSentence(error));
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out)
        return Fail(reason, SystemErrorSentence(errno != 0 ? errno : EACCES));
    error = InjectedFault(FileStep::Write);
    if (error == 0) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            error = EIO;
    }
    if (error == 0)
        error = InjectedFault(FileStep::Flush);
    if (error == 0 && !out.flush())
        error = EIO;
    if (error == 0)
        error = InjectedFault(FileStep::Close);
    out.close();
    if (error == 0 && out.fail())
        error = EIO;
    if (error == 0)
        error = InjectedFault(FileStep::Rename);
    if (error == 0) {
        fs::rename(temp, target, ec);
        if (ec)
            error = ec.value();
    }
    if (error != 0) {
        out.close();
        return abandon(error);
    }
    return true;
}

namespace {
// The system's part of ReadRegularFile, for a path that can name a file.
ReadFailure ReadNamedFile(const std::string& path, std::size_t limit, std::string& bytes,
                          std::string* reason) {
    const auto fail = [reason](ReadFailure kind, std::string sentence) {
        return ReadFail(reason, kind, std::move(sentence));
    };
    const fs::path file = PathOf(path);
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (fs::exists(status) && !fs::is_regular_file(status))
        return fail(ReadFailure::NotRegular, fs::is_directory(status) ? kIsFolder : kNotRegular);
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return fail(ReadFailure::System, SystemErrorSentence(errno != 0 ? errno : ENOENT));
    std::string data;
    char chunk[4096];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        if (const int fault = InjectedFault(FileStep::Read))
            return fail(ReadFailure::System, SystemErrorSentence(fault));
        const auto n = static_cast<std::size_t>(in.gcount());
        if (n > limit - data.size())
            return fail(ReadFailure::TooLong, TooLongSentence(limit));
        data.append(chunk, n);
    }
    if (in.bad())
        return fail(ReadFailure::System, SystemErrorSentence(EIO));
    bytes = std::move(data);
    return ReadFailure::None;
}
} // namespace

#endif

ReadFailure ReadRegularFile(const std::string& path, std::size_t limit, std::string& bytes,
                            std::string* reason) {
    if (path.empty() || path.find('\0') != std::string::npos)
        return ReadFail(reason, ReadFailure::System, kNotAFile);
    if (const int fault = InjectedFault(FileStep::ReadOpen))
        return ReadFail(reason, ReadFailure::System, SystemErrorSentence(fault));
    return ReadNamedFile(path, limit, bytes, reason);
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    return ReadRegularFile(path, std::numeric_limits<std::size_t>::max(), bytes) == ReadFailure::None;
}
