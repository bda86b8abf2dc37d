// SPDX-License-Identifier: AGPL-3.0-or-later
#include "pipeline/ConventionKeys.h"

#include <charconv>
#include <chrono>
#include <regex>

namespace {

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

template <typename Table> std::string KnownKeys(const Table& table) {
    std::string keys;
    for (const auto& row : table)
        keys += (keys.empty() ? "" : ", ") + std::string(row.key);
    return keys;
}

constexpr const char* kUserForm = "user:DEG:MIN:SEC@YYYY-MM-DD";

} // namespace

bool UserDateReal(const UserAyanamsa& user) {
    // The calendar keeps a day and a month in a byte each: larger values must not wrap into a real date.
    if (user.month < 1 || user.month > 12 || user.day < 1 || user.day > 31)
        return false;
    const std::chrono::year_month_day date{std::chrono::year{user.year},
                                           std::chrono::month{static_cast<unsigned>(user.month)},
                                           std::chrono::day{static_cast<unsigned>(user.day)}};
    return date.ok();
}

bool UserYearKnown(const UserAyanamsa& user) {
    return user.year >= 1800 && user.year <= 2399;
}

namespace {

std::optional<std::string> ReadUserAyanamsa(std::string_view key, Conventions& conventions) {
    static const std::regex kUser(
        R"(user:(\d{1,2}):(\d{1,2}):(\d{1,2}(?:\.\d{1,6})?)@(\d{4})-(\d{1,2})-(\d{1,2}))");
    const std::string text(key);
    std::smatch m;
    if (!std::regex_match(text, m, kUser))
        return std::string("expected ") + kUserForm + ", for example user:23:51:11@2000-01-01";
    UserAyanamsa user;
    user.degrees = std::stoi(m[1]);
    user.minutes = std::stoi(m[2]);
    const std::string seconds = m[3];
    std::from_chars(seconds.data(), seconds.data() + seconds.size(), user.seconds);
    user.year = std::stoi(m[4]);
    user.month = std::stoi(m[5]);
    user.day = std::stoi(m[6]);
    if (user.minutes > 59 || user.seconds >= 60)
        return std::string("the minutes and seconds of ") + kUserForm + " must lie below 60";
    if (!user.Plausible())
        return std::string("the value of ") + kUserForm + " must lie from " +
               std::to_string(kLeastUserAyanamsa) + " to " + std::to_string(kMostUserAyanamsa) +
               " degrees, where the ayanamsas in use lie";
    if (!UserDateReal(user))
        return std::string("the date of ") + kUserForm + " is not a date: the month must be 1 to 12 and " +
               "the day one the month has";
    if (!UserYearKnown(user))
        return std::string("the date of ") + kUserForm + " must be a date of the years 1800 to 2399";
    conventions.ayanamsa = Ayanamsa::User;
    conventions.user = user;
    return std::nullopt;
}

// The value of the table's row whose key is given, or the refusal naming the table's keys.
template <typename Table, typename Row, typename Value>
std::optional<std::string> ReadFromTable(const Table& table, std::string_view key, const char* what,
                                         Value Row::*value, Value& into) {
    for (const Row& row : table) {
        if (key == row.key) {
            into = row.*value;
            return std::nullopt;
        }
    }
    return "unknown " + std::string(what) + " " + Quoted(key) + "; known: " + KnownKeys(table);
}

} // namespace

std::optional<std::string> ReadAyanamsaKey(std::string_view key, Conventions& conventions) {
    for (const AyanamsaWords& words : kNamedAyanamsas) {
        if (key == words.key) {
            conventions.ayanamsa = words.ayanamsa;
            conventions.user = {};
            return std::nullopt;
        }
    }
    if (key.substr(0, kUserAyanamsaKey.size() + 1) == std::string(kUserAyanamsaKey) + ":")
        return ReadUserAyanamsa(key, conventions);
    return "unknown ayanamsa " + Quoted(key) + "; known: " + KnownKeys(kNamedAyanamsas) + ", " + kUserForm;
}

std::optional<std::string> ReadNodeKey(std::string_view key, Conventions& conventions) {
    return ReadFromTable(kNodes, key, "node", &NodeWords::node, conventions.node);
}

std::optional<std::string> ReadPeriodYearKey(std::string_view key, Conventions& conventions) {
    return ReadFromTable(kPeriodYears, key, "year", &PeriodYearWords::year, conventions.year);
}

std::optional<std::string> ReadAshtakavargaPlacesKey(std::string_view key, Conventions& conventions) {
    return ReadFromTable(kAshtakavargaPlaces, key, "ashtakavarga places", &AshtakavargaPlacesWords::places,
                         conventions.ashtakavarga);
}

std::optional<std::string> ReadCalculationKey(std::string_view text, CalculationChoice& choice) {
    static constexpr const char* kForm = "expected classic or precise, then ayanamsa=NAME, node=mean|true, "
                                         "year-days=DAYS or ashtakavarga=common|parashara, separated by "
                                         "commas";
    const std::size_t comma = text.find(',');
    const std::string_view calculation = text.substr(0, comma);
    CalculationChoice read;
    if (calculation == "precise")
        read.calculation = Calculation::Precise;
    else if (calculation != "classic")
        return std::string(kForm);
    for (std::size_t start = comma; start != std::string_view::npos;) {
        const std::size_t end = text.find(',', start + 1);
        const std::string_view part =
            text.substr(start + 1, end == std::string_view::npos ? end : end - start - 1);
        start = end;
        const std::size_t equals = part.find('=');
        if (equals == std::string_view::npos)
            return std::string(kForm);
        const std::string_view name = part.substr(0, equals);
        const std::string_view value = part.substr(equals + 1);
        std::optional<std::string> (*reader)(std::string_view, Conventions&) = nullptr;
        if (name == "ayanamsa")
            reader = ReadAyanamsaKey;
        else if (name == "node")
            reader = ReadNodeKey;
        else if (name == "year-days")
            reader = ReadPeriodYearKey;
        else if (name == "ashtakavarga")
            reader = ReadAshtakavargaPlacesKey;
        else
            return "unknown choice " + Quoted(name) + "; known: ayanamsa, node, year-days, ashtakavarga";
        if (read.calculation != Calculation::Precise && reader != ReadAshtakavargaPlacesKey)
            return std::string(name) + kOnlyWithPrecise;
        if (std::optional<std::string> refusal = reader(value, read.conventions))
            return refusal;
    }
    choice = read;
    return std::nullopt;
}

std::string AyanamsaKey(const Conventions& conventions) {
    for (const AyanamsaWords& words : kNamedAyanamsas)
        if (words.ayanamsa == conventions.ayanamsa)
            return std::string(words.key);
    const UserAyanamsa& user = conventions.user;
    return std::string(kUserAyanamsaKey) + ":" + std::to_string(user.degrees) + ":" +
           std::to_string(user.minutes) + ":" + user.SecondsText() + "@" + user.DateText();
}

std::string CalculationKey(const CalculationChoice& choice) {
    const Conventions& c = choice.conventions;
    // The common places are left out, as every key written before them was.
    const std::string places = c.ashtakavarga == AshtakavargaPlaces::Common
                                   ? std::string()
                                   : ",ashtakavarga=" + std::string(PlacesWords(c.ashtakavarga).key);
    if (choice.calculation == Calculation::Classic)
        return "classic" + places;
    return "precise,ayanamsa=" + AyanamsaKey(c) + ",node=" + std::string(Node(c.node).key) +
           ",year-days=" + std::string(Year(c.year).key) + places;
}
