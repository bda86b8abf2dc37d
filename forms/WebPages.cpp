#include "forms/WebPages.h"

#include "forms/FormTexts.h"
#include "platform/Platform.h"

#include <QCoreApplication>
#include <QDir>

QUrl OnlineHelpAddress() {
    return QUrl::fromLocalFile(QDir(QCoreApplication::applicationDirPath()).filePath(texts::kHelpFileName));
}

QUrl UpdateAddress() {
    return QUrl(texts::kUpdateAddress);
}

QUrl CoordinateSearchAddress(const QString& phrase) {
    QUrl url(texts::kSearchAddress);
    // Encoded by hand so that no character of the phrase can end the query item early.
    url.setQuery("q=" + QString::fromLatin1(QUrl::toPercentEncoding(phrase)), QUrl::StrictMode);
    return url;
}

void OpenOnlineHelp() {
    platform::Os().OpenWebAddress(OnlineHelpAddress());
}

void OpenUpdatePage() {
    platform::Os().OpenWebAddress(UpdateAddress());
}
