// Captions, descriptions, messages and addresses of the program's windows.
#pragma once

namespace texts {
inline constexpr const char* kCaption = "Quillmere v1.15";
inline constexpr const char* kHeading = "Quillmere";
inline constexpr const char* kAlreadyRunning = "Application is already running";
// Followed by what went wrong.
inline constexpr const char* kNoInstanceLock =
    "Quillmere could not make sure that only one copy of it runs; it starts all the same.\n";
inline constexpr const char* kMessageTitle = "Quillmere";

// The files.
inline constexpr const char* kOpenTitle = "Select the source file";
inline constexpr const char* kNotPrinted = "The interpretation could not be printed.";

// Two blanks before "in" as the program has always shown it.
inline constexpr const char* kEntryDescription =
    "Quillmere displays the effects or influence of House Lords (planets) that are present  in signs other "
    "than the ones they rule. This software aims to give you an insight into your future based on astrology.";
inline constexpr const char* kAboutDescription =
    "Quillmere displays the effects or influence of House Lords (planets) that are present  in signs other "
    "than the ones they rule. This software aims to give you an insight into your future based on Vedic "
    "astrology.";

// The coordinate search.
inline constexpr const char* kEnterCity = "Please Enter City";
inline constexpr const char* kEnterState = "Please Enter State";
inline constexpr const char* kEnterCountry = "Please Enter Country";
inline constexpr const char* kSearchSuffix = " Latitude Longitude";
inline constexpr const char* kSearchAddress = "https://www.google.com/search";

// Followed by the address.
inline constexpr const char* kNoBrowser =
    "No web browser could be started. Please open this address yourself:\n";

// The help page ships beside the program.
inline constexpr const char* kHelpFileName = "quillmere-help.html";
inline constexpr const char* kUpdateAddress = "https://github.com/quillmere/quillmere/releases/latest";
} // namespace texts
