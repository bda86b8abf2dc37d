// The saved-reading file (.qlm): 17 lines of birth data, every byte of the Windows-1252 text
// raised by 85, each line ended by CR LF. The same code page on every system, so files move
// between Windows and Linux.
#pragma once

#include "app/BirthEntry.h"
#include "app/Records.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kSavedReadingLines = 17;

// UTF-8 text to the file's bytes; nothing when a character has no Windows-1252 byte or its
// raised byte would pass 255 (such a text cannot be saved whole).
std::optional<std::string> EncodeSavedText(std::string_view utf8);

// The file's bytes of one line back to UTF-8; nothing when a byte lies below 85 or names no
// Windows-1252 character.
std::optional<std::string> DecodeSavedText(std::string_view bytes);

// The 17 plain lines (before encoding) for a reading's birth data and its time-zone row.
std::vector<std::string> SavedReadingLines(const BirthDataRecord& birth, int zoneRow);

// The whole file; nothing when some text cannot be saved.
std::optional<std::string> EncodeSavedReading(const BirthDataRecord& birth, int zoneRow);

// Reads a whole file. Nothing when it is not a saved reading: fewer than 17 lines, a byte below
// 85, a number or flag that does not parse, or a value outside its list. Lines after the 17th
// are ignored.
std::optional<BirthEntry> DecodeSavedReading(std::string_view fileBytes);
