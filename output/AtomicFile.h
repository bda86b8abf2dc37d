// Files are written whole or not at all: the bytes go to a fresh temporary file in the target's
// folder, which is then renamed over the target, so a failure leaves any earlier file intact.
#pragma once

#include <string>

bool WriteFileAtomically(const std::string& path, const std::string& bytes);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);
