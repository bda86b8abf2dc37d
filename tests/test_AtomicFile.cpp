// The whole-or-nothing writer on real files in a temporary folder.
#include "formats/AtomicFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace {

class AtomicFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/qm-atomic-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        SetFileFaultHook({});
        fs::remove_all(dir_);
    }
    std::string Path(const std::string& name) const { return (dir_ / name).string(); }
    std::string Put(const std::string& name, const std::string& bytes, mode_t mode = 0644) {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        ::chmod(Path(name).c_str(), mode);
        return Path(name);
    }
    static std::string Get(const std::string& path) {
        std::string bytes;
        return ReadWholeFile(path, bytes) ? bytes : "<unreadable>";
    }
    static mode_t ModeOf(const std::string& path) {
        struct stat st {};
        return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
    }
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
            EXPECT_EQ(ModeOf(path) & 07777, 0600u);
            EXPECT_EQ(Names(dir_), std::set<std::string>{"kept.txt"}) << static_cast<int>(step);
        }
    }
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
