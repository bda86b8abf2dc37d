// The program's own message texts, shared by the windows and the command-line companion.
#pragma once

namespace msg {
inline constexpr const char* kOnlyLetters = "Please enter only letters";
inline constexpr const char* kOnlyNumbers = "Please enter only numbers";
inline constexpr const char* kEnterName = "Please Enter Your Name";
inline constexpr const char* kEnterLatDeg = "Please Enter Degree of Latitude";
inline constexpr const char* kEnterLatMin = "Please Enter Minutes of Latitude";
inline constexpr const char* kEnterLonDeg = "Please Enter Degree of Longitude";
inline constexpr const char* kEnterLonMin = "Please Enter Minute of Longitude";
inline constexpr const char* kEnterCity = "Please Enter Your City name";
inline constexpr const char* kEnterState = "Please Enter Your State name";
inline constexpr const char* kEnterCountry = "Please Enter Your Country name";
inline constexpr const char* kLatDirection = "Please Select Direction For The Latitude";
inline constexpr const char* kLonDirection = "Please Select Direction For The Longitude";
inline constexpr const char* kLatRange = "Please Enter Correct Latitude (0 to 90 Degrees)";
inline constexpr const char* kLatMinRange = "Please Enter Correct Minutes of Latitude (0 to 59)";
inline constexpr const char* kLonRange = "Please Enter Correct Longitude (0 to 180 Degrees)";
inline constexpr const char* kLonMinRange = "Please Enter Correct Minute of Longitude (0 to 59)";
inline constexpr const char* kFebruaryDate = "Please Enter Correct Date Or Month!";
inline constexpr const char* kThirtyDayMonth = "Please Enter Correct Date Or Month !";
inline constexpr const char* kLibraryMissing = "Required File Is Missing. Please Reinstall The Software.";
inline constexpr const char* kCheckFile = "Please Check The File.";
inline constexpr const char* kCannotSaveCharacters = "This reading holds characters that cannot be saved.";
inline constexpr const char* kReadingFailed = "The reading could not be computed.";
inline constexpr const char* kFileNotSaved = "The file could not be saved.";
// Names the limit kMaxTextLength of pipeline/BirthEntry.h (a test keeps the two together).
inline constexpr const char* kTextTooLong = "Please enter at most 100 characters";
} // namespace msg
