// The atlas of birth places: the places file that ships beside the program, and the search behind the
// entry form's City field and the companion's place options.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace atlas {

// The places file's name beside the program.
inline constexpr const char* kAtlasFileName = "quillmere-atlas.tsv";

// One place. The texts are UTF-8 as the file holds them (FoldToFieldText makes them field text) and
// stay valid as long as the Atlas they come from, moved or not.
struct Place {
    std::string_view name;
    std::string_view state; // the first-level division; may be empty
    std::string_view country;
    double latitude = 0.0;    // decimal degrees, north positive
    double longitude = 0.0;   // decimal degrees, east positive
    long long population = 0; // 0 where unknown
    std::string_view zone;    // IANA time-zone name, such as "Asia/Kolkata"
};

class Atlas {
  public:
    // Reads the places file; nothing, and `error` a sentence for the user, when it is missing,
    // unreadable or damaged (naming the first bad line). Nothing is taken from a damaged file.
    static std::optional<Atlas> Load(const std::string& path, std::string& error);

    // The places matching what is typed in a City field or given to the companion:
    // "City[, State][, Country]", each part a prefix of the place's field, ignoring case, accents and
    // punctuation (FoldForMatch). With two parts the second may be the state or the country. Most
    // populous first, ties by name; at most `limit`. An empty city part matches nothing.
    std::vector<const Place*> Search(std::string_view query, std::size_t limit = 15) const;

    std::size_t Size() const { return places_.size(); }

    Atlas(Atlas&&) noexcept = default;
    Atlas& operator=(Atlas&&) noexcept = default;
    // A copy's places would point into the original's texts.
    Atlas(const Atlas&) = delete;
    Atlas& operator=(const Atlas&) = delete;
    ~Atlas() = default;

  private:
    Atlas() = default;

    // One place in the search index, in the order of its folded name.
    struct Key {
        std::uint32_t foldedOffset;
        std::uint32_t foldedLength;
        std::uint32_t place;
        std::uint32_t state;   // index into foldedTexts_
        std::uint32_t country; // index into foldedTexts_
    };

    std::string_view Folded(const Key& key) const {
        return {folded_.data() + key.foldedOffset, key.foldedLength};
    }
    bool RanksBefore(const Key& a, const Key& b) const;

    std::vector<char> texts_;              // every name once, and each state, country and zone once
    std::vector<Place> places_;            // in the file's order
    std::string folded_;                   // the folded names, one after another
    std::vector<Key> keys_;                // sorted by folded name
    std::vector<std::string> foldedTexts_; // the folded states and countries, by the keys' indexes
};

// The places file beside the program: programFolder + "/" + kAtlasFileName; the environment variable
// QUILLMERE_ATLAS instead, when it is set and not empty.
std::string AtlasFilePath(const std::string& programFolder);

// "City, State, Country" as the form offers a place; the state is left out when it is empty or the
// same as the city.
std::string PlaceCaption(const Place& place);

} // namespace atlas
