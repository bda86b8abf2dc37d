// The platform services on Qt: message boxes, dialogs, the desktop's browser, a lock file.
#pragma once

#include "platform/Platform.h"

namespace platform {

class QtPlatform : public Platform {
  public:
    // `lockPath` empty: the lock lives in the system's temporary folder, one per user.
    explicit QtPlatform(QString lockPath = {});

    void ShowMessage(const QString& text, MessageIcon icon) override;
    void ShowTitledMessage(const QString& text, const QString& title, MessageIcon icon) override;
    void ShowModal(QDialog& dialog) override;
    std::optional<QString> AskFileName(const FileDialogRequest& request) override;
    bool AskPrinter(QPrinter& printer, const PrinterRequest& request) override;
    bool OpenWebAddress(const QUrl& url) override;
    std::unique_ptr<InstanceLock> LockSingleInstance() override;
    bool PictureLibraryPresent() override;
    bool ConvertBmpToJpeg(const QString& bmpPath, const QString& jpegPath, int quality) override;

    // Full path of the picture library beside the program: Bmp2Jpeg plus the system's suffix.
    static QString PictureLibraryPath();

  private:
    QString lockPath_;
};

// Loads the picture library at `libraryPath` and converts the bitmap with its BmpToJpeg; true when
// the library was there, answered success and the JPEG file exists.
bool ConvertWithPictureLibrary(const QString& libraryPath, const QString& bmpPath, const QString& jpegPath,
                               int quality);

} // namespace platform
