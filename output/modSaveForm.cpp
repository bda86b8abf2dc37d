#include "output/modSaveForm.h"

#include "formats/ImagePaths.h"
#include "platform/Platform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryFile>
#include <QWidget>

namespace {

constexpr const char* kPictureNotSaved = "The picture could not be saved.";

std::string Native(const QString& path) {
    return QDir::toNativeSeparators(path).toStdString();
}

QString FromNative(const std::string& path) {
    return QDir::fromNativeSeparators(QString::fromStdString(path));
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
        workspace.txtFile->setText(QString::fromStdString(file));

    const UniqueImageResult target = UniqueImagePath(folder, file, Native(DefaultPictureFolder()));
    if (target.path.empty()) {
        const QString name = QString::fromStdString(target.fileName);
        platform::Os().ShowTitledMessage("There are too many Copies of this file  " + name,
                                         " UNABLE  TO  CREATE  NEW  FILE" + name,
                                         platform::MessageIcon::Error);
        return {};
    }
    std::string targetFolder;
    std::string targetFile;
    SplitPath(target.path, targetFolder, targetFile);
    if (workspace.txtFolder)
        workspace.txtFolder->setText(QString::fromStdString(targetFolder));

    const QString jpegPath = FromNative(target.path);
    const QPixmap picture = workspace.Picture1 ? workspace.Picture1->pixmap() : QPixmap();
    bool saved = false;
    if (!picture.isNull()) {
        // The bitmap goes to a fresh temporary file, never beside the picture, where a bitmap of
        // the user's own could have that name; it is deleted whatever happens.
        QTemporaryFile bitmap(QDir(QDir::tempPath()).filePath("quillmere-XXXXXX.bmp"));
        if (bitmap.open() && picture.toImage().save(&bitmap, "BMP") && bitmap.flush()) {
            bitmap.close();
            saved = platform::Os().ConvertBmpToJpeg(bitmap.fileName(), jpegPath, 100) &&
                    QFileInfo(jpegPath).isFile();
        }
    }
    if (!saved) {
        platform::ShowMessage(kPictureNotSaved, platform::MessageIcon::Error);
        return {};
    }
    return jpegPath;
}
