// The start of the program: the single-instance test, then the entry form.
#pragma once

#include "forms/frmMain.h"
#include "platform/Platform.h"

#include <memory>
#include <optional>

struct RunningProgram {
    std::unique_ptr<platform::InstanceLock> lock; // held until the program ends
    std::unique_ptr<frmMain> entryForm;
};

// Shows the entry form, or, when another copy of the program is running, says so and returns
// nothing; the other copy is left as it is.
std::optional<RunningProgram> StartProgram();
