// SPDX-License-Identifier: AGPL-3.0-or-later
#include "output/PictureExport.h"

#include "formats/ImagePaths.h"
#include "output/ReadingFiles.h"
#include "platform/Platform.h"
#include "platform/SystemPath.h"
#include "records/Messages.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidget>

#include <optional>

namespace {

constexpr const char* kPictureNotSaved = "The picture could not be saved.";

std::string Native(const QString& path) {
    return SystemPath(QDir::toNativeSeparators(path));
}

QString FromNative(const std::string& path) {
    return QDir::fromNativeSeparators(PathFromSystem(path));
}

// The picture as JPEG bytes, or nothing with the reason. The picture library works in a fresh folder
// of its own, never beside the picture, where a bitmap of the user's own could have its name; the
// folder goes whatever happens.
std::optional<QByteArray> JpegOf(const QPixmap& picture, QString& reason) {
    QTemporaryDir work(QDir(QDir::tempPath()).filePath("quillmere-XXXXXX"));
    if (!work.isValid()) {
        reason = "No working folder could be made in " + QDir::toNativeSeparators(QDir::tempPath()) + ": " +
                 work.errorString();
        return std::nullopt;
    }
    QByteArray bitmap;
    QBuffer buffer(&bitmap);
    if (picture.isNull() || !buffer.open(QIODevice::WriteOnly) || !picture.toImage().save(&buffer, "BMP")) {
        reason = "The window could not be captured.";
        return std::nullopt;
    }
    const QString bitmapPath = work.filePath("picture.bmp");
    const QString jpegPath = work.filePath("picture.jpg");
    const auto workFailed = [&reason](const QString& path, const QString& why) {
        reason = QDir::toNativeSeparators(path) + ": " + why;
        return std::nullopt;
    };
    QString why;
    if (!WriteWholeFile(bitmapPath, bitmap, &why))
        return workFailed(bitmapPath, why);
    if (!platform::Os().ConvertBmpToJpeg(bitmapPath, jpegPath, 100)) {
        reason = platform::Os().PictureLibraryPresent()
                     ? QStringLiteral("The picture library could not convert it.")
                     : QString::fromUtf8(msg::kLibraryMissing);
        return std::nullopt;
    }
    std::optional<QByteArray> jpeg = ReadWholeFile(jpegPath, &why);
    if (!jpeg)
        return workFailed(jpegPath, why);
    return jpeg;
}

} // namespace

QPixmap CaptureFormPicture(QWidget& form) {
    // The text caret is no part of the picture: the widget that has it loses the focus while the
    // form is grabbed (a read-only box keeps its selection) and gets it back afterwards.
    QWidget* focused = QApplication::focusWidget();
    if (focused && focused != &form && !form.isAncestorOf(focused))
        focused = nullptr;
    if (focused)
        focused->clearFocus();
    const QPixmap picture = form.grab();
    if (focused)
        focused->setFocus(Qt::OtherFocusReason);
    return picture;
}

QString DefaultPictureFolder() {
    return platform::DocumentsFolder();
}

QString SaveDisplayAsJpeg(const PictureWorkspace& workspace, const QString& path, bool showName) {
    std::string folder;
    std::string file;
    SplitPath(JpegPathForChosen(Native(path)), folder, file);
    if (showName && workspace.txtFile)
        workspace.txtFile->setText(PathFromSystem(file));

    const UniqueImageResult target = UniqueImagePath(folder, file, Native(DefaultPictureFolder()));
    if (target.path.empty()) {
        const QString name = PathFromSystem(target.fileName);
        platform::Os().ShowTitledMessage("There are too many Copies of this file  " + name,
                                         " UNABLE  TO  CREATE  NEW  FILE" + name,
                                         platform::MessageIcon::Error);
        return {};
    }
    std::string targetFolder;
    std::string targetFile;
    SplitPath(target.path, targetFolder, targetFile);
    if (workspace.txtFolder)
        workspace.txtFolder->setText(PathFromSystem(targetFolder));

    const QString jpegPath = FromNative(target.path);
    QString reason;
    const std::optional<QByteArray> jpeg =
        JpegOf(workspace.Picture1 ? workspace.Picture1->pixmap() : QPixmap(), reason);
    if (!jpeg || !WriteWholeFile(jpegPath, *jpeg, &reason)) {
        platform::ShowMessage(QString::fromLatin1(kPictureNotSaved) + "\n" +
                                  QDir::toNativeSeparators(jpegPath) + ": " + reason,
                              platform::MessageIcon::Error);
        return {};
    }
    return jpegPath;
}
