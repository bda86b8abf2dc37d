// SPDX-License-Identifier: AGPL-3.0-or-later
// Shared by the widget tests: a fixture with the entry form and a fake platform, the windows' parts
// found by their object names, and helpers that fill the form and read the chart cells.
#pragma once

#include "forms/EntryWindow.h"
#include "forms/FilteredTextBox.h"
#include "forms/NorthIndianChart.h"
#include "forms/RasiChart.h"
#include "forms/ReadingView.h"
#include "forms/ReadingWindow.h"
#include "pipeline/BirthEntry.h"
#include "support/FakePlatform.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
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
#include <stdexcept>
#include <string>

// A window's part by its object name. A part that is not there fails the test, naming what was
// looked for.
template <class T> T* Child(const QObject& window, const QString& name) {
    if (T* child = window.findChild<T*>(name))
        return child;
    throw std::runtime_error("no " + std::string(T::staticMetaObject.className()) + " named " +
                             name.toStdString());
}

inline FilteredTextBox* Box(const QObject& window, const QString& name) {
    return Child<FilteredTextBox>(window, name);
}
inline QComboBox* List(const QObject& window, const QString& name) {
    return Child<QComboBox>(window, name);
}
inline QAbstractButton* Button(const QObject& window, const QString& name) {
    return Child<QAbstractButton>(window, name);
}
inline QAction* Command(const QObject& window, const QString& name) {
    return Child<QAction>(window, name);
}
inline QLabel* Label(const QObject& window, const QString& name) {
    return Child<QLabel>(window, name);
}

inline void FillForm(EntryWindow& form, const BirthEntry& e) {
    Box(form, "txtName")->setText(QString::fromStdString(e.name));
    List(form, "cboMonth")->setCurrentIndex(e.monthIndex);
    List(form, "cboDate")->setCurrentText(QString::number(e.day));
    List(form, "cboYear")->setCurrentText(QString::number(e.year));
    List(form, "cboHour")->setCurrentText(QString::number(e.hour));
    List(form, "cboMinute")->setCurrentText(QString::number(e.minute));
    List(form, "cboTimeZone")->setCurrentIndex(e.zoneRow);
    Box(form, "txtLatDeg")->setText(QString::fromStdString(e.latDeg));
    Box(form, "txtLatMin")->setText(QString::fromStdString(e.latMin));
    Button(form, QString("optLat_%1").arg(e.latDirection))->setChecked(true);
    Box(form, "txtLonDeg")->setText(QString::fromStdString(e.lonDeg));
    Box(form, "txtLonMin")->setText(QString::fromStdString(e.lonMin));
    Button(form, QString("optLong_%1").arg(e.lonDirection))->setChecked(true);
    Button(form, "chkDST")->setChecked(e.dst);
    Box(form, "txtCity")->setText(QString::fromStdString(e.city));
    Box(form, "txtState")->setText(QString::fromStdString(e.state));
    Box(form, "txtCountry")->setText(QString::fromStdString(e.country));
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

// Unchecks both buttons of a pair ("optLat", "optLong"), which a person cannot do with the mouse.
inline void ClearPair(const EntryWindow& form, const QString& pair) {
    QAbstractButton* first = Button(form, pair + "_0");
    first->group()->setExclusive(false);
    first->setChecked(false);
    Button(form, pair + "_1")->setChecked(false);
    first->group()->setExclusive(true);
}

// Types the start of a place's name into City and clicks the first place the list offers.
inline void ChooseFirstPlace(EntryWindow& form, const char* typed) {
    FilteredTextBox* city = Box(form, "txtCity");
    city->clear();
    QTest::keyClicks(city, typed);
    QAbstractItemView* list = Child<QCompleter>(form, "cmpCity")->popup();
    ASSERT_TRUE(list->isVisible()) << typed;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(0, 0)).center());
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
    const QString text = Label(display, QString("lblPlanets_%1").arg(sign))->text();
    return text.isEmpty() ? QStringList() : text.split('\n');
}

// The view of the reading in front: "fraChart", "fraInterpretation", "fraPeriods" or "fraCompare".
inline QString ViewInFront(const ReadingView& display) {
    for (const char* view : {"fraChart", "fraInterpretation", "fraPeriods", "fraCompare"})
        if (Child<QWidget>(display, view)->isVisibleTo(&display))
            return view;
    return {};
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
        Button(*form, "cmdCalculate")->click();
        return form->MainWindow();
    }

    platform::FakePlatform fake;
    platform::ScopedPlatform scoped{fake};
    std::unique_ptr<EntryWindow> form;
};
