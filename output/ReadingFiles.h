// SPDX-License-Identifier: AGPL-3.0-or-later
// Reading and writing the program's files from the windows: whole or not at all, every failure
// reported to the caller.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

// Writes to a temporary file beside `path` and renames it into place, so a failure (folder not
// writable, disk full) leaves any earlier file as it was. On failure `reason` (when given) holds a
// short sentence for the user, such as "No space is left on the device.".
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* reason = nullptr);

// The whole file, or nothing when it is not a regular file or cannot be read; `reason` as above.
std::optional<QByteArray> ReadWholeFile(const QString& path, QString* reason = nullptr);

// UTF-8 text in the system's own text encoding (UTF-8 on Linux, the ANSI code page on Windows).
QByteArray InSystemEncoding(const std::string& utf8);
