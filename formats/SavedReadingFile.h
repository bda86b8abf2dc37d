// SPDX-License-Identifier: AGPL-3.0-or-later
// The saved-reading file (.qlm): 17 lines of birth data, every byte of the Windows-1252 text
// raised by 85, each line ended by CR LF. The same code page on every system, so files move
// between Windows and Linux.
#pragma once

#include "pipeline/BirthEntry.h"
#include "records/Birth.h"

#include <cstddef>
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

// The 17 plain lines (before encoding) for a reading's birth data, its time-zone row included.
std::vector<std::string> SavedReadingLines(const Birth& birth);

// The whole file; nothing when some text cannot be saved.
std::optional<std::string> EncodeSavedReading(const Birth& birth);

// The longest file a saved reading can be: 17 lines of at most kMaxTextLength one-byte characters,
// each with its CR LF.
inline constexpr std::size_t kSavedReadingMaxBytes = kSavedReadingLines * (kMaxTextLength + 2);

// Reads a whole file's bytes. Nothing when it is not a saved reading as the program writes it: fewer
// than 17 lines ended by CR LF, a byte that is not stored text, a list line that is not the text of
// an entry of its list, a flag other than "True" or "False", a coordinate that is not 1 to 3 digits
// without a leading zero, a text that the letters filter refuses or that is longer than
// kMaxTextLength. Lines after the 17th are ignored. `reason` (when given) says what is wrong, as a
// sentence for the user ("Line 4 is not a year between 1901 and 2050.").
std::optional<BirthEntry> DecodeSavedReading(std::string_view fileBytes, std::string* reason = nullptr);

struct SavedReadingOpen {
    std::optional<BirthEntry> entry;
    std::string reason; // why there is no entry, as a sentence for the user
};

// The one way a saved reading is opened, by the entry form and the companion alike: the name must
// end in exactly "qlm", the file must be a regular file no longer than kSavedReadingMaxBytes, and
// its bytes must decode with every check of DecodeSavedReading.
SavedReadingOpen OpenSavedReadingFile(const std::string& path);
