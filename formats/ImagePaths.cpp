// SPDX-License-Identifier: AGPL-3.0-or-later
#include "formats/ImagePaths.h"

#include "records/Calendar.h"

#include <chrono>
#include <ctime>
#include <filesystem>
#include <system_error>

namespace {

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    std::string out;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = text.find(from, start);
        if (at == std::string::npos)
            break;
        out.append(text, start, at - start);
        out += to;
        start = at + from.size();
    }
    out.append(text, start, std::string::npos);
    return out;
}

} // namespace

char FolderSeparator() {
    return static_cast<char>(std::filesystem::path::preferred_separator);
}

void SplitPath(const std::string& path, std::string& folder, std::string& file) {
    const std::size_t at = path.rfind(FolderSeparator());
    if (at == std::string::npos)
        return;
    folder = path.substr(0, at);
    file = path.substr(at + 1);
}

std::string JpegPathForChosen(const std::string& chosenPath) {
    const std::size_t sep = chosenPath.rfind(FolderSeparator());
    const std::size_t nameStart = sep == std::string::npos ? 0 : sep + 1;
    const std::size_t dot = chosenPath.find('.', nameStart);
    return (dot == std::string::npos ? chosenPath : chosenPath.substr(0, dot)) + ".jpg";
}

LocalTime CurrentLocalTime() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm tm{};
#if defined(_WIN32)
    localtime_s(&tm, &t);
#else
    localtime_r(&t, &tm);
#endif
    LocalTime lt;
    lt.year = tm.tm_year + 1900;
    lt.month = tm.tm_mon + 1;
    lt.day = tm.tm_mday;
    lt.hour = tm.tm_hour;
    lt.minute = tm.tm_min;
    lt.second = tm.tm_sec;
    lt.millisecond = static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
    return lt;
}

std::string TimestampFileName(bool dateOnly, const LocalTime& now) {
    std::string year = std::to_string(now.year);
    while (year.size() < 4)
        year.insert(0, "0");
    std::string ms = std::to_string(now.millisecond);
    while (ms.size() < 3)
        ms.insert(0, "0");
    const std::string stamp = year + TwoDigits(now.month) + TwoDigits(now.day) + TwoDigits(now.hour) +
                              TwoDigits(now.minute) + TwoDigits(now.second) + ms;
    return dateOnly ? stamp.substr(0, 8) : stamp;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

UniqueImageResult UniqueImagePath(std::string folder, std::string file, const std::string& programFolder,
                                  const std::function<bool(const std::string&)>& exists) {
    const std::string sep(1, FolderSeparator());
    if (folder.empty())
        folder = programFolder;
    if (folder.empty() || folder.back() != sep[0])
        folder += sep;
    folder = ReplaceAll(folder, sep + sep, sep);

    if (file.empty())
        file = TimestampFileName(true) + ".jpg";
    else if (file.find('.') != std::string::npos)
        file = ReplaceAll(file, ".bmp", ".jpg");
    else
        file += ".jpg";

    if (!exists(folder + file))
        return {folder + file, file};
    for (int counter = 1; counter <= 999; ++counter) {
        std::string number = std::to_string(counter);
        while (number.size() < 3)
            number.insert(0, "0");
        const std::string candidate = ReplaceAll(file, ".", "_" + number + ".");
        if (!exists(folder + candidate))
            return {folder + candidate, file};
    }
    return {std::string(), file};
}

std::string PrintFileName(std::string_view personName, std::string_view whatIsPrinted) {
    // Well below the 255 bytes a file name may have, with room for what follows it.
    constexpr std::size_t kMostNameBytes = 120;
    std::string name;
    for (const char c : personName) {
        const auto byte = static_cast<unsigned char>(c);
        const bool refused =
            byte < 0x20 || byte == 0x7F || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
        const char kept = refused ? ' ' : c;
        if (kept == ' ' && (name.empty() || name.back() == ' '))
            continue;
        if (kept == '.' && name.empty())
            continue;
        name += kept;
    }
    if (name.size() > kMostNameBytes) {
        std::size_t cut = kMostNameBytes;
        // Back to the first byte of a character: continuation bytes are 10xxxxxx.
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
            --cut;
        name.resize(cut);
    }
    if (!name.empty() && name.back() == ' ')
        name.pop_back();
    return (name.empty() ? std::string() : name + ' ') + std::string(whatIsPrinted) + ".pdf";
}
