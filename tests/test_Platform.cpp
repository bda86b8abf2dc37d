// The platform layer's own logic: the single-instance lock, which a copy that crashed must not leave
// stuck, and the conversion of "description|pattern" file filters.
#include "platform/QtPlatform.h"

#include <QLockFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

TEST(InstanceLockTest, OnlyOneHolderAtATime) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    platform::QtPlatform first(dir.filePath("q.lock"));
    platform::QtPlatform second(dir.filePath("q.lock"));
    std::unique_ptr<platform::InstanceLock> held = first.LockSingleInstance();
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(second.LockSingleInstance(), nullptr);
    EXPECT_EQ(second.LockSingleInstance(), nullptr);
    held.reset();
    EXPECT_NE(second.LockSingleInstance(), nullptr);
}

TEST(InstanceLockTest, ALockLeftByACrashedCopyIsTakenOver) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("q.lock");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The crashed copy: takes the lock and dies without releasing it.
        auto* lock = new QLockFile(path);
        _exit(lock->tryLock(0) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFile::exists(path));

    platform::QtPlatform next(path);
    EXPECT_NE(next.LockSingleInstance(), nullptr);
}

TEST(InstanceLockTest, ALockHeldByARunningCopyIsNotStaleWithAge) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("q.lock");
    platform::QtPlatform first(path);
    std::unique_ptr<platform::InstanceLock> held = first.LockSingleInstance();
    ASSERT_NE(held, nullptr);
    // A first copy that has run for hours still holds its lock.
    QFile lockFile(path);
    ASSERT_TRUE(lockFile.open(QIODevice::ReadWrite));
    ASSERT_TRUE(
        lockFile.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime));
    lockFile.close();
    platform::QtPlatform second(path);
    EXPECT_EQ(second.LockSingleInstance(), nullptr);
}

TEST(FileFilterTest, PipeFiltersBecomeQtFilters) {
    EXPECT_EQ(platform::QtFileFilter("Quillmere (*.qlm)|*.qlm"), "Quillmere (*.qlm)");
    EXPECT_EQ(platform::QtFileFilter("JPEG Image (*.jpg)|*.jpg"), "JPEG Image (*.jpg)");
    EXPECT_EQ(platform::QtFileFilter("Text|*.txt|All files|*.*"), "Text (*.txt);;All files (*.*)");
}
