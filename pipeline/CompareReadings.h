// SPDX-License-Identifier: AGPL-3.0-or-later
// Two readings of one birth side by side: how far apart each body lies, what an astrologer reads
// differently, and the one sentence naming why. The companion's --compare writes it as text; a view can
// show the same parts.
#pragma once

#include "records/Reading.h"

#include <string>
#include <vector>

// A body in both readings.
struct BodyApart {
    BodySlot body = BodySlot::Sun;
    std::string a; // as the export writes it, "16 Sag 56"
    std::string b;
    double arcMinutes = 0.0; // b less a, the shorter way round, from the unrounded longitudes
};

// What an astrologer reads differently: what ("Lagna", "Mars sign", "House 3"), and its words in a and b.
struct ReadingChange {
    std::string what;
    std::string a;
    std::string b;
};

struct ReadingComparison {
    std::string aWords; // how each was made, CalculationWords
    std::string bWords;
    std::vector<BodyApart> bodies; // the Sun to Ketu
    // In this order, only those that differ: "Lagna" (the sign's Sanskrit name); per body, the Sun to
    // Ketu, "BODY sign" and "BODY nakshatra"; "Pada" and "Lord" (of the Moon's nakshatra, as the export
    // shows them); "Period now" (the major and sub-period running at `now`, "Venus/Moon", or "none");
    // per house "House N" ("Mars in house 3"); "Ashtakavarga" (the sarvashtakavarga of signs 1 to 12)
    // when the ashtakavarga's places differ.
    std::vector<ReadingChange> changes;
    // One sentence naming the cause: the other calculation, or the conventions that differ.
    std::string cause;
};

// Reading a against reading b of the same birth; nowMinutesUT is the moment whose running periods are
// compared (minutes from 1970-01-01 00:00 universal time, as the periods count).
ReadingComparison CompareReadings(const Reading& a, const Reading& b, double nowMinutesUT);

// The comparison as lines ended by CR LF:
//   A: WORDS                  how a was made
//   B: WORDS                  how b was made
//   BODY A B DIFF             per body, the Sun to Ketu; DIFF in arc-minutes with one decimal
//   WHAT: A -> B              per change
//   the cause
std::string ComparisonLines(const ReadingComparison& comparison);
