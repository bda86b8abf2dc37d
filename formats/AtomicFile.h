// SPDX-License-Identifier: AGPL-3.0-or-later
// Files are written whole or not at all: the bytes go to a fresh temporary file beside the target,
// every write, flush and close is checked, and only then is it renamed over the target, so a failure
// leaves any earlier file intact. Files are read only when they are regular files of bounded size.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

// One step of the whole-file writer or reader, for the test seam.
enum class FileStep { Open, Write, Flush, Close, Rename, ReadOpen, Read, Attributes };

// Writes `bytes` whole or not at all. On failure returns false, leaves any earlier file as it was, removes
// its temporary file, and (when `reason` is given) puts there a short sentence for the user, for example
// "No space is left on the device." or "The file is read-only.".
// An earlier file keeps its permissions and, as far as the system allows, its owner; on Linux it keeps
// its access control list and extended attributes too, and when they cannot be carried over the
// file is not replaced (its access could widen). A symbolic link is followed to its final target,
// which is replaced; anything but a regular file is refused.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* reason = nullptr);

// Test seam: when set, the writer and the reader ask the hook before each step; a non-zero errno value
// makes that step fail as if the system had reported that error. Empty function restores normal work.
void SetFileFaultHook(std::function<int(FileStep)> hook);

enum class ReadFailure { None, NotRegular, TooLong, System };

// Reads a whole regular file of at most `limit` bytes. Opening cannot hang on a FIFO, and a device or
// an endless file is refused before it is read. On failure `bytes` is untouched and `reason` (when
// given) holds a short sentence for the user.
ReadFailure ReadRegularFile(const std::string& path, std::size_t limit, std::string& bytes,
                            std::string* reason = nullptr);

// Reads a whole regular file of any size; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

// A short sentence for the user about a system error number.
std::string SystemErrorSentence(int error);
