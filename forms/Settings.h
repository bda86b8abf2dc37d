// SPDX-License-Identifier: AGPL-3.0-or-later
// The choices kept between runs, typed, each with its key and default written once in kSettings.
// They are read and stored through the platform (the desktop's settings store; the scripted fake in
// tests). The keys and stored words are those every earlier version wrote, so a choice kept before
// an update is still the choice after it.
#pragma once

#include "output/ChartDrawing.h"
#include "pipeline/ReadingPipeline.h"

#include <QString>

#include <array>
#include <cstddef>

namespace platform {
class Platform;
}

enum class Setting {
    Calculation,
    ChartStyle,
    LastFolder,
    Ayanamsa,
    Node,
    PeriodYear,
    AshtakavargaPlaces,
    Count
};

struct SettingRow {
    Setting setting;
    const char* key;
    // What is read when nothing is stored, or a word the program does not know.
    const char* defaultValue;
    // A choice's stored words, in the order of its enum; empty for free text such as a folder.
    std::array<const char*, 2> words;
};

inline constexpr std::array<SettingRow, static_cast<std::size_t>(Setting::Count)> kSettings{{
    {Setting::Calculation, "calculation", "classic", {"classic", "precise"}},
    {Setting::ChartStyle, "chartStyle", "south", {"south", "north"}},
    // The folder of the file last opened or saved through a dialog: where a dialog without a name
    // of its own starts.
    {Setting::LastFolder, "lastFolder", "", {}},
    // The precise calculation's conventions, each stored as the companion's key ("raman",
    // "user:23:51:11@2000-01-01", "true", "360") and read through the same reader.
    {Setting::Ayanamsa, "ayanamsa", "lahiri", {}},
    {Setting::Node, "node", "mean", {}},
    {Setting::PeriodYear, "yearDays", "365.25", {}},
    // The ashtakavarga's places, of either calculation: "common" or "parashara".
    {Setting::AshtakavargaPlaces, "ashtakavargaPlaces", "common", {}},
}};

class Settings {
  public:
    // The installed platform's store, or another one.
    Settings();
    explicit Settings(platform::Platform& store);

    Calculation calculation() const;
    ChartStyle chartStyle() const;
    QString lastFolder() const;
    // Each convention as kept; one the readers refuse is its default.
    Conventions conventions() const;

    // Each keeps the value for the next run; false when the store refused it.
    bool setCalculation(Calculation calculation);
    bool setChartStyle(ChartStyle style);
    bool setLastFolder(const QString& folder);
    bool setConventions(const Conventions& conventions);
    // Keeps the folder that holds `file`.
    bool setLastFolderOf(const QString& file);

    // The stored text of a setting, its default when it holds nothing the program knows.
    QString value(Setting setting) const;
    bool setValue(Setting setting, const QString& value);

  private:
    platform::Platform& store_;
};
