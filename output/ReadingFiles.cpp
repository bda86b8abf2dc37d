#include "output/ReadingFiles.h"

#include "app/Records.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringEncoder>

bool WriteWholeFile(const QString& path, const QByteArray& bytes) {
    if (QFileInfo(path).isDir())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

std::optional<QByteArray> ReadWholeFile(const QString& path) {
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

QByteArray InSystemEncoding(const std::string& utf8) {
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(QString::fromStdString(utf8));
}

QString LastFileName() {
    return QString::fromStdString(ReadingState.lastFileName);
}

void SetLastFileName(const QString& path) {
    ReadingState.lastFileName = path.toStdString();
}
