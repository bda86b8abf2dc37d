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
#include <system_error>
#include <unordered_map>

namespace atlas {
namespace {

constexpr const char* kCannotRead = "The atlas of places could not be read: ";
constexpr std::string_view kColumns = "name\tstate\tcountry\tlatitude\tlongitude\tpopulation\tzone";
// The atlas is about 12 MB; anything far larger is some other file, and reading it whole would only
// cost memory.
constexpr std::uintmax_t kLargestFile = 256u << 20;

std::string Damaged(std::size_t line) {
    return "The atlas of places is damaged (line " + std::to_string(line) + ").";
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

    // Everything is sized once from the count of lines, so that nothing grows (and leaves freed
    // blocks behind) while the file is read.
    const auto lines = static_cast<std::size_t>(std::count(content.begin(), content.end(), '\n'));
    Atlas atlas;
    atlas.places_.reserve(lines);
    atlas.keys_.reserve(lines);
    std::vector<ReadTexts> read;
    read.reserve(lines);

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

    bool columnsSeen = false;
    std::size_t lineNumber = 0;
    std::size_t nameBytes = 0;
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
            if (line == kColumns)
                columnsSeen = true;
            else if (line.empty() || line[0] != '#') {
                error = Damaged(lineNumber);
                return std::nullopt;
            }
            continue;
        }

        std::string_view fields[7];
        std::size_t count = 0;
        for (std::size_t from = 0;;) {
            const std::size_t tab = line.find('\t', from);
            if (count == 7) {
                count = 8; // too many fields
                break;
            }
            fields[count++] = line.substr(from, tab == std::string_view::npos ? tab : tab - from);
            if (tab == std::string_view::npos)
                break;
            from = tab + 1;
        }
        Place place;
        if (count != 7 || fields[0].empty() || fields[2].empty() || !IsValidUtf8(fields[0]) ||
            !IsValidUtf8(fields[1]) || !IsValidUtf8(fields[2]) ||
            !ParseNumber(fields[3], -90, 90, place.latitude) ||
            !ParseNumber(fields[4], -180, 180, place.longitude) ||
            !ParsePopulation(fields[5], place.population) || !IsZoneName(fields[6])) {
            error = Damaged(lineNumber);
            return std::nullopt;
        }
        // In the order of the fields, so that each is kept before a later one overwrites it.
        const std::uint32_t name = keep(fields[0]);
        const std::uint32_t state = share(fields[1]);
        const std::uint32_t country = share(fields[2]);
        const std::uint32_t zone = share(fields[6]);
        const auto index = static_cast<std::uint32_t>(atlas.places_.size());
        atlas.places_.push_back(place);
        atlas.keys_.push_back(Key{0, 0, index, state, country});
        read.push_back(ReadTexts{name, static_cast<std::uint32_t>(fields[0].size()), zone});
        nameBytes += fields[0].size();
    }
    if (atlas.places_.empty()) {
        // The columns, or the first place, are missing.
        error = Damaged(lineNumber + 1);
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

    // A folded name is never longer than the name: every letter with marks takes two bytes or more.
    atlas.folded_.reserve(nameBytes);
    for (std::size_t i = 0; i < atlas.places_.size(); ++i) {
        Place& place = atlas.places_[i];
        Key& key = atlas.keys_[i];
        place.name = std::string_view(texts + read[i].nameOffset, read[i].nameLength);
        place.state = view(key.state);
        place.country = view(key.country);
        place.zone = view(read[i].zone);
        const std::string folded = FoldForMatch(place.name);
        key.foldedOffset = static_cast<std::uint32_t>(atlas.folded_.size());
        key.foldedLength = static_cast<std::uint32_t>(folded.size());
        atlas.folded_ += folded;
    }
    std::sort(atlas.keys_.begin(), atlas.keys_.end(), [&atlas](const Key& a, const Key& b) {
        const std::string_view fa = atlas.Folded(a), fb = atlas.Folded(b);
        return fa != fb ? fa < fb : a.place < b.place;
    });
    error.clear();
    return atlas;
}

bool Atlas::RanksBefore(const Key& a, const Key& b) const {
    const Place& pa = places_[a.place];
    const Place& pb = places_[b.place];
    if (pa.population != pb.population)
        return pa.population > pb.population;
    if (const int c = Folded(a).compare(Folded(b)); c != 0)
        return c < 0;
    if (pa.name != pb.name)
        return pa.name < pb.name;
    return a.place < b.place;
}

std::vector<const Place*> Atlas::Search(std::string_view query, std::size_t limit) const {
    std::vector<std::string> parts;
    for (std::size_t from = 0;;) {
        const std::size_t comma = query.find(',', from);
        parts.push_back(
            FoldForMatch(query.substr(from, comma == std::string_view::npos ? comma : comma - from)));
        if (comma == std::string_view::npos)
            break;
        from = comma + 1;
    }
    if (parts.size() > 3 || parts[0].empty() || limit == 0)
        return {};
    const std::string_view city = parts[0];

    // Which states and countries the other parts allow, decided once per text rather than per place.
    const auto allowed = [this](const std::string& prefix) {
        std::vector<char> yes(foldedTexts_.size());
        for (std::size_t id = 0; id < foldedTexts_.size(); ++id)
            yes[id] = std::string_view(foldedTexts_[id]).starts_with(prefix);
        return yes;
    };
    std::vector<char> stateAllowed, countryAllowed;
    if (parts.size() == 2) {
        stateAllowed = countryAllowed = allowed(parts[1]);
    } else if (parts.size() == 3) {
        stateAllowed = allowed(parts[1]);
        countryAllowed = allowed(parts[2]);
    }
    const auto narrowed = [&](const Key& key) {
        if (parts.size() == 1)
            return true;
        if (parts.size() == 2)
            return stateAllowed[key.state] || countryAllowed[key.country];
        return stateAllowed[key.state] && countryAllowed[key.country];
    };

    auto it =
        std::lower_bound(keys_.begin(), keys_.end(), city,
                         [this](const Key& key, std::string_view prefix) { return Folded(key) < prefix; });
    std::vector<const Key*> found;
    for (; it != keys_.end() && Folded(*it).starts_with(city); ++it)
        if (narrowed(*it))
            found.push_back(&*it);

    const auto ranks = [this](const Key* a, const Key* b) { return RanksBefore(*a, *b); };
    // A short prefix can match thousands of places; only the first few need an order.
    const std::size_t shown = std::min(limit, found.size());
    std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(shown), found.end(), ranks);
    std::vector<const Place*> result;
    result.reserve(shown);
    for (std::size_t i = 0; i < shown; ++i)
        result.push_back(&places_[found[i]->place]);
    return result;
}

std::string AtlasFilePath(const std::string& programFolder) {
    if (const char* chosen = std::getenv("QUILLMERE_ATLAS"); chosen && *chosen)
        return chosen;
    if (programFolder.empty())
        return kAtlasFileName;
    return programFolder + "/" + kAtlasFileName;
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
