// SPDX-License-Identifier: AGPL-3.0-or-later
#include "pipeline/PreciseReading.h"

#include "astro/Moon.h"
#include "astro/Nakshatras.h"
#include "astro/Planets.h"
#include "astro/Retrogrades.h"
#include "astro/TextUtil.h"
#include "precise/PreciseEngine.h"
#include "reading/HouseLords.h"
#include "records/Messages.h"
#include "records/Vocabulary.h"

#include <algorithm>

namespace {

double SignedLatitude(const Birth& b) {
    const double degrees = b.latDeg + b.latMin / 60.0;
    return b.latSouth ? -degrees : degrees;
}

double SignedLongitude(const Birth& b) {
    const double degrees = b.lonDeg + b.lonMin / 60.0;
    return b.lonEast ? degrees : -degrees;
}

} // namespace

ReadingResult ComputePreciseReading(const Birth& b, const Conventions& conventions) {
    // The same universal moment as the classic planets: the zone with its own sign, daylight saving
    // an hour earlier, carried across the date.
    const CivilDateTime ut = UniversalDateTime(b);
    const precise::PreciseResult result =
        precise::ComputePrecisePositions(precise::JulianDayUT(ut.year, ut.month, ut.day, ut.hour, ut.minute),
                                         SignedLatitude(b), SignedLongitude(b), conventions);
    if (!result.positions)
        return {std::nullopt, precise::PreciseMessage(result)};
    const precise::PrecisePositions& p = *result.positions;

    Reading r;
    r.birth = b;
    r.calculation = Calculation::Precise;
    r.conventions = conventions;
    // Held negative, as the classic ayanamsa is, so that its texts are made the same way.
    r.ayanamsa = -p.ayanamsa;
    for (std::size_t i = 0; i < precise::kPreciseBodyCount; ++i)
        r.longitudes[i] = p.longitude[i];
    r.longitudes[static_cast<std::size_t>(BodySlot::Ascendant)] = p.ascendant;
    r.longitudes[static_cast<std::size_t>(BodySlot::Midheaven)] = p.midheaven;
    r.speeds.emplace();
    std::copy(p.speed.begin(), p.speed.end(), r.speeds->begin());
    // The five planets that carry a mark: retrograde while their own speed is negative.
    for (BodySlot planet :
         {BodySlot::Mercury, BodySlot::Venus, BodySlot::Mars, BodySlot::Jupiter, BodySlot::Saturn})
        r.retrograde[static_cast<std::size_t>(planet)] = p.speed[static_cast<std::size_t>(planet)] < 0;
    for (std::size_t i = 0; i < r.signs.size(); ++i)
        r.signs[i] = ZodiacSignOf(r.longitudes[i]);

    const double moon = p.Longitude(precise::PreciseBody::Moon);
    r.nakshatra = NakshatraOf(moon);
    const NakshatraPlace place = NakshatraPlaceOf(moon);
    r.nakshatraLord = place.lord;
    r.pada = place.pada;
    r.houseLords = PlaceHouseLords(r.signs, HouseCounting::FromLagna);
    return {std::move(r), {}};
}
