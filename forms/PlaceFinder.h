// SPDX-License-Identifier: AGPL-3.0-or-later
// The entry form's place search: City offers the places of the atlas as the user types, and choosing
// one fills the coordinates, the place fields, the time-zone row and the daylight-saving box, with a
// line under the zone that says what was derived. The atlas is read at the first search.
#pragma once

#include "atlas/Atlas.h"
#include "atlas/ZoneHistory.h"

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

    // The places offered for what stands in City now (also shown in the completer's list).
    const std::vector<const atlas::Place*>& Offered() const { return offered_; }
    // Chooses a place as picking it from the list does.
    void ChoosePlace(const atlas::Place& place);
    // Forgets the chosen place and the hand choice (a saved reading was opened, say).
    void Forget();
    // The atlas, read at the first call; null, and the note says why, when it cannot be read.
    const atlas::Atlas* LoadedAtlas();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CityEdited(const QString& text);
    void DateOrTimeChanged();
    void ZoneOrBoxChangedByHand();
    void Derive();
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
    std::vector<const atlas::Place*> offered_;
    const atlas::Place* chosen_ = nullptr;
    QString derived_;      // what the place's zone gave, or why it gave nothing
    bool byHand_ = false;  // the zone or the box was changed after the place was chosen
    bool filling_ = false; // the finder itself is setting the form
};
