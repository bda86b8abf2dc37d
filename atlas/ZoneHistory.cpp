// SPDX-License-Identifier: AGPL-3.0-or-later
#include "atlas/ZoneHistory.h"

#include "records/Calendar.h"
#include "records/Vocabulary.h"

#include <date/date.h>
// Debian's date/ptz.h (date 3.0.1) names hh_mm_ss under both "using namespace date" and "using
// namespace std::chrono", which C++20 makes ambiguous; a name in its own namespace is found first. It
// also defines a function out of line, so no other file may include it.
namespace Posix {
template <class Duration> using hh_mm_ss = date::hh_mm_ss<Duration>;
}
#include <date/ptz.h>
#include <date/tz.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <map>
#include <mutex>
#include <regex>
#include <utility>
#include <vector>

namespace atlas {
namespace {

using date::local_seconds;
using date::sys_seconds;
using std::chrono::seconds;

// Debian's date/tz library reads the compiled database from here; the zone files' closing rules are
// read from the same files.
constexpr const char* kZoneFolder = "/usr/share/zoneinfo/";
// A zone file is a few kilobytes; anything far larger is not one.
constexpr std::streamsize kMaxZoneFileBytes = 1 << 20;

constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;
// No zone's offset reaches a day and a bit either side of UTC.
constexpr seconds kOffsetReach{26 * 3600};
// A walk over a zone's periods in search of its standard time goes no further than this.
constexpr int kMaxPeriodWalk = 48;
// No clocks were ever set further ahead of their standard time than double summer time.
constexpr int kLongestDaylightSeconds = 2 * 3600;
// A closing rule's clocks change at 2:00 unless it says otherwise.
constexpr int kDefaultChangeSeconds = 2 * 3600;

// The library marks a zone's last period as running to its largest year.
bool OpenEnded(sys_seconds end) {
    return end >= date::sys_days{date::year{kLastYear + 1} / 1 / 1};
}

// The library's first period of a zone starts at its smallest year; the closing rule's periods at the
// smallest instant.
bool HasEarlierPeriod(sys_seconds begin) {
    return begin > date::sys_days{date::year::min() / 1 / 1};
}

// One period of a zone's history: from begin (inclusive) to end (exclusive), in universal time.
struct Period {
    sys_seconds begin, end;
    int offset = 0; // seconds east of UTC
    bool daylight = false;
    std::string abbreviation;
};

// ---------------------------------------------------------------- the closing rule of a zone file

std::optional<std::string> ReadRuleFromZoneFile(const std::string& zoneName) {
    std::ifstream in(std::string(kZoneFolder) + zoneName, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes;
    char buffer[8192];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (static_cast<std::streamsize>(bytes.size()) > kMaxZoneFileBytes)
            return std::nullopt;
    }
    if (in.bad())
        return std::nullopt;
    // Files of version 2 and later end with the rule on a line of its own.
    if (bytes.size() < 6 || bytes.compare(0, 4, "TZif") != 0 || bytes[4] < '2' || bytes.back() != '\n')
        return std::nullopt;
    const std::size_t open = bytes.rfind('\n', bytes.size() - 2);
    if (open == std::string::npos)
        return std::nullopt;
    return bytes.substr(open + 1, bytes.size() - open - 2);
}

// POSIX TZ strings as zone files write them, the change times running from -167 to 167 hours. The
// date library checks no ranges (it would take month 13 or a week 6), so the text is checked here.
const std::regex& RuleGrammar() {
    static const std::string name = R"(([A-Za-z]{3,}|<[A-Za-z0-9+-]{3,}>))";
    static const std::string offset = R"(([+-]?(?:[01]?\d|2[0-4])(?::[0-5]\d){0,2}))";
    static const std::string day = R"((M(?:0?[1-9]|1[0-2])\.[1-5]\.[0-6])"       // Mm.w.d
                                   R"(|J(?:36[0-5]|3[0-5]\d|[12]\d\d|[1-9]\d?))" // Jn, 1 to 365
                                   R"(|36[0-5]|3[0-5]\d|[12]\d\d|\d\d?))";       // n, 0 to 365
    static const std::string time = R"((?:/([+-]?(?:16[0-7]|1[0-5]\d|\d\d?)(?::[0-5]\d){0,2}))?)";
    // Zone files always say when daylight time runs: a daylight name comes with its dates.
    static const std::regex grammar(name + offset + "(?:" + name + offset + "?," + day + time + "," + day +
                                    time + ")?");
    return grammar;
}

// "[+|-]hh[:mm[:ss]]" in seconds, and back as h:mm:ss.
int ClockSeconds(const std::string& text) {
    const int sign = text.front() == '-' ? -1 : 1;
    int total = 0, unit = 3600;
    for (std::size_t pos = text.find_first_not_of("+-"); pos < text.size(); unit /= 60) {
        const std::size_t colon = std::min(text.find(':', pos), text.size());
        total += unit * std::stoi(text.substr(pos, colon - pos));
        pos = colon + 1;
    }
    return sign * total;
}

std::string ClockText(int clockSeconds) {
    const int size = std::abs(clockSeconds);
    const auto two = [](int n) {
        return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
    };
    return (clockSeconds < 0 ? "-" : "") + std::to_string(size / 3600) + ":" + two(size / 60 % 60) + ":" +
           two(size % 60);
}

// A zone file's closing rule, read by the date library.
struct ClosingRule {
    Posix::time_zone zone;
    bool hasDaylight = false;
    // The library reads a change's time as 0 to 99 hours, and refuses Nuuk's -1:00. Such a rule is
    // given to it with the change times and both offsets moved later by this much, which leaves every
    // instant of change where it is; the offsets it answers are moved back.
    int shiftSeconds = 0;
};

std::optional<ClosingRule> ReadClosingRule(const std::string& text) {
    std::smatch part;
    if (!std::regex_match(text, part, RuleGrammar()))
        return std::nullopt;
    const bool hasDaylight = part[3].matched;
    std::string forLibrary = text;
    int shift = 0;
    if (hasDaylight) {
        const int start = part[6].matched ? ClockSeconds(part[6]) : kDefaultChangeSeconds;
        const int end = part[8].matched ? ClockSeconds(part[8]) : kDefaultChangeSeconds;
        const int earliest = std::min(start, end), latest = std::max(start, end);
        shift = 3600 * (earliest < 0 ? (3599 - earliest) / 3600 : std::min(0, 99 - latest / 3600));
        // Offsets count westward in the text.
        if (shift != 0)
            forLibrary = part.str(1) + ClockText(ClockSeconds(part[2]) - shift) + part.str(3) +
                         (part[4].matched ? ClockText(ClockSeconds(part[4]) - shift) : "") + "," +
                         part.str(5) + "/" + ClockText(start + shift) + "," + part.str(7) + "/" +
                         ClockText(end + shift);
    }
    try {
        return ClosingRule{Posix::time_zone(forLibrary), hasDaylight, shift};
    } catch (const std::exception&) {
        // A shift too large for the library's two-digit hours.
        return std::nullopt;
    }
}

struct RuleCache {
    std::mutex mutex;
    ZoneRuleSource source;
    std::map<std::string, std::optional<ClosingRule>> rules;
};

RuleCache& Rules() {
    static RuleCache cache;
    return cache;
}

std::optional<ClosingRule> RuleOf(const std::string& zoneName) {
    RuleCache& cache = Rules();
    const std::lock_guard lock(cache.mutex);
    const auto known = cache.rules.find(zoneName);
    if (known != cache.rules.end())
        return known->second;
    const std::optional<std::string> text =
        cache.source ? cache.source(zoneName) : ReadRuleFromZoneFile(zoneName);
    std::optional<ClosingRule> rule = text ? ReadClosingRule(*text) : std::nullopt;
    cache.rules.emplace(zoneName, rule);
    return rule;
}

Period RulePeriodAt(const ClosingRule& rule, sys_seconds t) {
    const date::sys_info info = rule.zone.get_info(t);
    // For a rule without daylight time the library leaves the saving unset.
    return {info.begin, info.end, static_cast<int>(info.offset.count()) - rule.shiftSeconds,
            rule.hasDaylight && info.save.count() != 0, info.abbrev};
}

// ---------------------------------------------------------------- a zone's history

class ZoneHistory {
  public:
    ZoneHistory(const date::time_zone* zone, std::string name) : zone_(zone), name_(std::move(name)) {}

    // The period holding the instant t: the library's list, then the file's closing rule.
    std::optional<Period> At(sys_seconds t, std::string& error) {
        const date::sys_info info = zone_->get_info(t);
        Period p{info.begin, info.end, static_cast<int>(info.offset.count()), info.save.count() != 0,
                 info.abbrev};
        if (!OpenEnded(info.end))
            return p;
        if (!rule_)
            rule_ = RuleOf(name_);
        if (!*rule_) {
            error = "The time-zone database holds no readable rule for " + name_ + " after " +
                    LongDateDayFirst(
                        std::chrono::year_month_day{std::chrono::floor<std::chrono::days>(info.begin)}) +
                    ".";
            return std::nullopt;
        }
        Period r = RulePeriodAt(**rule_, t);
        r.begin = std::max(r.begin, info.begin);
        return r;
    }

    // In standard, the offset of the nearest period of standard time before p (earlier) or after it,
    // left empty when there is none within reach. False, with error, when the database fails.
    bool StandardOffsetBeside(const Period& p, bool earlier, std::optional<int>& standard,
                              std::string& error) {
        standard.reset();
        Period walk = p;
        for (int i = 0; i < kMaxPeriodWalk; ++i) {
            if (earlier ? !HasEarlierPeriod(walk.begin) : OpenEnded(walk.end))
                break;
            const auto next = At(earlier ? walk.begin - seconds{1} : walk.end, error);
            if (!next)
                return false;
            walk = *next;
            if (!walk.daylight) {
                standard = walk.offset;
                break;
            }
        }
        return true;
    }

    // How far the clocks stood ahead of the zone's standard time: the offset less that of the nearest
    // period of standard time before, or else after. A zone can move its standard time while on
    // daylight time (Samoa crossed the date line in December 2011, Russia's zones moved in 1981 and
    // 1991), which makes one side's difference a day, or nothing; the side that gives a daylight
    // saving clocks have kept is taken.
    std::optional<int> DaylightMinutes(const Period& p, std::string& error) {
        if (!p.daylight)
            return 0;
        bool behind = false, farAhead = false;
        for (const bool earlier : {true, false}) {
            std::optional<int> standard;
            if (!StandardOffsetBeside(p, earlier, standard, error))
                return std::nullopt;
            if (!standard)
                continue;
            const int ahead = p.offset - *standard;
            if (ahead > 0 && ahead <= kLongestDaylightSeconds)
                return ahead / 60;
            (ahead > 0 ? farAhead : behind) = true;
        }
        // Clocks no further ahead than the standard time beside them keep no daylight saving (the
        // database writes Ireland's winter as an hour behind its summer standard time). Otherwise the
        // database says daylight time without a believable amount, or the zone never kept standard
        // time at all: the usual hour.
        return behind && !farAhead ? 0 : 60;
    }

    struct Local {
        Period first, second; // second: the period after a skip, the second showing of a repeat
        LocalTimeKind kind = LocalTimeKind::Normal;
    };

    // The periods in which a local clock reading showed.
    std::optional<Local> ForLocal(local_seconds local, std::string& error) {
        const sys_seconds asUtc{local.time_since_epoch()};
        std::vector<Period> near;
        auto p = At(asUtc - kOffsetReach, error);
        // A few periods at most lie so close together; the count only guards the loop.
        for (int i = 0; p && i < kMaxPeriodWalk; ++i) {
            near.push_back(*p);
            if (p->end > asUtc + kOffsetReach || OpenEnded(p->end))
                break;
            p = At(p->end, error);
        }
        if (!p)
            return std::nullopt;
        std::vector<std::size_t> holding;
        for (std::size_t i = 0; i < near.size(); ++i) {
            const sys_seconds t = asUtc - seconds{near[i].offset};
            if (near[i].begin <= t && t < near[i].end)
                holding.push_back(i);
        }
        Local out;
        if (holding.size() == 1) {
            out.first = near[holding[0]];
            return out;
        }
        if (holding.size() >= 2) {
            out.kind = LocalTimeKind::Repeated;
            out.first = near[holding[0]];
            out.second = near[holding[1]];
            return out;
        }
        for (std::size_t i = 0; i + 1 < near.size(); ++i) {
            if (asUtc - seconds{near[i].offset} >= near[i].end &&
                asUtc - seconds{near[i + 1].offset} < near[i + 1].begin) {
                out.kind = LocalTimeKind::Skipped;
                out.first = near[i];
                out.second = near[i + 1];
                return out;
            }
        }
        error = "The time-zone database gives no offset for that time in " + name_ + ".";
        return std::nullopt;
    }

  private:
    const date::time_zone* zone_;
    std::string name_;
    std::optional<std::optional<ClosingRule>> rule_;
};

std::optional<local_seconds> CheckedLocal(const LocalDateTime& local, std::string& error) {
    if (local.year < kFirstYear || local.year > kLastYear) {
        error = "The year " + std::to_string(local.year) +
                " lies outside the time-zone history, which covers the years 1 to 9999.";
        return std::nullopt;
    }
    if (local.month < 1 || local.month > 12) {
        error = "There is no month " + std::to_string(local.month) + "; the months run from 1 to 12.";
        return std::nullopt;
    }
    const date::year_month_day ymd{date::year{local.year}, date::month{static_cast<unsigned>(local.month)},
                                   date::day{static_cast<unsigned>(std::clamp(local.day, 0, 255))}};
    if (!ymd.ok()) {
        error = "There is no day " + std::to_string(local.day) + " in " +
                std::string(MonthName(local.month)) + " " + std::to_string(local.year) + ".";
        return std::nullopt;
    }
    // Hour 24 is the next day's midnight, as on the entry form.
    if (local.hour < 0 || local.hour > 24 || local.minute < 0 || local.minute > 59) {
        error = "The time " + std::to_string(local.hour) + ":" +
                (local.minute >= 0 && local.minute < 10 ? "0" : "") + std::to_string(local.minute) +
                " is not a time of day.";
        return std::nullopt;
    }
    return local_seconds{date::local_days{ymd}.time_since_epoch()} +
           seconds{local.hour * 3600 + local.minute * 60};
}

LocalDateTime ToLocalDateTime(local_seconds t) {
    const auto day = date::floor<date::days>(t);
    const date::year_month_day ymd{day};
    const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(t - day).count();
    return {static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day())), static_cast<int>(minutes / 60),
            static_cast<int>(minutes % 60)};
}

} // namespace

bool IsReadableZoneRule(std::string_view text) {
    return ReadClosingRule(std::string(text)).has_value();
}

void SetZoneRuleSource(ZoneRuleSource source) {
    RuleCache& cache = Rules();
    const std::lock_guard lock(cache.mutex);
    cache.source = std::move(source);
    cache.rules.clear();
}

std::string FormatUtcOffset(int offsetSeconds) {
    return UtcOffsetText(offsetSeconds);
}

std::optional<ZoneMoment> ZoneAt(const std::string& zoneName, const LocalDateTime& local,
                                 std::string& error) {
    const std::optional<local_seconds> clock = CheckedLocal(local, error);
    if (!clock)
        return std::nullopt;
    if (zoneName.empty()) {
        error = "No time zone was given.";
        return std::nullopt;
    }
    try {
        date::get_tzdb();
    } catch (const std::exception& e) {
        error = "The time-zone database could not be read: " + std::string(e.what()) + ".";
        return std::nullopt;
    }
    const date::time_zone* zone = nullptr;
    try {
        zone = date::locate_zone(zoneName);
    } catch (const std::exception&) {
        error = "The time zone \"" + zoneName + "\" is not in the time-zone database.";
        return std::nullopt;
    }
    try {
        ZoneHistory history(zone, zoneName);
        const auto found = history.ForLocal(*clock, error);
        if (!found)
            return std::nullopt;
        const auto daylight = history.DaylightMinutes(found->first, error);
        if (!daylight)
            return std::nullopt;
        ZoneMoment m;
        m.offsetSeconds = found->first.offset;
        m.daylightMinutes = *daylight;
        m.abbreviation = found->first.abbreviation;
        m.localMeanTime = m.abbreviation == "LMT";
        m.kind = found->kind;
        m.date = ToLocalDateTime(*clock);
        if (m.kind != LocalTimeKind::Normal) {
            const sys_seconds change =
                m.kind == LocalTimeKind::Skipped ? found->second.begin : found->first.end;
            m.changedAt =
                ToLocalDateTime(local_seconds{change.time_since_epoch()} + seconds{found->first.offset});
            m.offsetAfterSeconds = found->second.offset;
        }
        return m;
    } catch (const std::exception& e) {
        error = "The time-zone database could not be read: " + std::string(e.what()) + ".";
        return std::nullopt;
    }
}

} // namespace atlas
