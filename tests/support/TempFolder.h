// SPDX-License-Identifier: AGPL-3.0-or-later
// A fresh folder of a test's own under the system's temporary folder (TMPDIR or /tmp; on Windows the
// user's temporary folder), made with a random name so that parallel runs do not meet.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

// Empty when no folder could be made.
inline std::filesystem::path MakeTempFolder(const std::string& prefix) {
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec)
        return {};
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::filesystem::path folder = base / (prefix + std::to_string(random()));
        if (std::filesystem::create_directory(folder, ec))
            return folder;
    }
    return {};
}
