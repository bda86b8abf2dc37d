// SPDX-License-Identifier: AGPL-3.0-or-later
// Where the program and the companion find the files they ship with (the atlas of places): from
// their own location, wherever they were started from, and never from the current folder, where
// anyone could plant a file of the same name.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// The folder of the running executable as an absolute path (/proc/self/exe on Linux, the module's
// path on Windows); empty where it cannot be told.
std::string ProgramFolder();

// The folders a data file is looked for in, in order: the program's own folder, then each of
// `besideProgram` taken relative to it (an installed companion's program folder), then the folders
// the build installs data into. Empty and relative folders are left out.
std::vector<std::string> DataFolders(const std::string& programFolder,
                                     const std::vector<std::string>& besideProgram = {});

// The data file `name` to read: the path in the environment variable `variable` when it is set and
// not empty (the user's own choice wins); else the first of the folders that holds the file. When
// none does, the path in the first folder, so that a message names where it was looked for, or
// empty when there is no folder at all.
std::string FindDataFile(std::string_view name, const char* variable,
                         const std::vector<std::string>& folders);
