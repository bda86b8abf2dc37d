// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/PlaceFinder.h"

#include "atlas/FieldText.h"
#include "atlas/ZoneChoice.h"
#include "formats/DataFiles.h"
#include "forms/EntryWindow.h"
#include "forms/FilteredTextBox.h"
#include "records/Calendar.h"
#include "records/Messages.h"
#include "records/TimeZones.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QStringListModel>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

constexpr int kMostOffered = 15;

QString ClockText(const atlas::LocalDateTime& t) {
    return QString::number(t.hour) + ":" + QString::number(t.minute).rightJustified(2, '0');
}

std::chrono::sys_days DateDay(const atlas::LocalDateTime& t) {
    return DayOf(t.year, t.month, t.day);
}

bool RealDate(const atlas::LocalDateTime& t) {
    return std::chrono::year_month_day{std::chrono::year{t.year}, std::chrono::month(t.month),
                                       std::chrono::day(t.day)}
        .ok();
}

} // namespace

PlaceFinder::PlaceFinder(EntryWindow& form, QLabel& note)
    : QObject(&form), form_(form), note_(note), model_(new QStringListModel(this)) {
    completer_ = new QCompleter(model_, this);
    completer_->setObjectName("cmpCity");
    // The atlas has already chosen and ordered the places; the list shows them as they are.
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setMaxVisibleItems(kMostOffered);
    completer_->setWidget(form_.txtCity);
    connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) {
                const int row = index.row();
                if (row >= 0 && row < static_cast<int>(offered_.size()))
                    ChoosePlace(*offered_[static_cast<std::size_t>(row)]);
            });
    connect(form_.txtCity, &QLineEdit::textEdited, this, &PlaceFinder::CityEdited);
    form_.txtCity->installEventFilter(this);
    // Installed after the completer's own filter, so it sees the list's keys first: the completer
    // would hand the key that picks a place to City's letters-only check before picking it.
    completer_->popup()->installEventFilter(this);
    for (QComboBox* box : {form_.cboDate, form_.cboMonth, form_.cboYear})
        connect(box, &QComboBox::currentIndexChanged, this, &PlaceFinder::DateChanged);
    for (QComboBox* box : {form_.cboHour, form_.cboMinute})
        connect(box, &QComboBox::currentIndexChanged, this, &PlaceFinder::ClockChanged);
    connect(form_.cboTimeZone, &QComboBox::currentIndexChanged, this, &PlaceFinder::ZoneOrBoxChangedByHand);
    connect(form_.chkDST, &QCheckBox::toggled, this, &PlaceFinder::ZoneOrBoxChangedByHand);
    note_.hide();
}

const atlas::Atlas* PlaceFinder::LoadedAtlas() {
    if (!atlas_ && !atlasFailed_) {
        std::string error;
        atlas_ = atlas::Atlas::Load(
            FindDataFile(atlas::kAtlasFileName, "QUILLMERE_ATLAS", DataFolders(ProgramFolder())), error);
        if (!atlas_) {
            atlasFailed_ = true;
            atlasError_ = QString::fromStdString(error);
        }
    }
    return atlas_ ? &*atlas_ : nullptr;
}

void PlaceFinder::CityEdited(const QString& text) {
    // The typed city is no longer the chosen place.
    if (chosen_)
        LetGo();
    offered_.clear();
    QStringList captions;
    if (atlas::FoldForMatch(text.toStdString()).size() >= 2) {
        if (const atlas::Atlas* places = LoadedAtlas()) {
            offered_ = places->Search(text.toStdString(), kMostOffered);
            for (const atlas::Place* place : offered_)
                captions << QString::fromStdString(atlas::PlaceCaption(*place));
        }
    }
    model_->setStringList(captions);
    if (!captions.isEmpty())
        completer_->complete();
    else if (completer_->popup())
        completer_->popup()->hide();
    ShowNote();
}

void PlaceFinder::ChoosePlace(const atlas::Place& place) {
    filling_ = true;
    const auto [latDeg, latMin] = atlas::RoundToMinutes(place.latitude);
    const auto [lonDeg, lonMin] = atlas::RoundToMinutes(place.longitude);
    form_.txtLatDeg->setText(QString::number(latDeg));
    form_.txtLatMin->setText(QString::number(latMin));
    form_.optLat[place.latitude < 0 ? 1 : 0]->setChecked(true);
    form_.txtLonDeg->setText(QString::number(lonDeg));
    form_.txtLonMin->setText(QString::number(lonMin));
    form_.optLong[place.longitude < 0 ? 1 : 0]->setChecked(true);
    // Folded to the letters and blanks the fields take, so the place saves as typed text would.
    form_.txtCity->setText(QString::fromStdString(atlas::FoldToFieldText(place.name)));
    form_.txtState->setText(QString::fromStdString(atlas::StateFieldText(place)));
    form_.txtCountry->setText(QString::fromStdString(atlas::FoldToFieldText(place.country)));
    filling_ = false;
    // The clock time given for the place before is this one's too: the person gave a place's clock
    // reading, not the moment the last place's zone made of it.
    const atlas::LocalDateTime before = FormTime();
    placeTime_ = placeTime_.value_or(before);
    chosen_ = &place;
    byHand_ = false;
    choice_.reset();
    movedShown_ = false;
    dayShift_ = 0;
    Derive();
    if (choice_ && FormTime() != before && !FieldsMoved())
        derived_ += QString::fromLatin1(msg::kGivenTimeKept) + ClockText(*placeTime_) +
                    QString::fromLatin1(msg::kGivenTimeKeptEnd);
    ShowNote();
}

void PlaceFinder::Forget() {
    chosen_ = nullptr;
    byHand_ = false;
    placeTime_.reset();
    choice_.reset();
    derived_.clear();
    ShowNote();
}

void PlaceFinder::LetGo() {
    const bool moved = FieldsMoved();
    const QString name = QString::fromStdString(atlas::FoldToFieldText(chosen_->name));
    const int row = form_.cboTimeZone->currentIndex();
    if (!moved || byHand_)
        placeTime_.reset();
    chosen_ = nullptr;
    byHand_ = false;
    choice_.reset();
    derived_.clear();
    // The fields still hold the moment in the row's clock; the person is told whose clock that is.
    if (moved && placeTime_)
        derived_ = name + QString::fromLatin1(msg::kPlaceLetGo) + ClockText(FormTime()) + " " +
                   QString::fromLatin1(TimeZoneRowName(row)) + QString::fromLatin1(msg::kPlaceLetGoStays) +
                   ClockText(*placeTime_) + QString::fromLatin1(msg::kPlaceLetGoNext) +
                   ClockText(*placeTime_) + QString::fromLatin1(msg::kPlaceLetGoEnd);
    ShowNote();
}

bool PlaceFinder::FieldsMoved() const {
    return chosen_ && !byHand_ && choice_ && choice_->timeChanged && movedShown_;
}

std::optional<PlaceClock> PlaceFinder::ShownPlaceClock() const {
    if (!FieldsMoved() || !placeTime_)
        return std::nullopt;
    const atlas::LocalDateTime& t = *placeTime_;
    return PlaceClock{t.year, t.month, t.day, t.hour, t.minute, choice_->moment.offsetSeconds};
}

bool PlaceFinder::eventFilter(QObject* watched, QEvent* event) {
    QAbstractItemView* list = completer_->popup();
    if ((watched != form_.txtCity && watched != list) || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool picks = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab;
    if (watched == list) {
        // The completer hands every key the list does not move by to City first, Esc among them,
        // where the letters-only check would refuse it after the list closed.
        if (key == Qt::Key_Escape) {
            list->hide();
            return true;
        }
        if (!picks)
            return false;
        const QModelIndex current = list->currentIndex();
        list->hide();
        if (current.isValid() && current.row() < static_cast<int>(offered_.size()))
            ChoosePlace(*offered_[static_cast<std::size_t>(current.row())]);
        return true;
    }
    // Where the list does not hold the keyboard itself, City steers it.
    if (!list || !list->isVisible())
        return false;
    const int rows = list->model()->rowCount();
    const int current = list->currentIndex().isValid() ? list->currentIndex().row() : -1;
    if (key == Qt::Key_Down || key == Qt::Key_Up) {
        const int next = key == Qt::Key_Down ? std::min(current + 1, rows - 1) : std::max(current - 1, 0);
        list->setCurrentIndex(list->model()->index(next, 0));
        return true;
    }
    // Enter belongs to the open list even with no place marked: it closes the list, as Esc does.
    if ((picks && current >= 0) || key == Qt::Key_Return || key == Qt::Key_Enter) {
        list->hide();
        if (current >= 0 && current < static_cast<int>(offered_.size()))
            ChoosePlace(*offered_[static_cast<std::size_t>(current)]);
        return true;
    }
    if (key == Qt::Key_Escape) {
        list->hide();
        return true;
    }
    return false;
}

atlas::LocalDateTime PlaceFinder::FormTime() const {
    return {form_.cboYear->currentText().toInt(), form_.cboMonth->currentIndex() + 1,
            form_.cboDate->currentText().toInt(), form_.cboHour->currentText().toInt(),
            form_.cboMinute->currentText().toInt()};
}

void PlaceFinder::SetFormTime(const atlas::LocalDateTime& t) {
    form_.cboYear->setCurrentText(QString::number(t.year));
    form_.cboMonth->setCurrentIndex(t.month - 1);
    form_.cboDate->setCurrentText(QString::number(t.day));
    form_.cboHour->setCurrentText(QString::number(t.hour));
    form_.cboMinute->setCurrentText(QString::number(t.minute));
}

void PlaceFinder::Derive() {
    if (!chosen_ || !placeTime_)
        return;
    std::string error;
    std::optional<atlas::ZoneChoice> choice = atlas::ChooseZoneRow(
        std::string(chosen_->zone), atlas::FoldToFieldText(chosen_->name), *placeTime_, error);
    if (!choice) {
        // The fields are left as they were (a day the month lacks, say), and so is the clock they are
        // read in.
        derived_ = QString::fromStdString(error);
    } else {
        choice_ = std::move(choice);
        movedShown_ = false;
        dayShift_ = 0;
        filling_ = true;
        form_.cboTimeZone->setCurrentIndex(choice_->row);
        form_.chkDST->setChecked(choice_->dst);
        // The lists hold only the years 1901 to 2050; a moment moved out of them cannot be shown.
        const int shownYear = choice_->shownTime.year;
        const bool shown = form_.cboYear->findText(QString::number(shownYear)) >= 0;
        // The fields are derived from the place's clock time each time, never from what they showed.
        SetFormTime(shown ? choice_->shownTime : *placeTime_);
        movedShown_ = choice_->timeChanged && shown;
        if (movedShown_)
            dayShift_ = static_cast<int>((DateDay(*placeTime_) - DateDay(choice_->shownTime)).count());
        filling_ = false;
        derived_ = QString::fromStdString(choice_->line);
        if (choice_->timeChanged && !shown)
            derived_ += QString::fromLatin1(msg::kMovedTimeOutsideYears);
    }
    ShowNote();
}

void PlaceFinder::DateChanged() {
    if (filling_ || !placeTime_)
        return;
    if (chosen_ && byHand_)
        return;
    // A date set in the fields is the place's date, a day apart where the moved time crossed midnight.
    const atlas::LocalDateTime shown = FormTime();
    atlas::LocalDateTime date = shown;
    if (dayShift_ != 0 && RealDate(shown)) {
        const std::chrono::year_month_day day{DateDay(shown) + std::chrono::days{dayShift_}};
        date = {static_cast<int>(day.year()), static_cast<int>(static_cast<unsigned>(day.month())),
                static_cast<int>(static_cast<unsigned>(day.day())), 0, 0};
    }
    placeTime_->year = date.year;
    placeTime_->month = date.month;
    placeTime_->day = date.day;
    if (chosen_)
        Derive();
}

void PlaceFinder::ClockChanged() {
    if (filling_)
        return;
    if (!chosen_) {
        // A time set with no place chosen is the fields' own; a place chosen next takes it.
        if (placeTime_) {
            placeTime_.reset();
            derived_.clear();
            ShowNote();
        }
        return;
    }
    if (byHand_)
        return;
    const bool moved = FieldsMoved();
    const atlas::LocalDateTime set = FormTime();
    // Read in the clock the fields show: in a row's clock, the place's is the same moment there.
    if (moved && !RealDate(set)) {
        // A day the month lacks is no moment: the clock alone is read, on the last day that gave one,
        // and the place's date stays as set.
        atlas::LocalDateTime onDay = choice_->shownTime;
        onDay.hour = set.hour;
        onDay.minute = set.minute;
        const atlas::LocalDateTime clock = atlas::PlaceTimeOf(*choice_, onDay);
        placeTime_->hour = clock.hour;
        placeTime_->minute = clock.minute;
    } else {
        placeTime_ = moved ? atlas::PlaceTimeOf(*choice_, set) : set;
    }
    Derive();
    if (moved && FieldsMoved())
        derived_ += QString::fromLatin1(msg::kTimeSetReadAs) + ClockText(set) + " " +
                    QString::fromLatin1(TimeZoneRowName(form_.cboTimeZone->currentIndex())) + ", " +
                    ClockText(*placeTime_) + " at " +
                    QString::fromStdString(atlas::FoldToFieldText(chosen_->name)) + ".";
    ShowNote();
}

void PlaceFinder::ZoneOrBoxChangedByHand() {
    if (!filling_ && chosen_) {
        // From here the fields are read in the zone and box as set.
        byHand_ = true;
        placeTime_.reset();
    }
    ShowNote();
}

void PlaceFinder::ShowNote() {
    QStringList lines;
    if (atlasFailed_)
        lines << atlasError_;
    if (!derived_.isEmpty())
        lines << (byHand_ ? derived_ + QString::fromLatin1(msg::kZoneSetByHand) : derived_);
    const std::string warning =
        atlas::DoubleCountWarning(form_.cboTimeZone->currentIndex(), form_.chkDST->isChecked());
    if (!warning.empty())
        lines << QString::fromStdString(warning);
    note_.setText(lines.join('\n'));
    note_.setVisible(!lines.isEmpty());
}
