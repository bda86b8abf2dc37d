// SPDX-License-Identifier: AGPL-3.0-or-later
// The Panchanga page of the periods view: the vara, tithi, nakshatra, yoga and karana at birth and the
// sunrise and sunset of the date of birth, each under its caption. Finding the sunrise takes a search,
// so the page only keeps the reading it is given and fills itself once it is shown.
#pragma once

#include "records/Reading.h"

#include <QWidget>

#include <array>
#include <memory>

class QLabel;

class PanchangaPage : public QWidget {
    Q_OBJECT
  public:
    explicit PanchangaPage(QWidget* parent = nullptr);

    // Keeps the reading; the page shows it when it is next shown, or at once while it is shown.
    void ShowReading(std::shared_ptr<const Reading> reading);

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Fill();

    // Named lblPanchangaVara .. lblPanchangaSunset, and their captions ...Caption.
    std::array<QLabel*, 7> captions_{};
    std::array<QLabel*, 7> values_{};
    std::shared_ptr<const Reading> reading_;
    // Whether the labels show reading_.
    bool filled_ = false;
};
