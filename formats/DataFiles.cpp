// SPDX-License-Identifier: AGPL-3.0-or-later
#include "formats/DataFiles.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace fs = std::filesystem;

std::string ProgramFolder() {
#ifdef _WIN32
    std::wstring path(32768, L'\0');
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0 || n >= path.size())
        return {};
    path.resize(n);
    const std::wstring folder = fs::path(path).parent_path().wstring();
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, folder.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, folder.c_str(), -1, text.data(), size, nullptr, nullptr);
    text.pop_back();
    return text;
#elif defined(__linux__)
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec || !self.is_absolute() ? std::string() : self.parent_path().string();
#else
    return {};
#endif
}

std::vector<std::string> DataFolders(const std::string& programFolder,
                                     const std::vector<std::string>& besideProgram) {
    std::vector<std::string> folders;
    auto add = [&folders](const fs::path& folder) {
        if (folder.is_absolute())
            folders.push_back(folder.lexically_normal().string());
    };
    if (!programFolder.empty()) {
        add(programFolder);
        for (const std::string& relative : besideProgram)
            add(fs::path(programFolder) / relative);
    }
#ifdef QUILLMERE_INSTALL_DATA_DIRS
    for (const char* installed : {QUILLMERE_INSTALL_DATA_DIRS})
        add(installed);
#endif
    return folders;
}

std::string FindDataFile(std::string_view name, const char* variable,
                         const std::vector<std::string>& folders) {
    if (const char* chosen = variable ? std::getenv(variable) : nullptr; chosen && *chosen)
        return chosen;
    for (const std::string& folder : folders) {
        std::error_code ec;
        const fs::path candidate = fs::path(folder) / name;
        if (fs::is_regular_file(candidate, ec))
            return candidate.string();
    }
    return folders.empty() ? std::string() : (fs::path(folders.front()) / name).string();
}
