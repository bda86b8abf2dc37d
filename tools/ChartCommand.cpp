// SPDX-License-Identifier: AGPL-3.0-or-later
#include "tools/ChartCommand.h"

#include "records/TimeZones.h"
#if QUILLMERE_HAS_ATLAS
#include "atlas/Atlas.h"
#include "atlas/FieldText.h"
#include "atlas/ZoneChoice.h"
#endif
#include "formats/AtomicFile.h"
#include "formats/ChartExport.h"
#include "formats/DataFiles.h"
#include "formats/SavedReadingFile.h"
#include "pipeline/Ashtakavarga.h"
#include "pipeline/BirthEntry.h"
#include "pipeline/CompareReadings.h"
#include "pipeline/ConventionKeys.h"
#include "pipeline/Panchanga.h"
#include "pipeline/Periods.h"
#include "pipeline/ReadingPipeline.h"
#include "pipeline/Transits.h"
#include "pipeline/Vargas.h"
#include "reading/ReadingTexts.h"
#include "records/Messages.h"

#include <CLI/CLI.hpp>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <regex>
#include <tuple>

namespace {

constexpr const char* kHelp =
    "Usage:\n"
    "  quillmere-chart [--precise [--ayanamsa NAME] [--node mean|true] [--year-days DAYS]]\n"
    "                  [--chart] [--interpretation] [--compare CALC] FILE.qlm...\n"
    "  quillmere-chart [options as above] --name N --date YYYY-MM-DD --time HH:MM\n"
    "                  --zone ROW [--dst] --lat DDdMM{N|S} --lon DDDdMM{E|W}\n"
    "                  --city C --state S --country K [--save FILE.qlm]\n"
    "  quillmere-chart [options as above] --place \"City[, State][, Country]\" --date ... --time ...\n"
    "  quillmere-chart --zones\n"
    "  quillmere-chart --places TEXT\n"
    "  quillmere-chart --help\n"
    "\n"
    "Writes each reading to standard output as the chart text export, byte for byte what\n"
    "Quillmere's \"Export Chart As Text\" writes (41 lines, CR LF endings;\n"
    "42 with the precise calculation).\n"
    "\n"
    "  FILE.qlm      a saved reading; several files are read in turn\n"
    "  --name N      the person's name (letters and blanks, at most 100 characters)\n"
    "  --date        date of birth, year 1901 to 2050\n"
    "  --time        local clock time of birth, hour 0 to 24, minute 0 to 59\n"
    "  --zone ROW    row of the time-zone list, 0 to 70 (see --zones)\n"
    "  --dst         daylight saving time was in force\n"
    "  --lat         latitude: degrees, \"d\", minutes, N or S (for example 51d30N)\n"
    "  --lon         longitude: degrees, \"d\", minutes, E or W (for example 77d13E)\n"
    "  --city, --state, --country   the birth place (letters and blanks, at most 100\n"
    "                characters each)\n"
    "  --save FILE   also write the birth data as a saved reading\n"
    "  --chart       after each export, twelve lines \"N: entries\" for the chart cells of\n"
    "                signs 1 (Aries) to 12 (Pisces)\n"
    "  --interpretation\n"
    "                after the export (and the chart lines), the house-lords reading: for\n"
    "                each house its heading, the lord text and the planet text on lines of\n"
    "                their own, then an empty line\n"
    "  --navamsa     after the other lines, twelve lines \"N: entries\" for the navamsa chart's\n"
    "                signs 1 (Aries) to 12 (Pisces)\n"
    "  --varga N     after the navamsa lines, a line \"DN\" and twelve lines \"N: entries\" for\n"
    "                the signs of the divisional chart DN, N one of 1, 2, 3, 4, 7, 9, 10, 12,\n"
    "                16, 20, 24, 27, 30, 40, 45, 60; may be given again, the charts follow in\n"
    "                the order given\n"
    "  --ashtakavarga  after the divisional charts, the ashtakavarga: eight lines \"Sun: \",\n"
    "                \"Moon: \", \"Mars: \", \"Mercury: \", \"Jupiter: \", \"Venus: \", \"Saturn: \" and\n"
    "                \"Total: \" (the sarvashtakavarga), each with the bindus of signs 1 (Aries)\n"
    "                to 12 (Pisces) separated by single blanks\n"
    "  --ashtakavarga-places common|parashara  with either calculation, the places that\n"
    "                give bindus where the texts differ: common (the default; B. V. Raman's\n"
    "                tables, as most programs) or parashara (Parashara's verses); the totals\n"
    "                are the same in both\n"
    "  --panchanga   after the ashtakavarga, seven lines: \"Vara: N NAME\" (the weekday\n"
    "                from sunrise, 1 Sunday to 7 Saturday), \"Tithi: N PAKSHA NAME\",\n"
    "                \"Nakshatra: N NAME\", \"Yoga: N NAME\", \"Karana: N NAME\", \"Sunrise: HH:MM\"\n"
    "                and \"Sunset: HH:MM\" (the birth's local date and clock at the birth place;\n"
    "                \"none\" where the Sun does not rise or set that day, \"unavailable\"\n"
    "                without the Swiss Ephemeris)\n"
    "  --transit YYYY-MM-DDTHH:MM\n"
    "                after the panchanga, the transits at that moment in universal\n"
    "                time (1901 to 2050), computed as the reading is, at the birth place:\n"
    "                twelve lines \"N: entries\" for the transiting Sun to Ketu in signs 1\n"
    "                (Aries) to 12 (Pisces), then \"Sade sati: START END\", the dates\n"
    "                (YYYY-MM-DD, universal time) on which Saturn first entered the 12th sign\n"
    "                from the birth Moon's and finally left the 2nd, when the moment lies\n"
    "                between them, else \"Sade sati: none\"\n"
    "  --dasha       last, the Vimshottari periods: for each major period a line \"LORD START\n"
    "                END\" and its nine sub-periods indented by two blanks, the dates\n"
    "                (YYYY-MM-DD) in the birth's local time\n"
    "  --dasha-depth 1|2|3  with --dasha, how deep the periods go: 1 the major periods\n"
    "                only, 2 (the default) with their sub-periods, 3 with each sub-period\n"
    "                followed by its nine pratyantar periods indented by four blanks\n"
    "  --precise     the precise calculation (Swiss Ephemeris positions, houses counted from\n"
    "                the lagna) instead of the classic one; its export gains a 42nd line\n"
    "                \"Calculation: \" and how it was made, for example \"Precise (Swiss\n"
    "                Ephemeris), Lahiri ayanamsa, mean node, 365.25-day years\"\n"
    "  --ayanamsa NAME  with --precise, the ayanamsa: lahiri (the default), true-chitra,\n"
    "                raman, krishnamurti, yukteshwar, fagan-bradley, or the user's own\n"
    "                user:DEG:MIN:SEC@YYYY-MM-DD, its value at 0h universal time of that date\n"
    "                (seconds may have decimals, the whole 10 to 40 degrees, the year 1800 to\n"
    "                2399), moving with precession\n"
    "  --node mean|true  with --precise, the mean node (the default) or the true node\n"
    "  --year-days 365.25|360|sidereal  with --precise, the days of a year of the\n"
    "                periods (--dasha, --compare): 365.25 (the default), 360, or the sidereal\n"
    "                year of 365.256363 days\n"
    "  --compare CALC  after everything else, the same birth under another calculation:\n"
    "                CALC is \"classic\" or \"precise\", then any of \",ayanamsa=NAME\",\n"
    "                \",node=mean|true\", \",year-days=DAYS\", \",ashtakavarga=common|parashara\"\n"
    "                (the defaults where not given, the ashtakavarga's places those of the\n"
    "                reading),\n"
    "                for example \"precise,ayanamsa=raman,node=true,year-days=360\". Writes\n"
    "                the lines \"A: \" and how the reading was made, \"B: \" and how the other\n"
    "                was made; per body, Sun to Ketu, \"BODY A B DIFF\" (positions as in the\n"
    "                export, DIFF the position in B less that in A in arc-minutes, the\n"
    "                shorter way round, with one decimal); per change \"WHAT: A -> B\", in this\n"
    "                order and only where they differ: Lagna, then per body \"BODY sign\" and\n"
    "                \"BODY nakshatra\", Pada, Lord, \"Period now\" (the major and sub-period\n"
    "                running now, \"Venus/Moon\"), \"House N\" (its lord and the house it\n"
    "                stands in, \"Mars in house 3\"), \"Ashtakavarga\" (the total of signs 1 to\n"
    "                12, when the ashtakavarga's places differ); last, one sentence naming the\n"
    "                cause\n"
    "  --place TEXT  the first place matching TEXT (as --places lists them) gives the\n"
    "                coordinates, city, state and country, and, unless --zone or --dst is\n"
    "                given, the zone row and daylight saving in force at --date and --time\n"
    "                (and the time, when no row holds the offset); options given win; what\n"
    "                was derived is noted on standard error\n"
    "  --zones       list the time zones with their row numbers\n"
    "  --places TEXT list up to 20 birth places matching \"City[, State][, Country]\" (each\n"
    "                part the start of the name or of a former or local name, case and\n"
    "                accents ignored), exact names first, then the most populous, one a\n"
    "                line: name, state, country, latitude and longitude in decimal degrees\n"
    "                (north and east positive), time zone, population, separated by tabs.\n"
    "                The atlas of places is read from beside the program or where it was\n"
    "                installed, or from the file named by QUILLMERE_ATLAS\n"
    "\n"
    "A refused reading is reported on standard error with the program's own message, prefixed\n"
    "by the file name, or by the option at fault (none when the ephemeris files or the build\n"
    "are); the other readings are still written.\n"
    "Exit status: 0 when every reading was produced, 1 when some were not or the output could\n"
    "not be written, 2 for a usage error.\n";

struct Options {
    bool chart = false;
    bool interpretation = false;
    bool precise = false;
    bool navamsa = false;
    std::vector<int> vargas; // divisions, in the order given
    bool ashtakavarga = false;
    bool panchanga = false;
    std::optional<std::string> transit;
    double transitMinutes = 0.0; // the moment of --transit, minutes from 1970 in universal time
    bool dasha = false;
    std::optional<std::string> dashaDepth;
    int depth = 2; // of the periods, as --dasha-depth chose
    bool zones = false;
    std::optional<std::string> places;
    std::optional<std::string> place;
    bool help = false;
    bool birthGiven = false;
    std::optional<std::string> name, date, time, zone, lat, lon, city, state, country, save;
    bool dst = false;
    std::vector<std::string> files;
    // The precise calculation's conventions, and the calculation to compare with.
    std::optional<std::string> ayanamsa, node, yearDays, compare;
    // The ashtakavarga's places, of either calculation.
    std::optional<std::string> ashtakavargaPlaces;
    Conventions conventions;
    std::optional<CalculationChoice> compareWith;
};

struct UsageError {
    std::string text;
};

int ToInt(const std::string& digits) {
    return std::stoi(digits);
}

// --transit's value: a real date and time of day, YYYY-MM-DDTHH:MM, in the years a transit may have.
std::optional<UsageError> ReadTransitMoment(const std::string& text, double& minutesUT) {
    static const std::regex kMoment(R"((\d{4})-(\d{2})-(\d{2})T(\d{2}):(\d{2}))");
    std::smatch m;
    if (!std::regex_match(text, m, kMoment))
        return UsageError{"--transit: expected YYYY-MM-DDTHH:MM (universal time)"};
    const std::chrono::year_month_day date{std::chrono::year{ToInt(m[1])},
                                           std::chrono::month{static_cast<unsigned>(ToInt(m[2]))},
                                           std::chrono::day{static_cast<unsigned>(ToInt(m[3]))}};
    const int hour = ToInt(m[4]);
    const int minute = ToInt(m[5]);
    if (!date.ok() || hour > 23 || minute > 59)
        return UsageError{"--transit: " + text + " is not a date and time of day"};
    minutesUT = static_cast<double>(std::chrono::sys_days{date}.time_since_epoch().count()) * 1440 +
                hour * 60 + minute;
    if (!TransitMomentInRange(minutesUT))
        return UsageError{"--transit: the year must lie in 1901 to 2050"};
    return std::nullopt;
}

// CLI11 reads the options. An option's value is the next argument, whatever it looks like, or follows
// "=" in the same argument (--date=1980-01-01); an option given again takes its last value. Its
// refusals are told in the companion's own words.
std::optional<UsageError> ParseOptions(const std::vector<std::string>& args, Options& o) {
    CLI::App app;
    app.set_help_flag(); // kHelp is the help
    app.allow_extras();  // unknown options are named below
    // On Windows CLI11 would take "/charts/b.qlm" for an option; the companion's options all begin "--".
    app.allow_windows_style_options(false);
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast)->disable_flag_override();
    app.add_flag("-h,--help", o.help);
    app.add_flag("--chart", o.chart);
    app.add_flag("--interpretation", o.interpretation);
    app.add_flag("--precise", o.precise);
    app.add_flag("--navamsa", o.navamsa);
    app.add_flag("--ashtakavarga", o.ashtakavarga);
    app.add_flag("--panchanga", o.panchanga);
    app.add_flag("--dasha", o.dasha);
    app.add_flag("--zones", o.zones);
    app.add_flag("--dst", o.dst);
    // All but the first two give birth data.
    const std::pair<const char*, std::optional<std::string>*> valued[] = {
        {"--places", &o.places}, {"--save", &o.save}, {"--place", &o.place}, {"--name", &o.name},
        {"--date", &o.date},     {"--time", &o.time}, {"--zone", &o.zone},   {"--lat", &o.lat},
        {"--lon", &o.lon},       {"--city", &o.city}, {"--state", &o.state}, {"--country", &o.country}};
    std::vector<CLI::Option*> valueOptions;
    for (const auto& [name, slot] : valued)
        valueOptions.push_back(app.add_option(name));
    using KeyReader = std::optional<std::string> (*)(std::string_view, Conventions&);
    const std::tuple<const char*, std::optional<std::string>*, KeyReader> conventionOptions[] = {
        {"--ayanamsa", &o.ayanamsa, ReadAyanamsaKey},
        {"--node", &o.node, ReadNodeKey},
        {"--year-days", &o.yearDays, ReadPeriodYearKey}};
    for (const auto& [name, slot, reader] : conventionOptions)
        app.add_option(name, *slot);
    app.add_option("--ashtakavarga-places", o.ashtakavargaPlaces);
    app.add_option("--compare", o.compare);
    app.add_option("--dasha-depth", o.dashaDepth);
    app.add_option("--transit", o.transit);
    std::vector<std::string> vargas;
    app.add_option("--varga", vargas)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("files", o.files);

    std::vector<std::string> left(args.rbegin(), args.rend()); // CLI11 takes them from the back
    try {
        app.parse(left);
    } catch (const CLI::ArgumentMismatch&) {
        // The argument it took last is an option without its value, or a flag given one (--chart=1).
        if (left.size() < args.size()) {
            const std::string& taken = args[args.size() - left.size() - 1];
            const std::string name = taken.substr(0, taken.find('='));
            const CLI::Option* option = app.get_option_no_throw(name);
            return UsageError{option && option->get_expected_min() > 0 ? name + ": a value is missing"
                                                                       : taken + ": unknown option"};
        }
        return UsageError{"The options could not be read."};
    } catch (const CLI::ParseError& e) {
        return UsageError{e.what()};
    }
    // CLI11 keeps "--" among the unknown arguments when it is given.
    for (const std::string& unknown : app.remaining())
        if (unknown != "--")
            return UsageError{unknown + ": unknown option"};

    for (std::size_t i = 0; i < valueOptions.size(); ++i) {
        if (valueOptions[i]->count() == 0)
            continue;
        *valued[i].second = valueOptions[i]->as<std::string>();
        o.birthGiven = o.birthGiven || i >= 2;
    }
    o.birthGiven = o.birthGiven || o.dst;
    for (const std::string& division : vargas) {
        static const std::regex kDivision(R"(\d{1,2})");
        if (!std::regex_match(division, kDivision) || !IsVargaDivision(ToInt(division)))
            return UsageError{"--varga: expected one of " + VargaDivisionList()};
        o.vargas.push_back(ToInt(division));
    }
    if (o.dashaDepth) {
        if (!o.dasha)
            return UsageError{"--dasha-depth can be chosen only with --dasha."};
        if (*o.dashaDepth != "1" && *o.dashaDepth != "2" && *o.dashaDepth != "3")
            return UsageError{"--dasha-depth: expected 1, 2 or 3"};
        o.depth = ToInt(*o.dashaDepth);
    }
    if (o.transit) {
        if (std::optional<UsageError> refusal = ReadTransitMoment(*o.transit, o.transitMinutes))
            return refusal;
    }
    if (o.precise && !PreciseCalculationBuilt())
        return UsageError{std::string("--precise: ") + msg::kNoPreciseBuild};
    for (const auto& [name, slot] : {valued[0], valued[2]})
        if (*slot && !QUILLMERE_HAS_ATLAS)
            return UsageError{std::string(name) + ": " + msg::kNoAtlasBuild};
    if (o.save && !o.birthGiven)
        return UsageError{"--save: only birth data given as options can be saved"};
    // The classic calculation keeps its own arithmetic, so its conventions cannot be chosen.
    for (const auto& [name, slot, reader] : conventionOptions) {
        if (!*slot)
            continue;
        if (!o.precise)
            return UsageError{name + std::string(kOnlyWithPrecise)};
        if (std::optional<std::string> refusal = reader(**slot, o.conventions))
            return UsageError{name + std::string(": ") + *refusal};
    }
    if (o.ashtakavargaPlaces) {
        if (std::optional<std::string> refusal =
                ReadAshtakavargaPlacesKey(*o.ashtakavargaPlaces, o.conventions))
            return UsageError{"--ashtakavarga-places: " + *refusal};
    }
    if (o.compare) {
        CalculationChoice with;
        if (std::optional<std::string> refusal = ReadCalculationKey(*o.compare, with))
            return UsageError{"--compare: " + *refusal};
        // The other calculation keeps the reading's places unless it names its own.
        if (o.compare->find(",ashtakavarga=") == std::string::npos)
            with.conventions.ashtakavarga = o.conventions.ashtakavarga;
        if (with.calculation == Calculation::Precise && !PreciseCalculationBuilt())
            return UsageError{std::string("--compare: ") + msg::kNoPreciseBuild};
        o.compareWith = with;
    }
    return std::nullopt;
}

// Birth data given as options, turned into what the entry form would hold.
std::optional<UsageError> EntryFromOptions(const Options& o, BirthEntry& e) {
    static const std::regex kDate(R"((\d{4})-(\d{1,2})-(\d{1,2}))");
    static const std::regex kTime(R"((\d{1,2}):(\d{1,2}))");
    static const std::regex kZone(R"(\d{1,2})");
    static const std::regex kLat(R"((\d{1,3})d(\d{1,3})([NSns]))");
    static const std::regex kLon(R"((\d{1,3})d(\d{1,3})([EWew]))");
    std::smatch m;

    if (!o.date)
        return UsageError{"--date: the date of birth is required"};
    if (!std::regex_match(*o.date, m, kDate))
        return UsageError{"--date: expected YYYY-MM-DD"};
    e.year = ToInt(m[1]);
    e.monthIndex = ToInt(m[2]) - 1;
    e.day = ToInt(m[3]);
    if (e.year < 1901 || e.year > 2050)
        return UsageError{"--date: the year must lie in 1901 to 2050"};
    if (e.monthIndex < 0 || e.monthIndex > 11)
        return UsageError{"--date: the month must lie in 1 to 12"};
    if (e.day < 1 || e.day > 31)
        return UsageError{"--date: the day must lie in 1 to 31"};

    if (!o.time)
        return UsageError{"--time: the time of birth is required"};
    if (!std::regex_match(*o.time, m, kTime))
        return UsageError{"--time: expected HH:MM"};
    e.hour = ToInt(m[1]);
    e.minute = ToInt(m[2]);
    if (e.hour > 24 || e.minute > 59)
        return UsageError{"--time: the hour must lie in 0 to 24 and the minute in 0 to 59"};

    // A place finds the zone itself, unless the zone or the box is given.
    if (!o.zone && !(o.place && !o.dst))
        return UsageError{"--zone: the time-zone row is required (see --zones)"};
    if (o.zone && (!std::regex_match(*o.zone, kZone) || ToInt(*o.zone) >= kTimeZoneCount))
        return UsageError{"--zone: expected a row number from 0 to 70 (see --zones)"};
    e.zoneRow = o.zone ? ToInt(*o.zone) : 0;

    if (o.lat) {
        if (!std::regex_match(*o.lat, m, kLat))
            return UsageError{"--lat: expected degrees, \"d\", minutes and N or S, for example 51d30N"};
        e.latDeg = m[1];
        e.latMin = m[2];
        e.latDirection = (m[3] == "S" || m[3] == "s") ? 1 : 0;
    } else {
        e.latDeg.clear();
        e.latMin.clear();
    }
    if (o.lon) {
        if (!std::regex_match(*o.lon, m, kLon))
            return UsageError{"--lon: expected degrees, \"d\", minutes and E or W, for example 77d13E"};
        e.lonDeg = m[1];
        e.lonMin = m[2];
        e.lonDirection = (m[3] == "W" || m[3] == "w") ? 1 : 0;
    } else {
        e.lonDeg.clear();
        e.lonMin.clear();
    }
    e.name = o.name.value_or("");
    e.city = o.city.value_or("");
    e.state = o.state.value_or("");
    e.country = o.country.value_or("");
    e.dst = o.dst;
    return std::nullopt;
}

const char* OptionOfField(EntryField f) {
    switch (f) {
    case EntryField::Name:
        return "--name";
    case EntryField::LatDeg:
    case EntryField::LatMin:
        return "--lat";
    case EntryField::LonDeg:
    case EntryField::LonMin:
        return "--lon";
    case EntryField::City:
        return "--city";
    case EntryField::State:
        return "--state";
    case EntryField::Country:
        return "--country";
    case EntryField::None:
        break;
    }
    return "--date";
}

void WriteChartLines(std::ostream& out, const std::array<std::vector<std::string>, 12>& cells) {
    for (std::size_t j = 0; j < cells.size(); ++j) {
        out << (j + 1) << ':';
        for (std::size_t k = 0; k < cells[j].size(); ++k)
            out << (k == 0 ? " " : ", ") << cells[j][k];
        out << "\r\n";
    }
}

// The moment whose running periods --compare names, in the periods' minutes from 1970 (universal time).
double NowMinutesUT() {
    using namespace std::chrono;
    return duration<double, std::ratio<60>>(system_clock::now().time_since_epoch()).count();
}

// Checks and computes one reading; on success writes it out. A refusal names the file read, or for
// birth data given as options the option at fault, and none when no option is (the ephemeris files).
bool ProduceReading(const BirthEntry& entry, const Options& o, const std::string& file, std::ostream& out,
                    std::ostream& err, bool fromOptions) {
    const std::string source = fromOptions ? std::string() : file + ": ";
    if (const auto refusal = CheckBirthEntry(entry)) {
        err << (fromOptions ? std::string(OptionOfField(refusal->focus)) + ": " : source) << refusal->message
            << '\n';
        return false;
    }
    const std::optional<Birth> birth = BirthFromEntry(entry);
    const CalculationChoice choice{o.precise ? Calculation::Precise : Calculation::Classic, o.conventions};
    const ReadingResult result =
        birth ? ComputeReading(*birth, choice) : ReadingResult{std::nullopt, msg::kReadingFailed};
    if (!result.reading) {
        const bool optionAtFault = fromOptions && result.atFault != EntryField::None;
        err << (optionAtFault ? std::string(OptionOfField(result.atFault)) + ": " : source) << result.message
            << '\n';
        return false;
    }
    const Reading& reading = *result.reading;
    out << ChartExportText(reading);
    if (o.chart)
        WriteChartLines(out, ChartCellEntries(reading));
    if (o.interpretation)
        out << HouseLordReportText(reading);
    if (o.navamsa)
        WriteChartLines(out, NavamsaCellEntries(reading));
    for (int division : o.vargas) {
        out << 'D' << division << "\r\n";
        WriteChartLines(out, VargaCellEntries(reading, division));
    }
    if (o.ashtakavarga)
        out << AshtakavargaLines(ComputeAshtakavarga(reading));
    if (o.panchanga)
        out << PanchangaLines(ComputePanchanga(reading));
    if (o.transit) {
        const ReadingResult transit = TransitReading(reading, o.transitMinutes);
        const SadeSatiSearch sadeSati =
            transit.reading ? SadeSatiAt(reading, o.transitMinutes) : SadeSatiSearch{};
        const std::string& refusal = transit.reading ? sadeSati.message : transit.message;
        if (!refusal.empty()) {
            err << source << "--transit: " << refusal << '\n';
            return false;
        }
        WriteChartLines(out, TransitCellEntries(*transit.reading));
        out << SadeSatiLine(sadeSati);
    }
    if (o.dasha)
        out << PeriodLines(ReadingPeriods(reading), reading.birth, o.depth);
    if (o.compareWith) {
        const ReadingResult other = ComputeReading(*birth, *o.compareWith);
        if (!other.reading) {
            err << source << "--compare: " << other.message << '\n';
            return false;
        }
        out << ComparisonLines(CompareReadings(reading, *other.reading, NowMinutesUT()));
    }
    return true;
}

std::string& CompanionFolder() {
    static std::string folder;
    return folder;
}

#if QUILLMERE_HAS_ATLAS

// QUILLMERE_ATLAS, or the atlas beside the companion; an installed companion lies in bin/ and finds it
// in the program's folder or where the build installs data.
std::optional<atlas::Atlas> LoadCompanionAtlas(std::string& error) {
    std::vector<std::string> besideCompanion;
#ifdef QUILLMERE_PROGRAM_DIR_FROM_BIN
    besideCompanion.push_back(QUILLMERE_PROGRAM_DIR_FROM_BIN);
#endif
    return atlas::Atlas::Load(FindDataFile(atlas::kAtlasFileName, "QUILLMERE_ATLAS",
                                           DataFolders(CompanionFolder(), besideCompanion)),
                              error);
}

// Lists the places matching text; false (and the reason on err) when there is none or no atlas.
bool ListPlaces(const std::string& text, std::ostream& out, std::ostream& err) {
    std::string error;
    const std::optional<atlas::Atlas> places = LoadCompanionAtlas(error);
    if (!places) {
        err << "--places: " << error << '\n';
        return false;
    }
    const std::vector<const atlas::Place*> found = places->Search(text, 20);
    if (found.empty()) {
        err << "No place matches " << text << ".\n";
        return false;
    }
    for (const atlas::Place* place : found) {
        char degrees[64];
        std::snprintf(degrees, sizeof degrees, "%.4f\t%.4f", place->latitude, place->longitude);
        out << place->name << '\t' << place->state << '\t' << place->country << '\t' << degrees << '\t'
            << place->zone << '\t' << place->population << '\n';
    }
    return true;
}

} // namespace

namespace {

// Fills what --place gives and no other option does: the coordinates, the place fields and, unless
// --zone or --dst is given, the zone row, the box and (where no row holds the offset) the time. Says
// on err what was derived; false when there is no atlas, no match or no zone.
bool ApplyPlace(const Options& o, BirthEntry& e, std::ostream& err) {
    std::string error;
    const std::optional<atlas::Atlas> places = LoadCompanionAtlas(error);
    if (!places) {
        err << "--place: " << error << '\n';
        return false;
    }
    const std::vector<const atlas::Place*> found = places->Search(*o.place, 1);
    if (found.empty()) {
        err << "No place matches " << *o.place << ".\n";
        return false;
    }
    const atlas::Place& p = *found.front();
    if (!o.lat) {
        const atlas::DegreesMinutes lat = atlas::RoundToMinutes(p.latitude);
        e.latDeg = std::to_string(lat.degrees);
        e.latMin = std::to_string(lat.minutes);
        e.latDirection = p.latitude < 0 ? 1 : 0;
    }
    if (!o.lon) {
        const atlas::DegreesMinutes lon = atlas::RoundToMinutes(p.longitude);
        e.lonDeg = std::to_string(lon.degrees);
        e.lonMin = std::to_string(lon.minutes);
        e.lonDirection = p.longitude < 0 ? 1 : 0;
    }
    const std::string name = atlas::FoldToFieldText(p.name);
    if (!o.city)
        e.city = name;
    if (!o.state)
        e.state = atlas::StateFieldText(p);
    if (!o.country)
        e.country = atlas::FoldToFieldText(p.country);
    std::string note = atlas::PlaceCaption(p);
    if (!o.zone && !o.dst) {
        const std::optional<atlas::ZoneChoice> choice = atlas::ChooseZoneRow(
            std::string(p.zone), name, {e.year, e.monthIndex + 1, e.day, e.hour, e.minute}, error);
        if (!choice) {
            err << "--place: " << error << '\n';
            return false;
        }
        e.zoneRow = choice->row;
        e.dst = choice->dst;
        note += ": " + choice->line;
        const atlas::LocalDateTime& t = choice->shownTime;
        if (choice->timeChanged && t.year >= 1901 && t.year <= 2050) {
            e.year = t.year;
            e.monthIndex = t.month - 1;
            e.day = t.day;
            e.hour = t.hour;
            e.minute = t.minute;
        } else if (choice->timeChanged) {
            note += msg::kMovedTimeOutsideYears;
        }
    }
    err << note << '\n';
    return true;
}

#else

// A build without the atlas refuses --places and --place as usage errors before these are reached.
bool ListPlaces(const std::string&, std::ostream&, std::ostream&) {
    return false;
}
bool ApplyPlace(const Options&, BirthEntry&, std::ostream&) {
    return false;
}

#endif

} // namespace

void UseAtlasBeside(const std::string& companionFolder) {
    CompanionFolder() = companionFolder;
}

int RunChartCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options o;
    if (auto usage = ParseOptions(args, o)) {
        err << usage->text << "\nTry 'quillmere-chart --help'.\n";
        return 2;
    }
    if (o.help) {
        out << kHelp;
        return 0;
    }
    if (o.zones) {
        for (int row = 0; row < kTimeZoneCount; ++row)
            out << row << ": " << TimeZoneTable[static_cast<std::size_t>(row)].text << '\n';
        if (!o.birthGiven && o.files.empty() && !o.places)
            return 0;
    }
    bool placesListed = true;
    if (o.places) {
        placesListed = ListPlaces(*o.places, out, err);
        if (!o.birthGiven && o.files.empty())
            return placesListed ? 0 : 1;
    }
    if (!o.birthGiven && o.files.empty()) {
        err << "No reading asked for: give saved readings or birth data.\nTry 'quillmere-chart --help'.\n";
        return 2;
    }

    bool allProduced = true;
    if (o.birthGiven) {
        BirthEntry entry;
        if (auto usage = EntryFromOptions(o, entry)) {
            err << usage->text << "\nTry 'quillmere-chart --help'.\n";
            return 2;
        }
        if (o.place && !ApplyPlace(o, entry, err))
            return 1;
        const std::pair<const char*, const std::string*> texts[] = {{"--name", &entry.name},
                                                                    {"--city", &entry.city},
                                                                    {"--state", &entry.state},
                                                                    {"--country", &entry.country}};
        bool lettersOk = true;
        for (const auto& [option, text] : texts) {
            if (lettersOk && !PassesLettersFilter(*text)) {
                err << option << ": " << msg::kOnlyLetters << '\n';
                lettersOk = false;
            }
        }
        if (!lettersOk) {
            allProduced = false;
        } else if (!ProduceReading(entry, o, std::string(), out, err, true)) {
            allProduced = false;
        } else if (o.save) {
            // The reading was made, so the entry gives a birth.
            const std::optional<std::string> bytes = EncodeSavedReading(*BirthFromEntry(entry));
            if (!bytes) {
                err << "--save: " << msg::kCannotSaveCharacters << '\n';
                allProduced = false;
            } else if (std::string reason; !WriteFileAtomically(*o.save, *bytes, &reason)) {
                err << "--save: " << *o.save << ": " << msg::kFileNotSaved << ' ' << reason << '\n';
                allProduced = false;
            }
        }
    }

    for (const std::string& file : o.files) {
        // The entry form's own open path, with every check it makes.
        const SavedReadingOpen opened = OpenSavedReadingFile(file);
        if (!opened.entry) {
            err << file << ": " << msg::kCheckFile << ' ' << opened.reason << '\n';
            allProduced = false;
            continue;
        }
        if (!ProduceReading(*opened.entry, o, file, out, err, false))
            allProduced = false;
    }
    return allProduced && placesListed ? 0 : 1;
}
