// SPDX-License-Identifier: AGPL-3.0-or-later
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
    // unreadable, damaged (naming the first bad line) or shorter than the number of places its head
    // gives. Nothing is taken from a damaged file.
    static std::optional<Atlas> Load(const std::string& path, std::string& error);

    // The places matching what is typed in a City field or given to the companion:
    // "City[, State][, Country]", each part a prefix of the place's field, ignoring case, accents and
    // punctuation (FoldForMatch). The city part is also matched against the place's other names
    // (former and foreign ones, "Bombay" for Mumbai). With two parts the second may be the state or
    // the country. Where that finds nothing, commas may belong to the name ("Basford,
    // Stoke-on-Trent"). Exact matches first: places whose name (or other name) and the state and
    // country given all equal the parts, then places whose name alone does, then those that only
    // begin with them; within each, most populous first, ties by name; at most `limit`. An empty city
    // part matches nothing.
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

    // A folded text in folded_.
    struct Folding {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    // What the search compares of each place, by the place's index.
    struct Compared {
        Folding name;
        std::uint32_t state;   // index into foldedTexts_
        std::uint32_t country; // index into foldedTexts_
    };
    // One name or other name of a place in the search index, in the order of its folded text; with
    // the place's population (at most 2^32 - 1), so that ranking the matches need not visit the places.
    struct Key {
        Folding folded;
        std::uint32_t place;
        std::uint32_t population;
    };

    std::string_view Folded(Folding f) const { return {folded_.data() + f.offset, f.length}; }
    bool RanksBefore(std::uint32_t a, std::uint32_t b) const;
    std::vector<const Place*> SearchParts(std::string_view city, const std::vector<std::string>& rest,
                                          std::size_t limit) const;

    std::vector<char> texts_;              // every name once, and each state, country and zone once
    std::vector<Place> places_;            // in the file's order
    std::vector<Compared> compared_;       // by place
    std::string folded_;                   // the folded names and other names, one after another
    std::vector<Key> keys_;                // sorted by folded text
    std::vector<std::string> foldedTexts_; // the folded states and countries, by the indexes above
};

// "City, State, Country" as the form offers a place; the state is left out when it is empty or the
// same as the city.
std::string PlaceCaption(const Place& place);

// What a chosen place puts in the form's State field: its state as field text, or, where the atlas
// has none (a city-state such as Singapore), the country's name, since the form requires a state.
std::string StateFieldText(const Place& place);

} // namespace atlas
