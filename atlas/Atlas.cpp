// SPDX-License-Identifier: AGPL-3.0-or-later
#include "atlas/Atlas.h"

#include "atlas/FieldText.h"
#include "records/Utf8.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>
#include <unordered_map>

namespace atlas {
namespace {

constexpr const char* kCannotRead = "The atlas of places could not be read: ";
constexpr std::string_view kCount = "places\t";
constexpr std::string_view kColumns =
    "name\tstate\tcountry\tlatitude\tlongitude\tpopulation\tzone\tother names";
constexpr std::size_t kFields = 8;
// The atlas is about 13 MB; anything far larger is some other file, and reading it whole would only
// cost memory.
constexpr std::uintmax_t kLargestFile = 256u << 20;

std::string Damaged(std::size_t line) {
    return "The atlas of places is damaged (line " + std::to_string(line) + ").";
}

std::string CutShort(std::size_t found, std::size_t promised) {
    return "The atlas of places is cut short: it holds " + std::to_string(found) + " of its " +
           std::to_string(promised) + " places.";
}

std::string SystemReason(const std::string& path, int error) {
    return path + ": " + std::generic_category().message(error) + ".";
}

// Reads the whole file, refusing anything but a regular file (a pipe would never end).
bool ReadWhole(const std::string& path, std::string& content, std::string& error) {
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec) {
        error = kCannotRead + SystemReason(path, ec.value());
        return false;
    }
    if (!std::filesystem::is_regular_file(status)) {
        error = kCannotRead + path + " is not a regular file.";
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        error = kCannotRead + SystemReason(path, ec.value());
        return false;
    }
    if (size > kLargestFile) {
        error = kCannotRead + path + " is too large to be an atlas of places.";
        return false;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = kCannotRead + SystemReason(path, errno != 0 ? errno : EIO);
        return false;
    }
    content.resize(static_cast<std::size_t>(size));
    in.read(content.data(), static_cast<std::streamsize>(size));
    if (in.bad() || static_cast<std::uintmax_t>(in.gcount()) != size) {
        error = kCannotRead + (in.bad() ? SystemReason(path, errno != 0 ? errno : EIO)
                                        : path + " ended before its end; it may be being replaced.");
        return false;
    }
    return true;
}

bool ParseNumber(std::string_view s, double low, double high, double& value) {
    // Digits with a sign and decimals, as the generator writes them: no exponent, no "nan".
    std::size_t i = (!s.empty() && s[0] == '-') ? 1 : 0;
    const std::size_t digits = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9')
        ++i;
    if (i == digits)
        return false;
    if (i < s.size() && s[i] == '.') {
        const std::size_t decimals = ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i;
        if (i == decimals)
            return false;
    }
    if (i != s.size())
        return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size() && value >= low && value <= high;
}

bool ParsePopulation(std::string_view s, long long& value) {
    if (s.empty() || s.size() > 15 ||
        !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size();
}

bool ParseCount(std::string_view s, std::size_t& value) {
    if (s.empty() || s.size() > 9 || s[0] == '0' ||
        !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size();
}

bool IsZoneName(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' ||
               c == '_' || c == '-' || c == '+';
    });
}

// What is read of a place's texts besides the state and country: offsets into the kept texts.
struct ReadTexts {
    std::uint32_t nameOffset, nameLength, zone;
};

} // namespace

std::optional<Atlas> Atlas::Load(const std::string& path, std::string& error) {
    std::string content;
    if (!ReadWhole(path, content, error))
        return std::nullopt;

    // Everything is sized once, when the head has been read, so that nothing grows (and leaves freed
    // blocks behind) while the file is read: from the lines that can hold a place (their fields
    // counted by tabs), never more than the head gives. Counting every line would reserve gigabytes
    // for a file of empty lines before its first line is refused. A line with other names has one
    // more than it has bars between them; one without ends in its tab.
    std::size_t placeLines = 0, names = 0, tabs = 0, bars = 0;
    for (std::size_t i = 0; i < content.size(); ++i) {
        if (content[i] == '\t') {
            ++tabs;
        } else if (content[i] == '|') {
            ++bars;
        } else if (content[i] == '\n') {
            if (tabs == kFields - 1) {
                ++placeLines;
                const std::size_t last = content[i - 1] == '\r' ? i - 1 : i;
                names += bars + (content[last - 1] == '\t' ? 1 : 2);
            }
            tabs = bars = 0;
        }
    }
    Atlas atlas;
    std::vector<ReadTexts> read;
    const auto reserve = [&](std::size_t promised) {
        const std::size_t places = std::min(promised, placeLines);
        atlas.places_.reserve(places);
        atlas.compared_.reserve(places);
        atlas.keys_.reserve(places == placeLines ? names : 2 * places);
        read.reserve(places);
        // A folded text is never longer than its text: every letter with marks takes two bytes or more.
        atlas.folded_.reserve(content.size());
    };

    // The texts kept are moved to the front of the file's own buffer as it is read: what is kept of
    // a line is never longer than the line, so nothing unread is overwritten.
    std::size_t kept = 0;
    const auto keep = [&](std::string_view text) {
        const std::size_t offset = kept;
        std::memmove(content.data() + kept, text.data(), text.size());
        kept += text.size();
        return static_cast<std::uint32_t>(offset);
    };
    // States, countries and zones repeat thousands of times: each is kept once.
    std::unordered_map<std::string_view, std::uint32_t> shared;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> sharedTexts; // offset and length of each
    const auto share = [&](std::string_view text) {
        if (const auto it = shared.find(text); it != shared.end())
            return it->second;
        const std::uint32_t offset = keep(text);
        const auto id = static_cast<std::uint32_t>(sharedTexts.size());
        sharedTexts.emplace_back(offset, static_cast<std::uint32_t>(text.size()));
        shared.emplace(std::string_view(content.data() + offset, text.size()), id);
        return id;
    };
    // A place's name or other name folded into folded_ and the index; a text of no letters (another
    // script) finds nothing and is left out.
    const auto addFolded = [&](std::string_view text, std::uint32_t place, long long population,
                               Folding& name) {
        const std::string folded = FoldForMatch(text);
        if (folded.empty())
            return;
        const Folding f{static_cast<std::uint32_t>(atlas.folded_.size()),
                        static_cast<std::uint32_t>(folded.size())};
        atlas.folded_ += folded;
        if (name.length == 0)
            name = f;
        atlas.keys_.push_back(Key{f, place,
                                  static_cast<std::uint32_t>(std::min<long long>(
                                      population, std::numeric_limits<std::uint32_t>::max()))});
    };

    std::size_t promised = 0; // the number of places the file's head gives
    bool columnsSeen = false;
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start < content.size();) {
        ++lineNumber;
        const std::size_t end = content.find('\n', start);
        // A last line without its line end is a file cut short.
        if (end == std::string::npos) {
            error = Damaged(lineNumber);
            return std::nullopt;
        }
        std::string_view line(content.data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!columnsSeen) {
            if (promised == 0 && line.starts_with(kCount) && ParseCount(line.substr(kCount.size()), promised))
                continue;
            if (promised != 0 && line == kColumns) {
                columnsSeen = true;
                reserve(promised);
            } else if (promised != 0 || line.empty() || line[0] != '#') {
                error = Damaged(lineNumber);
                return std::nullopt;
            }
            continue;
        }

        std::string_view fields[kFields];
        std::size_t count = 0;
        for (std::size_t from = 0;;) {
            const std::size_t tab = line.find('\t', from);
            if (count == kFields) {
                ++count; // too many fields
                break;
            }
            fields[count++] = line.substr(from, tab == std::string_view::npos ? tab : tab - from);
            if (tab == std::string_view::npos)
                break;
            from = tab + 1;
        }
        Place place;
        if (count != kFields || atlas.places_.size() == promised || fields[0].empty() || fields[2].empty() ||
            !IsValidUtf8(fields[0]) || !IsValidUtf8(fields[1]) || !IsValidUtf8(fields[2]) ||
            !ParseNumber(fields[3], -90, 90, place.latitude) ||
            !ParseNumber(fields[4], -180, 180, place.longitude) ||
            !ParsePopulation(fields[5], place.population) || !IsZoneName(fields[6]) ||
            !IsValidUtf8(fields[7])) {
            error = Damaged(lineNumber);
            return std::nullopt;
        }
        const auto index = static_cast<std::uint32_t>(atlas.places_.size());
        // Folded before anything of the line is kept: keeping moves texts over the line's start.
        Folding name;
        addFolded(fields[0], index, place.population, name);
        for (std::size_t from = 0; from < fields[7].size();) {
            const std::size_t bar = std::min(fields[7].find('|', from), fields[7].size());
            addFolded(fields[7].substr(from, bar - from), index, place.population, name);
            from = bar + 1;
        }
        // In the order of the fields, so that each is kept before a later one overwrites it.
        const std::uint32_t nameOffset = keep(fields[0]);
        const std::uint32_t state = share(fields[1]);
        const std::uint32_t country = share(fields[2]);
        const std::uint32_t zone = share(fields[6]);
        atlas.places_.push_back(place);
        atlas.compared_.push_back(Compared{name, state, country});
        read.push_back(ReadTexts{nameOffset, static_cast<std::uint32_t>(fields[0].size()), zone});
    }
    if (atlas.places_.empty() && !columnsSeen) {
        // The count, the columns, or the first place are missing.
        error = Damaged(lineNumber + 1);
        return std::nullopt;
    }
    if (atlas.places_.size() != promised) {
        error = CutShort(atlas.places_.size(), promised);
        return std::nullopt;
    }
    atlas.texts_.assign(content.data(), content.data() + kept);
    content = std::string();
    shared = {};

    // Views only now that the texts no longer move.
    const char* texts = atlas.texts_.data();
    const auto view = [&](std::uint32_t id) {
        return std::string_view(texts + sharedTexts[id].first, sharedTexts[id].second);
    };
    atlas.foldedTexts_.reserve(sharedTexts.size());
    for (std::uint32_t id = 0; id < sharedTexts.size(); ++id)
        atlas.foldedTexts_.push_back(FoldForMatch(view(id)));
    for (std::size_t i = 0; i < atlas.places_.size(); ++i) {
        Place& place = atlas.places_[i];
        place.name = std::string_view(texts + read[i].nameOffset, read[i].nameLength);
        place.state = view(atlas.compared_[i].state);
        place.country = view(atlas.compared_[i].country);
        place.zone = view(read[i].zone);
    }
    std::sort(atlas.keys_.begin(), atlas.keys_.end(), [&atlas](const Key& a, const Key& b) {
        const std::string_view fa = atlas.Folded(a.folded), fb = atlas.Folded(b.folded);
        return fa != fb ? fa < fb : a.place < b.place;
    });
    // The folded texts laid out again in the keys' order, each text once: a search reads them one
    // after another instead of all over memory, and many places share a name.
    std::vector<char> isName(atlas.keys_.size());
    for (std::size_t k = 0; k < atlas.keys_.size(); ++k) {
        const Folding f = atlas.keys_[k].folded;
        const Folding name = atlas.compared_[atlas.keys_[k].place].name;
        isName[k] = f.offset == name.offset && f.length == name.length;
    }
    // Sized first, so that nothing is left behind by a shrink.
    std::size_t orderedSize = 0;
    for (std::size_t k = 0; k < atlas.keys_.size(); ++k)
        if (k == 0 || atlas.Folded(atlas.keys_[k].folded) != atlas.Folded(atlas.keys_[k - 1].folded))
            orderedSize += atlas.keys_[k].folded.length;
    std::string ordered;
    ordered.reserve(orderedSize);
    std::string_view previous; // in the first layout
    for (std::size_t k = 0; k < atlas.keys_.size(); ++k) {
        Key& key = atlas.keys_[k];
        const std::string_view text = atlas.Folded(key.folded);
        const bool repeated = k > 0 && text == previous;
        previous = text;
        key.folded.offset =
            repeated ? atlas.keys_[k - 1].folded.offset : static_cast<std::uint32_t>(ordered.size());
        if (!repeated)
            ordered += text;
        if (isName[k])
            atlas.compared_[key.place].name = key.folded;
    }
    atlas.folded_ = std::move(ordered);
    error.clear();
    return atlas;
}

bool Atlas::RanksBefore(std::uint32_t a, std::uint32_t b) const {
    // The population is in the rank already; this orders places of the same population.
    const Place& pa = places_[a];
    const Place& pb = places_[b];
    if (const int c = Folded(compared_[a].name).compare(Folded(compared_[b].name)); c != 0)
        return c < 0;
    if (pa.name != pb.name)
        return pa.name < pb.name;
    return a < b;
}

std::vector<const Place*> Atlas::Search(std::string_view query, std::size_t limit) const {
    std::vector<std::size_t> commas;
    for (std::size_t i = 0; i < query.size(); ++i)
        if (query[i] == ',')
            commas.push_back(i);
    if (limit == 0 || FoldForMatch(query.substr(0, commas.empty() ? query.size() : commas[0])).empty())
        return {};
    // The city is the first part and at most two parts follow; only where that finds nothing may the
    // city take commas of its own, since a few names have them.
    for (std::size_t cityParts = commas.size() > 2 ? commas.size() - 1 : 1; cityParts <= commas.size() + 1;
         ++cityParts) {
        std::vector<std::string> rest;
        for (std::size_t i = cityParts - 1; i < commas.size(); ++i) {
            const std::size_t to = i + 1 < commas.size() ? commas[i + 1] : query.size();
            rest.push_back(FoldForMatch(query.substr(commas[i] + 1, to - commas[i] - 1)));
        }
        const std::size_t cityEnd = cityParts <= commas.size() ? commas[cityParts - 1] : query.size();
        // The commas of the city fold to blanks, as those of the names did.
        std::vector<const Place*> found = SearchParts(FoldForMatch(query.substr(0, cityEnd)), rest, limit);
        if (!found.empty())
            return found;
    }
    return {};
}

std::vector<const Place*> Atlas::SearchParts(std::string_view city, const std::vector<std::string>& rest,
                                             std::size_t limit) const {
    // Which states and countries the other parts allow, and which they equal, decided once per text
    // rather than per place: 1 begins with the part, 2 equals it.
    const auto allowed = [this](const std::string& part) {
        std::vector<char> how(foldedTexts_.size());
        for (std::size_t id = 0; id < foldedTexts_.size(); ++id)
            how[id] = static_cast<char>(foldedTexts_[id] == part                               ? 2
                                        : std::string_view(foldedTexts_[id]).starts_with(part) ? 1
                                                                                               : 0);
        return how;
    };
    std::vector<char> state, country;
    if (rest.size() == 1) {
        state = country = allowed(rest[0]);
    } else if (rest.size() == 2) {
        state = allowed(rest[0]);
        country = allowed(rest[1]);
    }
    // 0 where the place is left out, else 1 for a match of the prefixes, 2 where every part given is
    // equal (an empty part is not given).
    const auto narrowed = [&](const Compared& c) -> int {
        if (rest.empty())
            return 2;
        if (rest.size() == 1)
            return std::max(state[c.state], country[c.country]) == 0                   ? 0
                   : rest[0].empty() || state[c.state] == 2 || country[c.country] == 2 ? 2
                                                                                       : 1;
        if (state[c.state] == 0 || country[c.country] == 0)
            return 0;
        return (rest[0].empty() || state[c.state] == 2) && (rest[1].empty() || country[c.country] == 2) ? 2
                                                                                                        : 1;
    };

    // Whether the parts given name every part of the place's caption (PlaceCaption leaves out a state
    // that is empty or the place's name): "Briceni, Moldova" is the Briceni of the state Briceni.
    const auto complete = [&](const Compared& c) {
        if (rest.size() == 2)
            return true;
        const std::string& placeState = foldedTexts_[c.state];
        return rest.size() == 1 && country[c.country] == 2 &&
               (placeState.empty() || placeState == Folded(c.name));
    };

    // A place is found once, by its first key: keys equal to the city come before those that only
    // begin with it, so the first key tells whether its name is exact.
    struct Found {
        // The group (0 every part equal, 1 the name equal, 2 only prefixes) and within it the tier
        // (below), above the population counted down, so that most places are ordered by this alone;
        // RanksBefore orders the rest.
        std::uint64_t rank;
        std::uint32_t place;
    };
    constexpr std::uint64_t kGroup = std::uint64_t{1} << 32; // above any population a key holds
    // Tiers within a group: 0 the place's own name, with every part of its caption given; 1 its own
    // name; 2 another place's other name (Victoria is one of Hong Kong's), after the places so named.
    constexpr std::uint64_t kTiers = 3;
    constexpr std::uint64_t kOtherTier = 2;
    // A bare name that is the other name of a place a hundred times as populous as any place so named
    // means that place: Calcutta is Kolkata, not the village in Ohio. An unknown population counts as
    // the thousand inhabitants that bring a place into the atlas. Where a state or country is given,
    // the place spelled so comes first.
    constexpr std::uint64_t kGreatCity = 100;
    constexpr std::uint64_t kLeastKnown = 1000;
    std::uint64_t mostPopulousByName = 0; // of the places found by their own exact name
    bool foundByOtherName = false;
    std::vector<Found> found;
    std::vector<bool> seen(places_.size()); // bits: cleared in a moment even for the whole atlas
    auto it =
        std::lower_bound(keys_.begin(), keys_.end(), city, [this](const Key& key, std::string_view prefix) {
            return Folded(key.folded) < prefix;
        });
    for (; it != keys_.end() && Folded(it->folded).starts_with(city); ++it) {
        if (seen[it->place])
            continue;
        seen[it->place] = true;
        const Compared& c = compared_[it->place];
        const int how = narrowed(c);
        if (how == 0)
            continue;
        const std::uint64_t population = kGroup - 1 - it->population;
        if (Folded(it->folded).size() != city.size()) {
            found.push_back(Found{(2 * kTiers + 1) * kGroup + population, it->place});
            continue;
        }
        const std::uint64_t group = how == 2 ? 0 : 1;
        // Equal texts share their place in folded_, and a place's names differ as folded.
        const bool ownName = it->folded.offset == c.name.offset;
        if (ownName)
            mostPopulousByName = std::max({mostPopulousByName, std::uint64_t{it->population}, kLeastKnown});
        else
            foundByOtherName = true;
        const std::uint64_t tier = !ownName ? kOtherTier : how == 2 && complete(c) ? 0 : 1;
        found.push_back(Found{(group * kTiers + tier) * kGroup + population, it->place});
    }
    // With a bare name every exact match is in group 0.
    if (rest.empty() && foundByOtherName)
        for (Found& f : found)
            if (f.rank / kGroup == kOtherTier &&
                kGroup - 1 - f.rank % kGroup >= kGreatCity * mostPopulousByName)
                f.rank -= (kOtherTier - 1) * kGroup; // among the places of that name

    const auto ranks = [this](const Found& a, const Found& b) {
        return a.rank != b.rank ? a.rank < b.rank : RanksBefore(a.place, b.place);
    };
    // A short prefix can match thousands of places; only the first few need an order.
    const std::size_t shown = std::min(limit, found.size());
    std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(shown), found.end(), ranks);
    std::vector<const Place*> result;
    result.reserve(shown);
    for (std::size_t i = 0; i < shown; ++i)
        result.push_back(&places_[found[i].place]);
    return result;
}

std::string StateFieldText(const Place& place) {
    std::string state = FoldToFieldText(place.state);
    return state.empty() ? FoldToFieldText(place.country) : state;
}

std::string PlaceCaption(const Place& place) {
    std::string caption(place.name);
    if (!place.state.empty() && place.state != place.name)
        caption.append(", ").append(place.state);
    if (!place.country.empty())
        caption.append(", ").append(place.country);
    return caption;
}

} // namespace atlas
