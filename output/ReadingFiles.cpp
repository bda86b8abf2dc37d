// SPDX-License-Identifier: AGPL-3.0-or-later
#include "output/ReadingFiles.h"

#include "formats/AtomicFile.h"
#include "platform/SystemPath.h"

#include <QStringEncoder>

#include <limits>

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* reason) {
    std::string why;
    const bool written = WriteFileAtomically(
        SystemPath(path), std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), &why);
    if (!written && reason)
        *reason = QString::fromStdString(why);
    return written;
}

std::optional<QByteArray> ReadWholeFile(const QString& path, QString* reason) {
    std::string bytes, why;
    if (ReadRegularFile(SystemPath(path), std::numeric_limits<std::size_t>::max(), bytes, &why) !=
        ReadFailure::None) {
        if (reason)
            *reason = QString::fromStdString(why);
        return std::nullopt;
    }
    return QByteArray::fromStdString(bytes);
}

QByteArray InSystemEncoding(const std::string& utf8) {
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(QString::fromStdString(utf8));
}
