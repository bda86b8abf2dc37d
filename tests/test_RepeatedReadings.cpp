// SPDX-License-Identifier: AGPL-3.0-or-later
// A reading computed and closed a thousand times through the real windows (compute, New, compute,
// New ...) leaves nothing behind: no window and no widget stays, and in the sanitized build
// LeakSanitizer finds no memory that nothing points to any more.
#include "support/FormTestSupport.h"
#include "support/TestBirths.h"

#include <QApplication>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUILLMERE_LEAK_CHECK 1
#endif
#elif defined(__SANITIZE_ADDRESS__)
#define QUILLMERE_LEAK_CHECK 1
#endif
#ifdef QUILLMERE_LEAK_CHECK
#include <sanitizer/lsan_interface.h>
#endif

namespace {

constexpr int kReadings = 1000;

BirthEntry Named(BirthEntry entry, const char* name) {
    entry.name = name;
    return entry;
}

} // namespace

class RepeatedReadingsTest : public FormTest {
  protected:
    // One round: the reading command, then New. The window must show this round's reading and go
    // away whole.
    void Round(const BirthEntry& birth, int round) {
        ReadingWindow* readingWindow = Compute(birth);
        ASSERT_NE(readingWindow, nullptr) << "round " << round;
        ASSERT_EQ(Label(readingWindow->Display(), "lblName")->text(),
                  "Name: " + QString::fromStdString(birth.name))
            << "round " << round;
        Command(*readingWindow, "mnuNew")->trigger();
        ProcessDeferredDeletes();
        ASSERT_EQ(form->MainWindow(), nullptr) << "round " << round;
        ASSERT_TRUE(form->isVisible()) << "round " << round;
    }
};

TEST_F(RepeatedReadingsTest, AThousandReadingsOpenedAndClosedLeaveNothingBehind) {
    // Two births in turn, so that a window showing the reading before it would be caught.
    const BirthEntry births[] = {Named(Entry1980(), "First Person"), Named(Entry1947(), "Second Person")};

    // The first round sets up what Qt keeps for the life of the program (fonts, style, caches).
    Round(births[0], 0);
    ASSERT_FALSE(HasFatalFailure());
    const qsizetype widgetsAtRest = QApplication::allWidgets().size();
    const qsizetype windowsAtRest = QApplication::topLevelWidgets().size();

    for (int round = 1; round <= kReadings; ++round) {
        Round(births[round % 2], round);
        ASSERT_FALSE(HasFatalFailure());
        ASSERT_EQ(QApplication::allWidgets().size(), widgetsAtRest) << "widgets left after round " << round;
    }
    EXPECT_EQ(QApplication::topLevelWidgets().size(), windowsAtRest);

#ifdef QUILLMERE_LEAK_CHECK
    // Here rather than only at the exit, so that a leak is reported against this test.
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "LeakSanitizer reported leaks (see above)";
#endif
}
