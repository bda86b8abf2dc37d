// SPDX-License-Identifier: AGPL-3.0-or-later
// The whole-or-nothing writer on real files in a temporary folder.
#include "formats/AtomicFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef __linux__
#include <sys/xattr.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class AtomicFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = MakeTempFolder("qm-atomic-");
        ASSERT_FALSE(dir_.empty());
    }
    void TearDown() override {
        SetFileFaultHook({});
        fs::remove_all(dir_);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    // On Windows the mode gives only the read-only attribute (no write bit for the owner).
    std::string Put(const std::string& name, const std::string& bytes, unsigned mode = 0644) {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        fs::permissions(Path(name), static_cast<fs::perms>(mode));
        return Path(name);
    }
    static std::string Get(const std::string& path) {
        std::string bytes;
        return ReadWholeFile(path, bytes) ? bytes : "<unreadable>";
    }
#ifndef _WIN32
    static mode_t ModeOf(const std::string& path) {
        struct stat st {};
        return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
    }
#endif
    // Every name in a folder, hidden ones included.
    std::set<std::string> Names(const fs::path& folder) const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }
    fs::path dir_;
};

} // namespace

#ifndef _WIN32

TEST_F(AtomicFileTest, KeepsTheEarlierFilesPermissions) {
    for (const mode_t mode : {0600, 0640, 0644, 0664, 0700, 0751, 0604}) {
        const std::string path = Put("kept.txt", "old", mode);
        std::string reason;
        ASSERT_TRUE(WriteFileAtomically(path, "new contents", &reason)) << std::oct << mode << " " << reason;
        EXPECT_EQ(Get(path), "new contents");
        EXPECT_EQ(ModeOf(path) & 07777, mode) << std::oct << mode;
        EXPECT_TRUE(S_ISREG(ModeOf(path)));
    }
    EXPECT_EQ(Names(dir_), std::set<std::string>{"kept.txt"});
    // Only root may give a file to another owner; then the owner is kept too.
    if (::geteuid() == 0) {
        const std::string path = Put("owned.txt", "old", 0640);
        ASSERT_EQ(::chown(path.c_str(), 1234, 5678), 0);
        ASSERT_TRUE(WriteFileAtomically(path, "new"));
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, 1234u);
        EXPECT_EQ(st.st_gid, 5678u);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
    }
}

// A file written new gets what any new file gets: 0666 less the umask, not the temporary file's 0600.
TEST_F(AtomicFileTest, ANewFileFollowsTheUmask) {
    for (const mode_t mask : {022, 002, 077, 027}) {
        const mode_t before = ::umask(mask);
        const std::string path = Path("new" + std::to_string(mask) + ".txt");
        const bool written = WriteFileAtomically(path, "first");
        ::umask(before);
        ASSERT_TRUE(written);
        EXPECT_EQ(ModeOf(path) & 07777, 0666 & ~mask) << std::oct << mask;
    }
}

TEST_F(AtomicFileTest, WritesThroughSymbolicLinksToTheirFinalTarget) {
    fs::create_directory(dir_ / "real");
    Put("real/target.txt", "old", 0640);
    fs::create_symlink("real/target.txt", dir_ / "inner");  // relative to the link's folder
    fs::create_symlink(dir_ / "inner", dir_ / "outer.txt"); // absolute, a chain of two
    fs::create_symlink("real/absent.txt", dir_ / "dangling.txt");

    ASSERT_TRUE(WriteFileAtomically(Path("outer.txt"), "through the chain"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "outer.txt"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "inner"));
    EXPECT_EQ(Get(Path("real/target.txt")), "through the chain");
    EXPECT_EQ(ModeOf(Path("real/target.txt")) & 07777, 0640u);

    ASSERT_TRUE(WriteFileAtomically(Path("dangling.txt"), "made"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "dangling.txt"));
    EXPECT_EQ(Get(Path("real/absent.txt")), "made");
    // The temporary files went beside the targets and are gone.
    EXPECT_EQ(Names(dir_), (std::set<std::string>{"dangling.txt", "inner", "outer.txt", "real"}));
    EXPECT_EQ(Names(dir_ / "real"), (std::set<std::string>{"absent.txt", "target.txt"}));

    fs::create_symlink("loop.txt", dir_ / "loop.txt");
    std::string reason;
    EXPECT_FALSE(WriteFileAtomically(Path("loop.txt"), "x", &reason));
    EXPECT_EQ(reason, "The path has too many symbolic links.");
}

// Root may write any file, so a file nobody may write must be refused by its mode, not by access().
TEST_F(AtomicFileTest, RefusesWhatIsNotAWritableRegularFile) {
    fs::create_directory(dir_ / "folder");
    ASSERT_EQ(::mkfifo(Path("pipe").c_str(), 0644), 0);
    Put("readonly.txt", "kept", 0444);
    Put("ownerreadonly.txt", "kept", 0466);
    fs::create_symlink(dir_ / "readonly.txt", dir_ / "link-to-readonly");
    const struct {
        const char* name;
        const char* reason;
    } cases[] = {
        {"folder", "It is a folder, not a file."},
        {"folder/", "The name is not that of a file."},
        {"pipe", "It is not a regular file."},
        {"readonly.txt", "The file is read-only."},
        {"ownerreadonly.txt", "The file is read-only."},
        {"link-to-readonly", "The file is read-only."},
        {"no/such/folder.txt", "There is no such file or folder."},
    };
    for (const auto& c : cases) {
        std::string reason;
        EXPECT_FALSE(WriteFileAtomically(Path(c.name), "new", &reason)) << c.name;
        EXPECT_EQ(reason, c.reason) << c.name;
    }
    EXPECT_FALSE(WriteFileAtomically(Path("x") + std::string(1, '\0') + "y", "new"));
    EXPECT_TRUE(S_ISFIFO(ModeOf(Path("pipe"))));
    EXPECT_EQ(Get(Path("readonly.txt")), "kept");
    EXPECT_EQ(Get(Path("ownerreadonly.txt")), "kept");
    EXPECT_TRUE(fs::is_symlink(dir_ / "link-to-readonly"));
    EXPECT_EQ(Names(dir_), (std::set<std::string>{"folder", "link-to-readonly", "ownerreadonly.txt", "pipe",
                                                  "readonly.txt"}));
}

// The temporary name is short, so every name the system allows for the file itself works.
TEST_F(AtomicFileTest, AnyNameUpTo255BytesWorks) {
    for (const std::size_t length : {1u, 241u, 242u, 250u, 255u}) {
        const std::string name(length, 'n');
        std::string reason;
        EXPECT_TRUE(WriteFileAtomically(Path(name), "x", &reason)) << length << " " << reason;
        EXPECT_EQ(Get(Path(name)), "x") << length;
    }
    std::string reason;
    EXPECT_FALSE(WriteFileAtomically(Path(std::string(256, 'n')), "x", &reason));
    EXPECT_EQ(reason, "The file name is too long.");
}

#ifdef __linux__

namespace {

// What getfacl shows of a file's access control list, or "" when it cannot be run.
std::string AclOf(const std::string& path) {
    std::string text;
    if (FILE* pipe = ::popen(("getfacl -cp '" + path + "' 2>/dev/null").c_str(), "r")) {
        char chunk[256];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
            text.append(chunk, n);
        if (::pclose(pipe) != 0)
            text.clear();
    }
    return text;
}

bool SetAcl(const std::string& options, const std::string& path) {
    return std::system(("setfacl " + options + " '" + path + "' 2>/dev/null").c_str()) == 0;
}

std::string AttributeOf(const std::string& path, const char* name) {
    char value[64];
    const ssize_t n = ::getxattr(path.c_str(), name, value, sizeof value);
    return n < 0 ? "<none>" : std::string(value, static_cast<std::size_t>(n));
}

} // namespace

// A file shared with one more user keeps that list and its extended attributes; a file without a list
// does not get the one the folder gives new files; and when they cannot be carried over the file is
// kept as it was.
TEST_F(AtomicFileTest, KeepsTheAccessControlListAndExtendedAttributes) {
    const std::string shared = Put("shared.qlm", "old", 0640);
    if (!SetAcl("-m u:nobody:rw", shared))
        GTEST_SKIP() << "setfacl (package acl) is missing, or " << dir_ << " takes no access control lists";
    if (::setxattr(shared.c_str(), "user.origin", "chart", 5, 0) != 0)
        GTEST_SKIP() << dir_ << " takes no user extended attributes";
    const std::string sharedAcl = "user::rw-\nuser:nobody:rw-\ngroup::r--\nmask::rw-\nother::---\n\n";
    ASSERT_EQ(AclOf(shared), sharedAcl);
    std::string reason;
    ASSERT_TRUE(WriteFileAtomically(shared, "new", &reason)) << reason;
    EXPECT_EQ(Get(shared), "new");
    EXPECT_EQ(AclOf(shared), sharedAcl);
    EXPECT_EQ(AttributeOf(shared, "user.origin"), "chart");

    const std::string plain = Put("plain.qlm", "old", 0660);
    ASSERT_TRUE(SetAcl("-d -m u:nobody:rw", dir_.string()));
    ASSERT_TRUE(WriteFileAtomically(plain, "new", &reason)) << reason;
    EXPECT_EQ(AclOf(plain), "user::rw-\ngroup::rw-\nother::---\n\n");
    EXPECT_EQ(AttributeOf(plain, "user.origin"), "<none>");

    for (const int error : {EPERM, ENOTSUP}) {
        SetFileFaultHook([error](FileStep s) { return s == FileStep::Attributes ? error : 0; });
        EXPECT_FALSE(WriteFileAtomically(shared, "lost", &reason));
        SetFileFaultHook({});
        EXPECT_EQ(reason, "The file's access control list or extended attributes could not be kept. " +
                              SystemErrorSentence(error));
        EXPECT_EQ(Get(shared), "new");
        EXPECT_EQ(AclOf(shared), sharedAcl);
        EXPECT_EQ(Names(dir_), (std::set<std::string>{"plain.qlm", "shared.qlm"}));
    }
}

namespace {

// Fills the file's extended attributes until the file system takes no more; the names set, in order.
std::vector<std::string> FillAttributes(const std::string& path) {
    std::vector<std::string> names;
    for (const std::size_t size : {512u, 64u, 8u, 0u}) {
        const std::string value(size, 'v');
        for (;;) {
            std::string name = "user.f" + std::to_string(names.size());
            if (::setxattr(path.c_str(), name.c_str(), value.data(), value.size(), XATTR_CREATE) != 0)
                break;
            names.push_back(std::move(name));
            if (names.size() > 1000)
                return {}; // no limit within reach
        }
        if (errno != ENOSPC && errno != E2BIG)
            return {};
    }
    return names;
}

} // namespace

// A file whose attributes fill their room is replaced with all of them in a folder that gives new files
// an access list, which the new file does not keep.
TEST_F(AtomicFileTest, AFileWithFullAttributesIsReplacedInAFolderWithADefaultList) {
    const std::string full = Put("full.qlm", "old", 0640);
    const std::vector<std::string> names = FillAttributes(full);
    if (names.empty())
        GTEST_SKIP() << dir_ << " takes no user extended attributes, or no end of them";
    if (!SetAcl("-d -m u:nobody:rw", dir_.string()))
        GTEST_SKIP() << "setfacl (package acl) is missing, or " << dir_ << " takes no access control lists";
    std::string reason;
    ASSERT_TRUE(WriteFileAtomically(full, "new", &reason)) << reason;
    EXPECT_EQ(Get(full), "new");
    EXPECT_EQ(AclOf(full), "user::rw-\ngroup::r--\nother::---\n\n");
    for (const std::string& name : names)
        EXPECT_GE(::getxattr(full.c_str(), name.c_str(), nullptr, 0), 0) << name;
    EXPECT_EQ(Names(dir_), std::set<std::string>{"full.qlm"});
}

#endif

#else

// Windows keeps a file's permissions in its access list and attributes, which replacing the file keeps.
TEST_F(AtomicFileTest, KeepsTheEarlierFilesAttributes) {
    const std::string path = Put("kept.txt", "old");
    const std::wstring wide = fs::path(path).wstring();
    ASSERT_TRUE(::SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    std::string reason;
    ASSERT_TRUE(WriteFileAtomically(path, "new contents", &reason)) << reason;
    EXPECT_EQ(Get(path), "new contents");
    EXPECT_NE(::GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
    ASSERT_TRUE(WriteFileAtomically(Path("fresh.txt"), "first", &reason)) << reason;
    EXPECT_EQ(Get(Path("fresh.txt")), "first");
    EXPECT_EQ(Names(dir_), (std::set<std::string>{"fresh.txt", "kept.txt"}));
}

TEST_F(AtomicFileTest, RefusesWhatIsNotAWritableRegularFile) {
    fs::create_directory(dir_ / "folder");
    Put("readonly.txt", "kept", 0444);
    const struct {
        std::string name;
        const char* reason;
    } cases[] = {
        {Path("folder"), "It is a folder, not a file."},
        {Path("folder") + "\\", "The name is not that of a file."},
        {Path("folder/"), "The name is not that of a file."},
        {Path("readonly.txt"), "The file is read-only."},
        {Path("no/such/folder.txt"), "There is no such file or folder."},
        {"NUL", "It is not a regular file."},
        {dir_.string() + "\\bad\xff.txt", "The name is not that of a file."},
    };
    for (const auto& c : cases) {
        std::string reason;
        EXPECT_FALSE(WriteFileAtomically(c.name, "new", &reason)) << c.name;
        EXPECT_EQ(reason, c.reason) << c.name;
    }
    EXPECT_EQ(Get(Path("readonly.txt")), "kept");
    EXPECT_EQ(Names(dir_), (std::set<std::string>{"folder", "readonly.txt"}));
    fs::permissions(Path("readonly.txt"), fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(AtomicFileTest, TheReaderRefusesFoldersAndDevices) {
    fs::create_directory(dir_ / "folder");
    const struct {
        std::string name;
        ReadFailure failure;
        const char* reason;
    } cases[] = {
        {Path("folder"), ReadFailure::NotRegular, "It is a folder, not a file."},
        {"NUL", ReadFailure::NotRegular, "It is not a regular file."},
        {Path("missing.txt"), ReadFailure::System, "There is no such file or folder."},
    };
    for (const auto& c : cases) {
        std::string bytes = "untouched";
        std::string reason;
        EXPECT_EQ(ReadRegularFile(c.name, 100, bytes, &reason), c.failure) << c.name;
        EXPECT_EQ(reason, c.reason) << c.name;
        EXPECT_EQ(bytes, "untouched");
    }
}

#endif

TEST_F(AtomicFileTest, AFailureAtAnyStepKeepsTheEarlierFileAndLeavesNoTemporaryFile) {
    const struct {
        int error;
        const char* reason;
    } errors[] = {{ENOSPC, "No space is left on the device."}, {EIO, "An input or output error occurred."}};
    for (const FileStep step :
         {FileStep::Open, FileStep::Write, FileStep::Flush, FileStep::Close, FileStep::Rename}) {
        for (const auto& e : errors) {
            const std::string path = Put("kept.txt", "earlier", 0600);
            SetFileFaultHook([&](FileStep s) { return s == step ? e.error : 0; });
            std::string reason;
            EXPECT_FALSE(WriteFileAtomically(path, "replacement", &reason)) << static_cast<int>(step);
            EXPECT_FALSE(WriteFileAtomically(Path("fresh.txt"), "replacement")) << static_cast<int>(step);
            SetFileFaultHook({});
            EXPECT_EQ(reason, e.reason);
            EXPECT_EQ(Get(path), "earlier") << static_cast<int>(step);
#ifndef _WIN32
            EXPECT_EQ(ModeOf(path) & 07777, 0600u);
#endif
            EXPECT_EQ(Names(dir_), std::set<std::string>{"kept.txt"}) << static_cast<int>(step);
        }
    }
}

// A name relative to the working folder is replaced there, beside itself.
TEST_F(AtomicFileTest, ARelativeNameIsReplacedInTheWorkingFolder) {
    const fs::path before = fs::current_path();
    fs::current_path(dir_);
    const bool first = WriteFileAtomically("relative.txt", "first");
    std::string reason;
    const bool second = WriteFileAtomically("relative.txt", "second", &reason);
    fs::current_path(before);
    EXPECT_TRUE(first);
    EXPECT_TRUE(second) << reason;
    EXPECT_EQ(Get(Path("relative.txt")), "second");
    EXPECT_EQ(Names(dir_), std::set<std::string>{"relative.txt"});
}

TEST_F(AtomicFileTest, AReadFailureLeavesTheBytesAloneAndSaysWhy) {
    const std::string path = Put("in.txt", "contents");
    for (const FileStep step : {FileStep::ReadOpen, FileStep::Read}) {
        SetFileFaultHook([step](FileStep s) { return s == step ? EACCES : 0; });
        std::string bytes = "untouched";
        std::string reason;
        EXPECT_EQ(ReadRegularFile(path, 100, bytes, &reason), ReadFailure::System);
        SetFileFaultHook({});
        EXPECT_EQ(bytes, "untouched");
        EXPECT_EQ(reason, SystemErrorSentence(EACCES));
        EXPECT_FALSE(reason.empty());
    }
}
