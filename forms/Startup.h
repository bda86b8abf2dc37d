// SPDX-License-Identifier: AGPL-3.0-or-later
// The start of the program: the single-instance test, then the entry form.
#pragma once

#include "forms/EntryWindow.h"
#include "platform/Platform.h"

#include <QStringList>

#include <memory>
#include <optional>

// Gives Qt the program's name and version; call once the application object stands.
void NameProgram();

struct RunningProgram {
    std::unique_ptr<platform::InstanceLock> lock; // held until the program ends; null without one
    std::unique_ptr<EntryWindow> entryForm;
};

// The program's arguments after its name, as the application object left them (Qt takes its own
// options out), with names of files exactly as the system gave them (see PathFromSystem).
QStringList ProgramArguments(int argc, char** argv);

// Shows the entry form and returns the running program. A single argument is a saved reading that
// the desktop asks the program to open: it is opened as "&Open Previously Saved Reading" opens a
// chosen file. Any other arguments are ignored.
// When another copy of the program runs in this session, this copy shows no window and returns
// nothing: a saved reading is handed to that copy, which opens it; without one the user is told
// that the program is already running. When no lock can be made at all, the user is told so and
// the program runs all the same. Later copies' readings are opened by this one.
std::optional<RunningProgram> StartProgram(const QStringList& arguments = {});
