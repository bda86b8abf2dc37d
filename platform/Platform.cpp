// SPDX-License-Identifier: AGPL-3.0-or-later
#include "platform/Platform.h"

#include "platform/QtPlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

#include <climits>

namespace platform {

namespace {
Platform* installed = nullptr;
} // namespace

Platform& Os() {
    if (installed)
        return *installed;
    static QtPlatform qtPlatform;
    return qtPlatform;
}

void Install(Platform* platform) {
    installed = platform;
}

ScopedPlatform::ScopedPlatform(Platform& platform) : previous_(installed) {
    installed = &platform;
}

ScopedPlatform::~ScopedPlatform() {
    installed = previous_;
}

QString QtFileFilter(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString pattern = QString(parts[i + 1]).replace(';', ' ');
        filters << (description.contains('(') ? description : description + " (" + pattern + ")");
    }
    return filters.join(";;");
}

QString DocumentsFolder() {
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

QString WithSuffix(const QString& path, const QString& suffix) {
    const qsizetype nameStart = path.lastIndexOf('/') + 1;
    if (nameStart >= path.size())
        return path;
    qsizetype dot = path.lastIndexOf('.');
    // A name's leading dot (".notes") starts no suffix.
    if (dot <= nameStart)
        dot = path.size();
    return path.left(dot) + '.' + suffix;
}

bool LongerThanAnyPath(const QString& path) {
#ifdef Q_OS_WIN
    return path.size() > 32767; // the longest path Windows takes, in UTF-16 units
#else
    return QFile::encodeName(path).size() >= PATH_MAX; // PATH_MAX counts the closing null
#endif
}

} // namespace platform
