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

void OpenOnlineHelp();
void OpenUpdatePage();
