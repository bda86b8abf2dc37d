// SPDX-License-Identifier: AGPL-3.0-or-later
// The web pages the windows open: the help page that ships beside the program, the download page
// and the coordinate search.
#pragma once

#include <QString>
#include <QUrl>

// file:// address of the help page in the program's folder.
QUrl OnlineHelpAddress();
QUrl UpdateAddress();
// A web search for the phrase, as typed.
QUrl CoordinateSearchAddress(const QString& phrase);

// Opens the page in the desktop's browser; where none can be started, says so with the address.
bool OpenWebPage(const QUrl& url);
void OpenOnlineHelp();
void OpenUpdatePage();
