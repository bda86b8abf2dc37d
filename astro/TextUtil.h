// SPDX-License-Identifier: AGPL-3.0-or-later
// Small text and number helpers shared by the computing stages.
#pragma once

#include <cmath>
#include <string>
#include <string_view>

namespace astro {

// A whole number held in a double, in plain decimal without sign of zero or leading zeros.
inline std::string WholeNumberText(double value) {
    return std::to_string(static_cast<long long>(value));
}

inline std::string Trim(std::string_view s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && s[b] == ' ')
        ++b;
    while (e > b && s[e - 1] == ' ')
        --e;
    return std::string(s.substr(b, e - b));
}

inline std::string RemoveBlanks(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (c != ' ')
            out += c;
    return out;
}

// The last n bytes of s (all of s when shorter). Sign codes are ASCII, so bytes are characters here.
inline std::string LastChars(std::string_view s, std::size_t n) {
    return std::string(s.size() <= n ? s : s.substr(s.size() - n));
}

// Brings x into 0..360 the way "while x < 0 add 360; while x > 360 subtract 360" does, without
// the thousand-odd loop turns that an unreduced lunar mean longitude needs. Every step of that loop
// is exact in binary floating point (x and 360 are both multiples of x's last-place unit, and
// the result only shrinks), so the loop ends on exactly x - 360k, which is what fmod returns;
// fmod's 0 stands for the loop's 360 from above and 0 from below.
inline double WrapByWholeTurns(double x) {
    if (x < 0) {
        const double r = std::fmod(x, 360.0);
        return r < 0 ? r + 360.0 : 0.0;
    }
    if (x > 360) {
        const double r = std::fmod(x, 360.0);
        return r == 0 ? 360.0 : r;
    }
    return x;
}

} // namespace astro
