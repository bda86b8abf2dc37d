// SPDX-License-Identifier: AGPL-3.0-or-later
// A pipe where a file would be, with a writer looking out for a reader: should anything open it, the
// writer lets it go on to an empty file and notes it, so that the test fails instead of hanging.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

struct WatchedPipe {
    std::string path;
    std::atomic<bool> opened{false}, stopping{false};
    std::thread writer;
    explicit WatchedPipe(std::string file) : path(std::move(file)) {
        EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
        writer = std::thread([this] {
            while (!stopping) {
                // Opens only while a reader waits, so that it never waits itself.
                if (const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0) {
                    opened = true;
                    close(fd);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }
    ~WatchedPipe() {
        stopping = true;
        writer.join();
    }
};
