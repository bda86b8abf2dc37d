// SPDX-License-Identifier: AGPL-3.0-or-later
// Place names as the entry form's letter fields take them: only the letters A to Z and single blanks.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace atlas {

// A UTF-8 name folded to plain letters and blanks: letters with marks lose them ("São Paulo" becomes
// "Sao Paulo", "Düsseldorf" "Dusseldorf", "Łódź" "Lodz"), apostrophes are dropped, and every other
// character the field refuses ("-", ".", digits, letters of other scripts) becomes one blank between
// words; blanks at either end go. Cut to maxLength characters.
std::string FoldToFieldText(std::string_view utf8, std::size_t maxLength = 100);

// An angle's size in whole degrees and minutes, rounded to the nearest minute, as the form takes it.
struct DegreesMinutes {
    int degrees = 0;
    int minutes = 0;
};
DegreesMinutes RoundToMinutes(double degrees);

// The same folded to lower case, for matching what is typed against the atlas's names.
std::string FoldForMatch(std::string_view utf8);

} // namespace atlas
