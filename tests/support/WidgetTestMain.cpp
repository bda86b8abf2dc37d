// SPDX-License-Identifier: AGPL-3.0-or-later
// Entry point of the widget tests: a headless QApplication, and a fake platform underneath every
// test, so that nothing can ever open a real dialog and wait for a person.
#include "support/FakePlatform.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quillmere");
    platform::FakePlatform fallback;
    platform::Install(&fallback);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
