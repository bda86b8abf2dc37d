// SPDX-License-Identifier: AGPL-3.0-or-later
// The program's pictures, drawn rather than shipped: the window icon and the toolbar's four icons.
#pragma once

#include <QIcon>
#include <QString>

// A small South-Indian chart: the program's window icon.
QIcon AppIcon();

// Toolbar icon for the key "New", "Save", "Print" or "Help", 16 by 15 pixels with a sharper copy
// for high-density screens; a null icon for any other key.
QIcon ToolbarIcon(const QString& key);
