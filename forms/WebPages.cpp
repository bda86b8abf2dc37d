// SPDX-License-Identifier: AGPL-3.0-or-later
#include "forms/WebPages.h"

#include "platform/Platform.h"
#include "records/Messages.h"

#include <QCoreApplication>
#include <QDir>

QUrl OnlineHelpAddress() {
    return QUrl::fromLocalFile(QDir(QCoreApplication::applicationDirPath()).filePath(msg::kHelpFileName));
}

QUrl UpdateAddress() {
    return QUrl(msg::kUpdateAddress);
}

QUrl CoordinateSearchAddress(const QString& phrase) {
    QUrl url(msg::kSearchAddress);
    // Encoded by hand so that no character of the phrase can end the query item early.
    url.setQuery("q=" + QString::fromLatin1(QUrl::toPercentEncoding(phrase)), QUrl::StrictMode);
    return url;
}

bool OpenWebPage(const QUrl& url) {
    if (platform::Os().OpenWebAddress(url))
        return true;
    // Without a browser the address is all the user can be given; in full, so it can be copied.
    platform::ShowMessage(QString::fromLatin1(msg::kNoBrowser) + url.toString(QUrl::FullyEncoded),
                          platform::MessageIcon::Error);
    return false;
}

void OpenOnlineHelp() {
    OpenWebPage(OnlineHelpAddress());
}

void OpenUpdatePage() {
    OpenWebPage(UpdateAddress());
}
