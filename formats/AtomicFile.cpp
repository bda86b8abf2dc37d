// SPDX-License-Identifier: AGPL-3.0-or-later
#include "formats/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <limits>
#include <random>
#include <utility>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <system_error>
#else
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/xattr.h>
#endif
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

// The read loop of both systems. readChunk fills the buffer and gives the count read, 0 at the end,
// or -1 with the error number in its last argument. The bytes are given only when all were read.
template <typename ReadChunk>
ReadFailure ReadChunks(ReadChunk readChunk, std::size_t expected, std::size_t limit, std::string& bytes,
                       std::string& sentence) {
    std::string data;
    data.reserve(expected);
    char chunk[4096];
    for (;;) {
        if (const int fault = InjectedFault(FileStep::Read)) {
            sentence = SystemErrorSentence(fault);
            return ReadFailure::System;
        }
        int error = 0;
        const long long n = readChunk(chunk, sizeof chunk, error);
        if (n < 0) {
            sentence = SystemErrorSentence(error);
            return ReadFailure::System;
        }
        if (n == 0)
            break;
        // The file may grow while it is read.
        if (static_cast<unsigned long long>(n) > limit - data.size()) {
            sentence = TooLongSentence(limit);
            return ReadFailure::TooLong;
        }
        data.append(chunk, static_cast<std::size_t>(n));
    }
    bytes = std::move(data);
    return ReadFailure::None;
}
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

#ifdef __linux__
constexpr const char* kAccessAcl = "system.posix_acl_access";
constexpr const char* kAttributesNotKept =
    "The file's access control list or extended attributes could not be kept.";

// Reads a list or a value that the system sizes first (`call(nullptr, 0)`); ERANGE means it grew in
// between, so it is asked again. Returns 0 or the error.
template <typename Call> int ReadSized(Call call, std::string& out) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        const ssize_t size = call(nullptr, 0);
        if (size < 0)
            return errno;
        out.assign(static_cast<std::size_t>(size), '\0');
        const ssize_t n = call(out.data(), out.size());
        if (n >= 0) {
            out.resize(static_cast<std::size_t>(n));
            return 0;
        }
        if (errno != ERANGE)
            return errno;
    }
    return ERANGE;
}

// Gives the new file every extended attribute of the earlier one, its access control list
// (system.posix_acl_access) among them. Returns 0 or the error that stopped the copy.
int CopyAttributes(const std::string& from, int to) {
    if (const int fault = InjectedFault(FileStep::Attributes))
        return fault;
    std::string names;
    if (const int error = ReadSized(
            [&](char* list, std::size_t size) { return ::llistxattr(from.c_str(), list, size); }, names))
        return error == ENOTSUP ? 0 : error; // a file system without them has none to keep
    // The list a folder gives new files by default goes first: it could grant what the earlier file
    // did not, and it takes room that an earlier file with a full attribute block needs for its own.
    if (::fremovexattr(to, kAccessAcl) != 0 && errno != ENODATA && errno != ENOTSUP)
        return errno;
    for (std::size_t at = 0; at < names.size();) {
        const std::string name(names.c_str() + at);
        at += name.size() + 1;
        // The kernel's own measures of the contents; the new contents get theirs.
        if (name.empty() || name == "security.ima" || name == "security.evm")
            continue;
        std::string value;
        if (const int error = ReadSized(
                [&](char* data, std::size_t size) {
                    return ::lgetxattr(from.c_str(), name.c_str(), data, size);
                },
                value))
            return error;
        // What the new file carries already (a security label) is not set again, which could need rights.
        std::string present;
        if (ReadSized([&](char* data, std::size_t size) { return ::fgetxattr(to, name.c_str(), data, size); },
                      present) == 0 &&
            present == value)
            continue;
        if (::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0)
            return errno;
    }
    return 0;
}
#endif

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
#ifdef __linux__
        // Without its access list the file could be open to more people than before: rather not
        // replace it. The mode comes after the list, which sets the mode's bits as well.
        if (const int err = CopyAttributes(target, fd)) {
            abandon(err);
            return Fail(reason, std::string(kAttributesNotKept) + " " + SystemErrorSentence(err));
        }
#endif
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

    std::string sentence;
    const ReadFailure kind = ReadChunks(
        [fd](char* buffer, std::size_t size, int& error) -> long long {
            for (;;) {
                const ssize_t n = ::read(fd, buffer, size);
                if (n >= 0)
                    return n;
                if (errno != EINTR) {
                    error = errno;
                    return -1;
                }
            }
        },
        static_cast<std::size_t>(st.st_size), limit, bytes, sentence);
    ::close(fd);
    return kind == ReadFailure::None ? kind : fail(kind, std::move(sentence));
}
} // namespace

#else // _WIN32: the same steps through the Windows API

namespace {

// The program holds names in UTF-8; Windows takes them in UTF-16. Empty for bytes that are not UTF-8.
std::wstring Wide(const std::string& utf8) {
    const int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                        static_cast<int>(utf8.size()), nullptr, 0);
    if (n <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()),
                          wide.data(), n);
    return wide;
}

// The error number whose sentence fits a Windows error best.
int ErrnoOf(DWORD error) {
    switch (error) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EACCES;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return ENOENT;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_DIRECTORY:
        return ENOTDIR;
    case ERROR_CANT_RESOLVE_FILENAME:
        return ELOOP;
    case ERROR_INVALID_NAME:
        return EINVAL;
    default:
        return EIO;
    }
}

int LastErrno() {
    return ErrnoOf(::GetLastError());
}

// The full name of a file (drive and folders), which replacing a file needs: Wine's ReplaceFileW fails
// on a name relative to the working folder.
std::wstring FullPath(const std::wstring& path) {
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0)
        return path;
    std::wstring full(size, L'\0');
    const DWORD n = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (n == 0 || n >= size)
        return path;
    full.resize(n);
    return full;
}

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// Follows a chain of symbolic links to the path that is finally written, so the link itself stays.
bool ResolveLinks(std::string path, std::string& finalPath, std::string* reason) {
    namespace fs = std::filesystem;
    for (int hop = 0; hop < 40; ++hop) {
        std::error_code ec;
        const fs::path p(Wide(path));
        if (!fs::is_symlink(fs::symlink_status(p, ec))) {
            finalPath = std::move(path);
            return true;
        }
        const fs::path target = fs::read_symlink(p, ec);
        if (ec)
            return Fail(reason, SystemErrorSentence(ec.value()));
        const std::u8string text = target.u8string();
        const std::string utf8(text.begin(), text.end());
        path = target.has_root_path() ? utf8 : FolderOf(path) + utf8;
    }
    return Fail(reason, SystemErrorSentence(ELOOP));
}

bool WriteAll(HANDLE file, std::string_view bytes, int& error) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr)) {
            error = LastErrno();
            return false;
        }
        if (written == 0) {
            error = ENOSPC;
            return false;
        }
        done += written;
    }
    return true;
}

} // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason) {
    if (path.empty() || path.find('\0') != std::string::npos || IsSeparator(path.back()) ||
        Wide(path).empty())
        return Fail(reason, kNotAFile);
    std::string target;
    if (!ResolveLinks(path, target, reason))
        return false;
    const std::wstring named = Wide(target);

    const DWORD attributes = ::GetFileAttributesW(named.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        return Fail(reason, SystemErrorSentence(LastErrno()));
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return Fail(reason, kIsFolder);
    if (exists) {
        // A device or a pipe under a file's name is not replaced.
        const HANDLE probe =
            ::CreateFileW(named.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        const bool disk = probe != INVALID_HANDLE_VALUE && ::GetFileType(probe) == FILE_TYPE_DISK;
        if (probe != INVALID_HANDLE_VALUE)
            ::CloseHandle(probe);
        if (!disk)
            return Fail(reason, kNotRegular);
    }
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return Fail(reason, kReadOnly);

    // A short name beside the target, so any name the system accepts for the target still works.
    const std::wstring wideTarget = FullPath(named);
    const std::wstring folder = wideTarget.substr(0, wideTarget.find_last_of(L"\\/") + 1);
    std::wstring temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    int error = InjectedFault(FileStep::Open);
    for (int attempt = 0; error == 0 && file == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
        temp = folder + Wide(".qm-" + RandomSuffix());
        file = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                             nullptr);
        if (file == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS)
            error = LastErrno();
    }
    if (file == INVALID_HANDLE_VALUE)
        return Fail(reason, SystemErrorSentence(error != 0 ? error : EEXIST));

    const auto abandon = [&](int err) {
        if (file != INVALID_HANDLE_VALUE)
            ::CloseHandle(file);
        ::DeleteFileW(temp.c_str());
        return Fail(reason, SystemErrorSentence(err));
    };

    error = InjectedFault(FileStep::Write);
    if (error != 0 || !WriteAll(file, bytes, error))
        return abandon(error);

    error = InjectedFault(FileStep::Flush);
    if (error == 0 && !::FlushFileBuffers(file))
        error = LastErrno();
    if (error != 0)
        return abandon(error);

    error = InjectedFault(FileStep::Close);
    const BOOL closed = ::CloseHandle(file);
    file = INVALID_HANDLE_VALUE;
    if (error == 0 && !closed)
        error = LastErrno();
    if (error != 0)
        return abandon(error);

    // The earlier file's attributes (hidden, system ...) go to the new one here too, as not every
    // ReplaceFileW carries them (Wine's does not).
    constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (exists && (attributes & kKeptAttributes) != 0 &&
        !::SetFileAttributesW(temp.c_str(), attributes & kKeptAttributes))
        return abandon(LastErrno());

    error = InjectedFault(FileStep::Rename);
    if (error == 0 && exists) {
        // Replacing keeps what the earlier file carried: its permissions (the access list).
        if (!::ReplaceFileW(wideTarget.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                            nullptr, nullptr)) {
            const DWORD failure = ::GetLastError();
            // The earlier file is already gone and the new one still has its temporary name.
            if (failure != ERROR_UNABLE_TO_MOVE_REPLACEMENT ||
                !::MoveFileExW(temp.c_str(), wideTarget.c_str(), MOVEFILE_WRITE_THROUGH))
                error = ErrnoOf(failure);
        }
    } else if (error == 0 && !::MoveFileExW(temp.c_str(), wideTarget.c_str(), MOVEFILE_WRITE_THROUGH)) {
        error = LastErrno();
    }
    if (error != 0)
        return abandon(error);
    return true;
}

namespace {
// The system's part of ReadRegularFile, for a path that can name a file.
ReadFailure ReadNamedFile(const std::string& path, std::size_t limit, std::string& bytes,
                          std::string* reason) {
    const auto fail = [reason](ReadFailure kind, std::string sentence) {
        return ReadFail(reason, kind, std::move(sentence));
    };
    const std::wstring name = Wide(path);
    if (name.empty())
        return fail(ReadFailure::System, kNotAFile);
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return fail(ReadFailure::NotRegular, kIsFolder);
    const HANDLE file =
        ::CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return fail(ReadFailure::System, SystemErrorSentence(LastErrno()));
    const auto done = [&](ReadFailure kind, std::string sentence) {
        ::CloseHandle(file);
        return fail(kind, std::move(sentence));
    };
    // What was opened is what is read: a device, a console or a pipe is refused.
    if (::GetFileType(file) != FILE_TYPE_DISK)
        return done(ReadFailure::NotRegular, kNotRegular);
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size))
        return done(ReadFailure::System, SystemErrorSentence(LastErrno()));
    if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > limit)
        return done(ReadFailure::TooLong, TooLongSentence(limit));

    std::string sentence;
    const ReadFailure kind = ReadChunks(
        [file](char* buffer, std::size_t capacity, int& error) -> long long {
            DWORD n = 0;
            if (!::ReadFile(file, buffer, static_cast<DWORD>(capacity), &n, nullptr)) {
                error = LastErrno();
                return -1;
            }
            return n;
        },
        static_cast<std::size_t>(size.QuadPart), limit, bytes, sentence);
    ::CloseHandle(file);
    return kind == ReadFailure::None ? kind : fail(kind, std::move(sentence));
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
