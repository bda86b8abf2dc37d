// The start of the program: the single-instance test, then the entry form.
#pragma once

#include "forms/frmMain.h"
#include "platform/Platform.h"

#include <QStringList>

#include <memory>
#include <optional>

struct RunningProgram {
    std::unique_ptr<platform::InstanceLock> lock; // held until the program ends
    std::unique_ptr<frmMain> entryForm;
};

// Shows the entry form, or, when another copy of the program is running, says so and returns
// nothing; the other copy is left as it is. A single argument is a saved reading that the desktop
// asks the program to open: it is opened as "&Open Previously Saved Reading" opens a chosen file.
// Any other arguments are ignored.
std::optional<RunningProgram> StartProgram(const QStringList& arguments = {});
