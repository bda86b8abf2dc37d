// Shared by the widget tests: a fixture with the entry form and a fake platform, and helpers that
// fill the form and read the chart cells.
#pragma once

#include "forms/EntryWindow.h"
#include "forms/FilteredTextBox.h"
#include "forms/NorthIndianChart.h"
#include "forms/RasiChart.h"
#include "forms/ReadingView.h"
#include "forms/ReadingWindow.h"
#include "pipeline/BirthEntry.h"
#include "support/FakePlatform.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

inline void FillForm(EntryWindow& form, const BirthEntry& e) {
    form.txtName->setText(QString::fromStdString(e.name));
    form.cboMonth->setCurrentIndex(e.monthIndex);
    form.cboDate->setCurrentText(QString::number(e.day));
    form.cboYear->setCurrentText(QString::number(e.year));
    form.cboHour->setCurrentText(QString::number(e.hour));
    form.cboMinute->setCurrentText(QString::number(e.minute));
    form.cboTimeZone->setCurrentIndex(e.zoneRow);
    form.txtLatDeg->setText(QString::fromStdString(e.latDeg));
    form.txtLatMin->setText(QString::fromStdString(e.latMin));
    form.optLat[static_cast<std::size_t>(e.latDirection)]->setChecked(true);
    form.txtLonDeg->setText(QString::fromStdString(e.lonDeg));
    form.txtLonMin->setText(QString::fromStdString(e.lonMin));
    form.optLong[static_cast<std::size_t>(e.lonDirection)]->setChecked(true);
    form.chkDST->setChecked(e.dst);
    form.txtCity->setText(QString::fromStdString(e.city));
    form.txtState->setText(QString::fromStdString(e.state));
    form.txtCountry->setText(QString::fromStdString(e.country));
}

// Drops text on a widget as a drag from another program would; the drop goes to the widget that
// accepted the drag's entry.
inline void DropText(QWidget* target, const QString& text) {
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

// Unchecks both buttons of a pair, which a person cannot do with the mouse.
inline void ClearPair(const std::array<QRadioButton*, 2>& pair) {
    QButtonGroup* group = pair[0]->group();
    group->setExclusive(false);
    pair[0]->setChecked(false);
    pair[1]->setChecked(false);
    group->setExclusive(true);
}

// Lets windows closed with WA_DeleteOnClose go.
inline void ProcessDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// Captions of a menu's items, "-" for a separator.
inline QStringList MenuCaptions(const QMenu* menu) {
    QStringList out;
    for (const QAction* action : menu->actions())
        out << (action->isSeparator() ? QString("-") : action->text());
    return out;
}

inline QStringList CellLines(const ReadingView& display, int sign) {
    const QString text = display.lblPlanets[static_cast<std::size_t>(sign)]->text();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

// A chart label without the retrograde mark, so that a cell's bodies can be checked whatever the
// retrograde tables say.
inline QString BaseLabel(QString label) {
    if (label.endsWith(" (R) "))
        label.chop(5);
    return label;
}

inline QStringList BaseLabels(const QStringList& labels) {
    QStringList out;
    for (const QString& label : labels)
        out << BaseLabel(label);
    return out;
}

class FormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        form = std::make_unique<EntryWindow>();
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void TearDown() override {
        form.reset();
        ProcessDeferredDeletes();
    }

    // Runs the reading command and returns the main window it opened, or null.
    ReadingWindow* Compute(const BirthEntry& entry) {
        FillForm(*form, entry);
        form->cmdCalculate->click();
        return form->MainWindow();
    }

    platform::FakePlatform fake;
    platform::ScopedPlatform scoped{fake};
    std::unique_ptr<EntryWindow> form;
};
