#include "platform/Platform.h"

#include "platform/QtPlatform.h"

#include <QStringList>

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

} // namespace platform
