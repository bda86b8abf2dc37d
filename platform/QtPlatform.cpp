#include "platform/QtPlatform.h"

#include <QAbstractPrintDialog>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLibrary>
#include <QLockFile>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSysInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace platform {

namespace {

class LockFileLock : public InstanceLock {
  public:
    explicit LockFileLock(std::unique_ptr<QLockFile> file) : file_(std::move(file)) {}

  private:
    std::unique_ptr<QLockFile> file_;
};

QString DefaultLockPath() {
#ifdef Q_OS_UNIX
    const QString user = QString::number(::getuid());
#else
    const QString user = QDir::home().dirName();
#endif
    return QDir::temp().filePath("quillmere-" + user + ".lock");
}

} // namespace

QtPlatform::QtPlatform(QString lockPath) : lockPath_(lockPath.isEmpty() ? DefaultLockPath() : lockPath) {}

void QtPlatform::ShowMessage(const QString& text, MessageIcon icon) {
    ShowTitledMessage(text, kMessageTitle, icon);
}

void QtPlatform::ShowTitledMessage(const QString& text, const QString& title, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::Information, title,
                    text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void QtPlatform::ShowModal(QDialog& dialog) {
    dialog.exec();
}

std::optional<QString> QtPlatform::AskFileName(const FileDialogRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (request.kind == FileDialogRequest::Kind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.promptOverwrite);
    }
    if (!request.presetName.isEmpty())
        dialog.selectFile(request.presetName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

bool QtPlatform::AskPrinter(QPrinter& printer, const PrinterRequest& request) {
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintToFile |
                                                       QAbstractPrintDialog::PrintShowPageSize |
                                                       QAbstractPrintDialog::PrintCollateCopies;
    if (request.printSelection)
        options |= QAbstractPrintDialog::PrintSelection;
    dialog.setOptions(options);
    dialog.setPrintRange(request.printSelection ? QAbstractPrintDialog::Selection
                                                : QAbstractPrintDialog::AllPages);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPlatform::OpenWebAddress(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

std::unique_ptr<InstanceLock> QtPlatform::LockSingleInstance() {
    auto file = std::make_unique<QLockFile>(lockPath_);
    // Never stale by age: the first copy may run for days. A lock left by a copy that crashed is
    // still taken over, because QLockFile sees that its process is gone.
    file->setStaleLockTime(0);
    if (!file->tryLock(0))
        return nullptr;
    return std::make_unique<LockFileLock>(std::move(file));
}

QString QtPlatform::PictureLibraryPath() {
#ifdef Q_OS_WIN
    const QString fileName = "Bmp2Jpeg.dll";
#elif defined(Q_OS_MACOS)
    const QString fileName = "Bmp2Jpeg.dylib";
#else
    const QString fileName = "Bmp2Jpeg.so";
#endif
    return QDir(QCoreApplication::applicationDirPath()).filePath(fileName);
}

bool QtPlatform::PictureLibraryPresent() {
    return QFile::exists(PictureLibraryPath());
}

bool QtPlatform::ConvertBmpToJpeg(const QString& bmpPath, const QString& jpegPath, int quality) {
    return ConvertWithPictureLibrary(PictureLibraryPath(), bmpPath, jpegPath, quality);
}

bool ConvertWithPictureLibrary(const QString& libraryPath, const QString& bmpPath, const QString& jpegPath,
                               int quality) {
    using BmpToJpegFunction = int (*)(const char*, const char*, int);
    // Loaded once and kept: the program calls it for every picture.
    static QLibrary library;
    if (library.fileName() != libraryPath) {
        library.unload();
        library.setFileName(libraryPath);
    }
    const auto convert = reinterpret_cast<BmpToJpegFunction>(library.resolve("BmpToJpeg"));
    if (!convert)
        return false;
    const QByteArray bmp = QFile::encodeName(bmpPath);
    const QByteArray jpeg = QFile::encodeName(jpegPath);
    return convert(bmp.constData(), jpeg.constData(), quality) == 0 && QFileInfo(jpegPath).isFile();
}

} // namespace platform
