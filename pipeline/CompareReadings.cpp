// SPDX-License-Identifier: AGPL-3.0-or-later
#include "pipeline/CompareReadings.h"

#include "astro/Moon.h"
#include "astro/Nakshatras.h"
#include "pipeline/Ashtakavarga.h"
#include "pipeline/Periods.h"
#include "reading/ReadingTexts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr auto kPlanets = static_cast<std::size_t>(BodySlot::Ketu) + 1;

std::string SignWordsOf(int sign) {
    return sign >= 0 && sign < 12 ? std::string(kSigns[static_cast<std::size_t>(sign)].sanskrit) : "none";
}

// "Venus/Moon": the major and the sub-period running at the moment.
std::string PeriodNow(const Reading& reading, double nowMinutesUT) {
    const Vimshottari periods = ReadingPeriods(reading);
    const int major = RunningPeriod(periods, nowMinutesUT);
    if (major < 0)
        return "none";
    const MajorPeriod& running = periods[static_cast<std::size_t>(major)];
    const int sub = RunningPeriod(running.subPeriods, nowMinutesUT);
    std::string words(Body(running.period.lord).english);
    if (sub >= 0)
        words += "/" + std::string(Body(running.subPeriods[static_cast<std::size_t>(sub)].lord).english);
    return words;
}

// The sarvashtakavarga, signs 1 to 12: "28 25 ...".
std::string SarvashtakavargaWords(const Reading& reading) {
    std::string words;
    for (int bindus : ComputeAshtakavarga(reading).total)
        words += (words.empty() ? "" : " ") + std::to_string(bindus);
    return words;
}

std::string HouseLordWords(const Reading& reading, std::size_t house) {
    const HouseLord& lord = reading.houseLords[house];
    if (lord.placedInHouse < 1)
        return "none";
    return std::string(Body(lord.lord).english) + " in house " + std::to_string(lord.placedInHouse);
}

// An arc in degrees as "1°27'" or "41'", to the nearest arc-minute; below half a minute, "12\"".
std::string ArcWords(double degrees) {
    const double seconds = std::round(std::fabs(degrees) * 3600);
    if (seconds < 30)
        return std::to_string(static_cast<int>(seconds)) + "\"";
    const auto minutes = static_cast<long>(std::round(seconds / 60));
    if (minutes < 60)
        return std::to_string(minutes) + "'";
    return std::to_string(minutes / 60) + "\u00B0" + std::to_string(minutes % 60) + "'";
}

// b less a, degrees, the shorter way round.
double Apart(double a, double b) {
    return std::remainder(b - a, 360.0);
}

std::string Capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

// "the Raman ayanamsa is 1°27' smaller than the Lahiri ayanamsa at this date, so every position lies
// 1°27' further on".
std::string AyanamsaClause(const Reading& a, const Reading& b) {
    // Held negative: the size is the other way round.
    const double larger = a.ayanamsa - b.ayanamsa;
    const std::string arc = ArcWords(larger);
    std::string clause = "the " + AyanamsaInWords(b.conventions);
    if (arc == "0\"")
        return clause + " equals the " + AyanamsaInWords(a.conventions) + " at this date to the arc-second";
    clause += " is " + arc + (larger > 0 ? " larger" : " smaller") + " than the " +
              AyanamsaInWords(a.conventions) + " at this date, so every position lies " + arc +
              (larger > 0 ? " further back" : " further on");
    return clause;
}

// "the true node is 1°12' ahead of the mean node at this date, which moves Rahu and Ketu".
std::string NodeClause(const Reading& a, const Reading& b) {
    // The node's own part of Rahu's move, the ayanamsa's taken out.
    const double ahead =
        Apart(a.Longitude(BodySlot::Rahu), b.Longitude(BodySlot::Rahu)) - (b.ayanamsa - a.ayanamsa);
    return "the " + std::string(Node(b.conventions.node).name) + " is " + ArcWords(ahead) +
           (ahead >= 0 ? " ahead of" : " behind") + " the " + std::string(Node(a.conventions.node).name) +
           " at this date, which moves Rahu and Ketu";
}

std::string YearClause(const Reading& a, const Reading& b) {
    return "periods in " + std::string(Year(b.conventions.year).name) + " instead of " +
           std::string(Year(a.conventions.year).name) + " move the period dates";
}

// "the ashtakavarga's places are Parashara's verses instead of Common (as most programs), ...".
std::string PlacesClause(const Reading& a, const Reading& b) {
    return "the ashtakavarga's places are " + std::string(PlacesWords(b.conventions.ashtakavarga).name) +
           " instead of " + std::string(PlacesWords(a.conventions.ashtakavarga).name) +
           ", which moves bindus of the Moon's and Venus's rows";
}

bool PlacesDiffer(const Reading& a, const Reading& b) {
    return a.conventions.ashtakavarga != b.conventions.ashtakavarga;
}

// "A", "A and B", "A; B; and C".
std::string Joined(const std::vector<std::string>& clauses) {
    std::string text;
    for (std::size_t i = 0; i < clauses.size(); ++i) {
        if (i > 0)
            text += clauses.size() == 2 ? " and " : (i + 1 == clauses.size() ? "; and " : "; ");
        text += clauses[i];
    }
    return text;
}

// Both precise: the conventions that differ, each with what it moves.
std::string PreciseCause(const Reading& a, const Reading& b) {
    std::vector<std::string> clauses;
    if (a.conventions.ayanamsa != b.conventions.ayanamsa || a.conventions.user != b.conventions.user)
        clauses.push_back(AyanamsaClause(a, b));
    if (a.conventions.node != b.conventions.node)
        clauses.push_back(NodeClause(a, b));
    if (a.conventions.year != b.conventions.year)
        clauses.push_back(YearClause(a, b));
    if (PlacesDiffer(a, b))
        clauses.push_back(PlacesClause(a, b));
    return Capitalised(Joined(clauses)) + ".";
}

// One classic, one precise.
std::string CalculationCause(const std::vector<BodyApart>& bodies, const Reading& a, const Reading& b) {
    const Reading& precise = a.calculation == Calculation::Precise ? a : b;
    double least = 1e9, most = 0;
    for (const BodyApart& body : bodies) {
        least = std::min(least, std::fabs(body.arcMinutes));
        most = std::max(most, std::fabs(body.arcMinutes));
    }
    const auto lower = std::lround(least), upper = std::lround(most);
    std::string range = upper == 0       ? "less than 1'"
                        : lower == upper ? std::to_string(upper) + "'"
                                         : std::to_string(lower) + "-" + std::to_string(upper) + "'";
    const Conventions& c = precise.conventions;
    std::string cause =
        "The positions differ by " + range +
        " because the classic calculation uses its own formulas and ayanamsa where the "
        "precise one takes the Swiss Ephemeris' positions with the " +
        AyanamsaInWords(c) + " and the " + std::string(Node(c.node).name) +
        ", and the classic one counts the house lords from Aries, the precise one from the lagna";
    if (c.year != Conventions{}.year)
        cause += "; the precise periods are in " + std::string(Year(c.year).name);
    if (PlacesDiffer(a, b))
        cause += "; " + PlacesClause(a, b);
    return cause + ".";
}

void AddChange(std::vector<ReadingChange>& changes, std::string what, std::string a, std::string b) {
    if (a != b)
        changes.push_back({std::move(what), std::move(a), std::move(b)});
}

} // namespace

ReadingComparison CompareReadings(const Reading& a, const Reading& b, double nowMinutesUT) {
    ReadingComparison c;
    c.aWords = CalculationWords(a);
    c.bWords = CalculationWords(b);
    for (std::size_t i = 0; i < kPlanets; ++i) {
        const auto body = static_cast<BodySlot>(i);
        c.bodies.push_back({body, ShortPositionText(a, body), ShortPositionText(b, body),
                            60 * Apart(a.Longitude(body), b.Longitude(body))});
    }

    AddChange(c.changes, "Lagna", SignWordsOf(a.LagnaSign()), SignWordsOf(b.LagnaSign()));
    for (std::size_t i = 0; i < kPlanets; ++i) {
        const auto body = static_cast<BodySlot>(i);
        const std::string name(Body(body).english);
        AddChange(c.changes, name + " sign", SignWordsOf(a.Sign(body)), SignWordsOf(b.Sign(body)));
        AddChange(c.changes, name + " nakshatra", NakshatraForLongitude(a.Longitude(body)),
                  NakshatraForLongitude(b.Longitude(body)));
    }
    AddChange(c.changes, "Pada", PadaText(a), PadaText(b));
    AddChange(c.changes, "Lord", std::string(NakshatraLordName(a)), std::string(NakshatraLordName(b)));
    AddChange(c.changes, "Period now", PeriodNow(a, nowMinutesUT), PeriodNow(b, nowMinutesUT));
    for (std::size_t house = 0; house < 12; ++house)
        AddChange(c.changes, "House " + std::to_string(house + 1), HouseLordWords(a, house),
                  HouseLordWords(b, house));

    // With the same places, a different ashtakavarga follows from the signs above; with other places
    // it differs even where every sign is the same.
    if (PlacesDiffer(a, b))
        AddChange(c.changes, "Ashtakavarga", SarvashtakavargaWords(a), SarvashtakavargaWords(b));

    if (a.calculation == b.calculation &&
        (a.calculation == Calculation::Classic ? !PlacesDiffer(a, b) : a.conventions == b.conventions))
        c.cause = "Both readings are made the same way, so nothing differs.";
    else if (a.calculation == Calculation::Classic && b.calculation == Calculation::Classic)
        c.cause = Capitalised(PlacesClause(a, b)) + ".";
    else if (a.calculation == b.calculation)
        c.cause = PreciseCause(a, b);
    else
        c.cause = CalculationCause(c.bodies, a, b);
    return c;
}

std::string ComparisonLines(const ReadingComparison& comparison) {
    std::string text = "A: " + comparison.aWords + "\r\nB: " + comparison.bWords + "\r\n";
    for (const BodyApart& body : comparison.bodies) {
        char apart[32];
        std::snprintf(apart, sizeof apart, "%.1f", body.arcMinutes);
        // A difference that rounds to nothing is written without a sign.
        const std::string diff = std::string(apart) == "-0.0" ? "0.0" : apart;
        text += std::string(Body(body.body).english) + " " + body.a + " " + body.b + " " + diff + "\r\n";
    }
    for (const ReadingChange& change : comparison.changes)
        text += change.what + ": " + change.a + " -> " + change.b + "\r\n";
    return text + comparison.cause + "\r\n";
}
