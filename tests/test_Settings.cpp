// SPDX-License-Identifier: AGPL-3.0-or-later
// The kept choices: what earlier versions stored reads as the same choice, in the fake store and in
// the desktop's own; anything else reads as the default; each choice is stored as the word earlier
// versions read, and a store that refuses it says so.
#include "support/FakePlatform.h"
#include "support/WatchedPipe.h"

#include "forms/Settings.h"
#include "platform/QtPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <map>
#include <optional>
#include <thread>

namespace {

struct Kept {
    Calculation calculation;
    ChartStyle style;
    QString folder;
    bool operator==(const Kept&) const = default;
};

Kept Read(const Settings& settings) {
    return {settings.calculation(), settings.chartStyle(), settings.lastFolder()};
}

void PrintTo(const Kept& kept, std::ostream* out) {
    *out << static_cast<int>(kept.calculation) << ' ' << static_cast<int>(kept.style) << " '"
         << kept.folder.toStdString() << "'";
}

// The desktop's store in a temporary folder for one test: the environment's configuration and home
// folders and Qt's own path point there, never at the user's.
class TemporaryStore {
  public:
    TemporaryStore() {
        for (const char* name : {"XDG_CONFIG_HOME", "HOME"}) {
            const char* value = std::getenv(name);
            saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
            setenv(name, folder_.path().toLocal8Bit().constData(), 1);
        }
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
        QDir(folder_.path()).mkdir("Quillmere");
    }
    ~TemporaryStore() {
        for (const auto& [name, value] : saved_)
            value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }
    QString File() const { return folder_.filePath("Quillmere/Quillmere.conf"); }

  private:
    QTemporaryDir folder_;
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

} // namespace

TEST(SettingsTest, StoredWordsReadAsTheirChoicesAndAnythingElseAsTheDefault) {
    const struct {
        std::map<QString, QString> stored;
        Kept expected;
    } cases[] = {
        {{}, {Calculation::Classic, ChartStyle::SouthIndian, ""}},
        {{{"calculation", "precise"}, {"chartStyle", "north"}, {"lastFolder", "/home/a/Readings"}},
         {Calculation::Precise, ChartStyle::NorthIndian, "/home/a/Readings"}},
        {{{"calculation", "classic"}, {"chartStyle", "south"}},
         {Calculation::Classic, ChartStyle::SouthIndian, ""}},
        // Words no version wrote: the defaults, as every earlier version read them.
        {{{"calculation", "Precise"}, {"chartStyle", "North-Indian"}},
         {Calculation::Classic, ChartStyle::SouthIndian, ""}},
        {{{"calculation", "precise "}, {"chartStyle", "1"}},
         {Calculation::Classic, ChartStyle::SouthIndian, ""}},
        // Keys are the stored ones, case and all.
        {{{"Calculation", "precise"}, {"chartstyle", "north"}, {"LastFolder", "/x"}},
         {Calculation::Classic, ChartStyle::SouthIndian, ""}},
    };
    for (const auto& c : cases) {
        platform::FakePlatform fake;
        fake.settings = c.stored;
        EXPECT_EQ(Read(Settings(fake)), c.expected);
    }
}

TEST(SettingsTest, ChoicesAreStoredAsTheWordsEarlierVersionsRead) {
    platform::FakePlatform fake;
    Settings settings(fake);
    ASSERT_TRUE(settings.setCalculation(Calculation::Precise));
    ASSERT_TRUE(settings.setChartStyle(ChartStyle::NorthIndian));
    ASSERT_TRUE(settings.setLastFolderOf("/home/a/Readings/asha.qlm"));
    EXPECT_EQ(fake.settings,
              (std::map<QString, QString>{
                  {"calculation", "precise"}, {"chartStyle", "north"}, {"lastFolder", "/home/a/Readings"}}));
    ASSERT_TRUE(settings.setCalculation(Calculation::Classic));
    ASSERT_TRUE(settings.setChartStyle(ChartStyle::SouthIndian));
    EXPECT_EQ(fake.settings["calculation"], "classic");
    EXPECT_EQ(fake.settings["chartStyle"], "south");

    fake.settingsWritable = false;
    EXPECT_FALSE(settings.setCalculation(Calculation::Precise));
    EXPECT_FALSE(settings.setChartStyle(ChartStyle::NorthIndian));
    EXPECT_FALSE(settings.setLastFolder("/elsewhere"));
    EXPECT_EQ(Read(settings), (Kept{Calculation::Classic, ChartStyle::SouthIndian, "/home/a/Readings"}));
}

// The desktop's store as an earlier version left it: its file, written by hand here, holds the
// choices; what this version stores there, that version reads back.
TEST(SettingsTest, TheDesktopStoreOfAnEarlierVersionIsReadAndWrittenAlike) {
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    ASSERT_TRUE(QDir(config.path()).mkdir("Quillmere"));
    QFile file(config.filePath("Quillmere/Quillmere.conf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[General]\ncalculation=precise\nchartStyle=north\n");
    file.close();

    platform::QtPlatform desktop;
    Settings settings(desktop);
    EXPECT_EQ(Read(settings), (Kept{Calculation::Precise, ChartStyle::NorthIndian, ""}));
    ASSERT_TRUE(settings.setChartStyle(ChartStyle::SouthIndian));
    ASSERT_TRUE(settings.setLastFolder(config.path()));
    QSettings earlier(QStringLiteral("Quillmere"), QStringLiteral("Quillmere"));
    EXPECT_EQ(earlier.fileName(), file.fileName());
    EXPECT_EQ(earlier.value("calculation").toString(), "precise");
    EXPECT_EQ(earlier.value("chartStyle").toString(), "south");
    EXPECT_EQ(earlier.value("lastFolder").toString(), config.path());
}

// The conventions are stored as the companion's keys; one the readers refuse is its default alone.
TEST(SettingsTest, ConventionsReadBackAndARefusedOneIsItsDefault) {
    Conventions raman;
    raman.ayanamsa = Ayanamsa::Raman;
    raman.node = LunarNode::True;
    raman.year = PeriodYear::Sidereal;
    const struct {
        std::map<QString, QString> stored;
        Conventions expected;
    } cases[] = {
        {{}, {}},
        {{{"ayanamsa", "raman"}, {"node", "true"}, {"yearDays", "sidereal"}}, raman},
        {{{"ayanamsa", "user:23:60:0@2000-01-01"}, {"node", "true"}, {"yearDays", "sidereal"}},
         {Ayanamsa::Lahiri, {}, LunarNode::True, PeriodYear::Sidereal}},
        {{{"ayanamsa", "raman"}, {"node", "True"}, {"yearDays", "365"}}, {Ayanamsa::Raman, {}, {}, {}}},
        {{{"ayanamsa", "user:11:2:3.5@1800-01-01"}},
         {Ayanamsa::User, {11, 2, 3.5, 1800, 1, 1}, LunarNode::Mean, PeriodYear::Days365_25}},
        // Seconds too small for a plain shortest form still read back; a value far outside those in use
        // is refused.
        {{{"ayanamsa", "user:23:0:0.0001@2000-01-01"}},
         {Ayanamsa::User, {23, 0, 0.0001, 2000, 1, 1}, LunarNode::Mean, PeriodYear::Days365_25}},
        {{{"ayanamsa", "user:23:0:0.000001@2000-01-01"}},
         {Ayanamsa::User, {23, 0, 0.000001, 2000, 1, 1}, LunarNode::Mean, PeriodYear::Days365_25}},
        {{{"ayanamsa", "user:99:30:10@2000-01-01"}}, {}},
        {{{"ashtakavargaPlaces", "parashara"}},
         {Ayanamsa::Lahiri, {}, LunarNode::Mean, PeriodYear::Days365_25, AshtakavargaPlaces::Parashara}},
        {{{"ashtakavargaPlaces", "Parashara"}}, {}},
    };
    for (const auto& c : cases) {
        platform::FakePlatform fake;
        fake.settings = c.stored;
        EXPECT_EQ(Settings(fake).conventions(), c.expected) << c.stored.size();
        // What is stored reads back as itself.
        ASSERT_TRUE(Settings(fake).setConventions(c.expected));
        EXPECT_EQ(Settings(fake).conventions(), c.expected);
        EXPECT_EQ(fake.settings["ashtakavargaPlaces"],
                  c.expected.ashtakavarga == AshtakavargaPlaces::Parashara ? "parashara" : "common");
    }
}

// A settings file that is a pipe kept the program from starting; one of 200 MB took 20 s and 768 MB.
// Either is left unread and unwritten: the choices are the defaults, and keeping one is refused.
TEST(SettingsTest, AStoreFileThatIsAPipeOrTooLargeIsLeftAloneForTheDefaults) {
    const std::string kept = "[General]\ncalculation=precise\nchartStyle=north\n";
    for (const bool pipe : {true, false}) {
        SCOPED_TRACE(pipe ? "a pipe" : "2 MB");
        TemporaryStore store;
        std::optional<WatchedPipe> watched;
        if (pipe) {
            watched.emplace(store.File().toStdString());
        } else {
            QFile file(store.File());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(QByteArray::fromStdString(kept + std::string(2 << 20, ';')));
            file.close();
        }
        platform::QtPlatform desktop;
        Settings settings(desktop);
        EXPECT_EQ(Read(settings), (Kept{Calculation::Classic, ChartStyle::SouthIndian, ""}));
        EXPECT_FALSE(settings.setChartStyle(ChartStyle::NorthIndian));
        EXPECT_EQ(QFileInfo(store.File()).isFile(), !pipe);
        EXPECT_FALSE(watched && watched->opened);
    }
}

// The first choice kept makes the program's file, and makes it its owner's alone; a file there already
// keeps its own permissions.
TEST(SettingsTest, ANewStoreFileIsPrivateAndAnEarlierOneKeepsItsPermissions) {
    for (const bool earlier : {false, true}) {
        SCOPED_TRACE(earlier ? "an earlier file" : "no file");
        TemporaryStore store;
        if (earlier) {
            QFile file(store.File());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("[General]\ncalculation=precise\n");
            file.close();
            ASSERT_EQ(chmod(store.File().toLocal8Bit().constData(), 0640), 0);
        }
        platform::QtPlatform desktop;
        Settings settings(desktop);
        ASSERT_TRUE(settings.setChartStyle(ChartStyle::NorthIndian));
        struct stat info {};
        ASSERT_EQ(stat(store.File().toLocal8Bit().constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, earlier ? 0640u : 0600u);
        EXPECT_EQ(Read(settings).style, ChartStyle::NorthIndian);
        EXPECT_EQ(Read(settings).calculation, earlier ? Calculation::Precise : Calculation::Classic);
    }
}
