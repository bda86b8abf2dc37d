// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/Settings.h"

#include "pipeline/ConventionKeys.h"
#include "platform/Platform.h"

#include <QFileInfo>

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace {

const SettingRow& Row(Setting setting) {
    return kSettings[static_cast<std::size_t>(setting)];
}

bool IsChoice(const SettingRow& row) {
    return row.words[0] != nullptr;
}

// The position of the stored word among the choice's words, which are in the enum's order. value()
// gives a word of the row, the default at worst, so one is always found.
template <class Choice> Choice ChoiceOf(const Settings& settings, Setting setting) {
    const SettingRow& row = Row(setting);
    const QString stored = settings.value(setting);
    const auto found = std::find_if(row.words.begin(), row.words.end(),
                                    [&stored](const char* word) { return stored == QLatin1String(word); });
    return static_cast<Choice>(std::distance(row.words.begin(), found));
}

QString WordOf(Setting setting, std::size_t index) {
    return QString::fromLatin1(Row(setting).words[index]);
}

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr bool RowsInOrder() {
    for (std::size_t i = 0; i < kSettings.size(); ++i)
        if (static_cast<std::size_t>(kSettings[i].setting) != i)
            return false;
    return true;
}
static_assert(RowsInOrder(), "kSettings holds one row per setting, in the order of the enum");
static_assert(static_cast<int>(Calculation::Classic) == 0 && static_cast<int>(Calculation::Precise) == 1);
static_assert(static_cast<int>(ChartStyle::SouthIndian) == 0 &&
              static_cast<int>(ChartStyle::NorthIndian) == 1);

} // namespace

Settings::Settings() : store_(platform::Os()) {}

Settings::Settings(platform::Platform& store) : store_(store) {}

QString Settings::value(Setting setting) const {
    const SettingRow& row = Row(setting);
    const QString stored = store_.Setting(QString::fromLatin1(row.key));
    const bool known =
        IsChoice(row) ? std::any_of(row.words.begin(), row.words.end(),
                                    [&stored](const char* word) { return stored == QLatin1String(word); })
                      : !stored.isEmpty();
    return known ? stored : QString::fromLatin1(row.defaultValue);
}

bool Settings::setValue(Setting setting, const QString& value) {
    return store_.SetSetting(QString::fromLatin1(Row(setting).key), value);
}

Calculation Settings::calculation() const {
    return ChoiceOf<Calculation>(*this, Setting::Calculation);
}

ChartStyle Settings::chartStyle() const {
    return ChoiceOf<ChartStyle>(*this, Setting::ChartStyle);
}

QString Settings::lastFolder() const {
    return value(Setting::LastFolder);
}

Conventions Settings::conventions() const {
    Conventions conventions;
    const std::pair<Setting, std::optional<std::string> (*)(std::string_view, Conventions&)> readers[] = {
        {Setting::Ayanamsa, ReadAyanamsaKey},
        {Setting::Node, ReadNodeKey},
        {Setting::PeriodYear, ReadPeriodYearKey},
        {Setting::AshtakavargaPlaces, ReadAshtakavargaPlacesKey}};
    // A refused key leaves its convention as it was: the default.
    for (const auto& [setting, reader] : readers)
        reader(value(setting).toStdString(), conventions);
    return conventions;
}

bool Settings::setConventions(const Conventions& c) {
    // Each is tried, so that one refused store does not keep the others from theirs.
    const bool ayanamsa = setValue(Setting::Ayanamsa, QString::fromStdString(AyanamsaKey(c)));
    const bool node = setValue(Setting::Node, Latin1(Node(c.node).key));
    const bool year = setValue(Setting::PeriodYear, Latin1(Year(c.year).key));
    const bool places = setValue(Setting::AshtakavargaPlaces, Latin1(PlacesWords(c.ashtakavarga).key));
    return ayanamsa && node && year && places;
}

bool Settings::setCalculation(Calculation calculation) {
    return setValue(Setting::Calculation,
                    WordOf(Setting::Calculation, static_cast<std::size_t>(calculation)));
}

bool Settings::setChartStyle(ChartStyle style) {
    return setValue(Setting::ChartStyle, WordOf(Setting::ChartStyle, static_cast<std::size_t>(style)));
}

bool Settings::setLastFolder(const QString& folder) {
    return setValue(Setting::LastFolder, folder);
}

bool Settings::setLastFolderOf(const QString& file) {
    return setLastFolder(QFileInfo(file).absolutePath());
}
