// SPDX-License-Identifier: AGPL-3.0-or-later
// The entry form's place search: City offers the places of the atlas as the user types, and choosing
// one fills the coordinates, the place fields, the time-zone row and the daylight-saving box, with a
// line under the zone that says what was derived. The atlas is read at the first search.
#pragma once

#include "atlas/Atlas.h"
#include "atlas/ZoneChoice.h"
#include "atlas/ZoneHistory.h"
#include "records/Birth.h"

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

class QCompleter;
class QLabel;
class QStringListModel;
class EntryWindow;

class PlaceFinder : public QObject {
  public:
    PlaceFinder(EntryWindow& form, QLabel& note);

    // Chooses a place as picking it from the list does.
    void ChoosePlace(const atlas::Place& place);
    // Forgets the chosen place, the time given for it and the hand choice (a saved reading was opened,
    // say).
    void Forget();
    // The chosen place's own clock reading where the fields show its moment in another row's clock.
    std::optional<PlaceClock> ShownPlaceClock() const;
    // The atlas, read at the first call; null, and the note says why, when it cannot be read.
    const atlas::Atlas* LoadedAtlas();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CityEdited(const QString& text);
    void DateChanged();
    void ClockChanged();
    void ZoneOrBoxChangedByHand();
    // The place is no longer chosen; the fields keep the moment and the time given for it waits for
    // the next place.
    void LetGo();
    void Derive();
    // Whether the fields show the chosen place's moment in a row's clock other than the place's own.
    bool FieldsMoved() const;
    void ShowNote();
    atlas::LocalDateTime FormTime() const;
    void SetFormTime(const atlas::LocalDateTime& t);

    EntryWindow& form_;
    QLabel& note_;
    QStringListModel* model_;
    QCompleter* completer_; // named "cmpCity"
    std::optional<atlas::Atlas> atlas_;
    bool atlasFailed_ = false;
    QString atlasError_;
    std::vector<const atlas::Place*> offered_; // the rows of the completer's list, for what City holds
    const atlas::Place* chosen_ = nullptr;
    // The place's clock time the person gave, which the fields' time is derived from while the place is
    // chosen, and which the next place chosen takes; empty when the fields' own time is the one to take.
    std::optional<atlas::LocalDateTime> placeTime_;
    // What the place's zone gave for it last; empty where it gave nothing.
    std::optional<atlas::ZoneChoice> choice_;
    bool movedShown_ = false; // the moved time is on the form (it may fall outside the lists' years)
    int dayShift_ = 0;        // days from the fields' date to the place's
    QString derived_;         // what the place's zone gave, or why it gave nothing
    bool byHand_ = false;     // the zone or the box was changed after the place was chosen
    bool filling_ = false;    // the finder itself is setting the form
};
