// SPDX-License-Identifier: AGPL-3.0-or-later
// File names between the system and the windows.
#pragma once

#include <QString>

#include <string>
#include <string_view>

// A file name as the system holds it (bytes) and as the windows hold it. Every name that comes from
// the system (arguments, dialogs) or goes to it passes through these two. On Linux a name need not be
// UTF-8, and Qt turns such bytes into U+FFFD, which names another file; here each byte that is not
// part of UTF-8 becomes the lone surrogate U+DC80 + byte and back again, so the name reaches the
// system exactly as it came. On Windows the formats take names in UTF-8.
std::string SystemPath(const QString& path);
QString PathFromSystem(std::string_view bytes);

// Whether every character of `path` is text, with no escaped byte: Qt lists, checks and returns file
// names through UTF-8 alone, so its file dialogs can show and return only such names.
bool IsTextPath(const QString& path);
