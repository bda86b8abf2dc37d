// SPDX-License-Identifier: AGPL-3.0-or-later
// The command-line companion: readings from saved files or from birth data given as options,
// written as the chart text export.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Runs the companion with its arguments (without the program name). Returns the exit status:
// 0 when every reading was produced, 1 when some were refused, 2 for a usage error.
int RunChartCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The folder whose atlas of places --places reads (the companion's own); QUILLMERE_ATLAS overrides it.
void UseAtlasBeside(const std::string& companionFolder);
