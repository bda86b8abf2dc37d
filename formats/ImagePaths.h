// SPDX-License-Identifier: AGPL-3.0-or-later
// Choosing the picture file's name: cut the chosen name at its first dot, and never overwrite an
// earlier picture (chart.jpg, then chart_001.jpg, chart_002.jpg ...).
#pragma once

#include <functional>
#include <string>
#include <string_view>

// The platform's folder separator.
char FolderSeparator();

// Splits at the last folder separator; with none, folder and file are left as they were.
void SplitPath(const std::string& path, std::string& folder, std::string& file);

// The chosen path with its file name cut at the first "." and ".jpg" put in its place:
// "/c/my.chart.JPG" -> "/c/my.jpg". A dot in a folder name stays.
std::string JpegPathForChosen(const std::string& chosenPath);

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};
LocalTime CurrentLocalTime();

// "YYYYMMDDhhmmssmmm" (17 characters); with dateOnly, its first eight.
std::string TimestampFileName(bool dateOnly, const LocalTime& now = CurrentLocalTime());

// A regular file (not a folder) of that name exists.
bool FileExists(const std::string& path);

struct UniqueImageResult {
    std::string path;     // the full path to write; empty when all 999 numbered names are taken
    std::string fileName; // the file name that was tried, for the message when none is free
};

// The first free name: folder + file, else file with every "." replaced by "_NNN." for NNN from
// 001 to 999. An empty folder means the program's own folder; an empty file a date-stamped name.
UniqueImageResult UniqueImagePath(std::string folder, std::string file, const std::string& programFolder,
                                  const std::function<bool(const std::string&)>& exists = FileExists);

// The file a print to PDF is proposed to go to: the person's name and what is printed, "Asha Rao
// chart.pdf". Characters no file system takes (folder separators, control characters, those Windows
// refuses) become spaces, runs of spaces one, and leading dots and spaces go (no hidden file); a
// long name is cut at a whole UTF-8 character. Without a name, what is printed alone: "chart.pdf".
std::string PrintFileName(std::string_view personName, std::string_view whatIsPrinted);
