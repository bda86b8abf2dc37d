// SPDX-License-Identifier: AGPL-3.0-or-later
// The platform services on Qt: message boxes, dialogs, the desktop's browser, and the single-instance
// lock as a local server of this user's session.
#pragma once

#include "platform/Platform.h"

class QFileDialog;
class QPrintDialog;
class QWidget;

namespace platform {

// How the running copy keeps the connections of later copies (or of anything else of this user's)
// from using up its files: a later copy sends its whole request at once, so no connection is kept
// long, nor many at a time.
struct HandOverLimits {
    int connectionMs = 3000;  // a connection still open after this is closed
    int mostConnections = 32; // a connection beyond these closes the oldest
    int relistenMs = 1000;    // how often a server that stopped listening tries again
};

class QtPlatform : public Platform {
  public:
    // `instanceFolder` empty: the single-instance server lives in the user's runtime folder, or,
    // where there is none, in the temporary folder under the user's id. Either way its name carries
    // the graphical session, so a copy in another session does not count.
    explicit QtPlatform(QString instanceFolder = {}, HandOverLimits limits = {});

    void ShowMessage(const QString& text, MessageIcon icon) override;
    void ShowTitledMessage(const QString& text, const QString& title, MessageIcon icon) override;
    void ShowModal(QDialog& dialog) override;
    std::optional<QString> AskFileName(const FileDialogRequest& request) override;
    bool AskPrinter(QPrinter& printer, const PrinterRequest& request) override;
    bool AskToReplace(const QString& file, const QString& question) override;
    bool OpenWebAddress(const QUrl& url) override;
    InstanceStart LockSingleInstance(const QString& readingToHandOver = {}) override;
    bool PictureLibraryPresent() override;
    bool ConvertBmpToJpeg(const QString& bmpPath, const QString& jpegPath, int quality) override;
    QString Setting(const QString& key) override;
    bool SetSetting(const QString& key, const QString& value) override;

    // Full path of the picture library beside the program: Bmp2Jpeg plus the system's suffix.
    static QString PictureLibraryPath();
    // The single-instance server's name: on Unix the full path of its socket.
    QString InstanceServerName() const { return serverName_; }

  private:
    QString serverName_;
    bool privateFolder_ = false; // the server's folder is this user's alone
    HandOverLimits limits_;
    // The existing file the printer dialog last had the person confirm, which is not asked twice.
    QString confirmedPrintFile_;
};

// Sets up a file dialog for the request without showing it.
void SetUpFileDialog(QFileDialog& dialog, const FileDialogRequest& request);

// The printer dialog for the request, not yet shown. It offers no page range, and the printer's
// range is reset to all pages or the selection. Its file field shows the request's file name each time
// it is shown.
std::unique_ptr<QPrintDialog> MakePrintDialog(QPrinter& printer, const PrinterRequest& request,
                                              QWidget* parent = nullptr);

// Loads the picture library at `libraryPath` and converts the bitmap with its BmpToJpeg; true when
// the library was there, answered success and the JPEG file exists.
bool ConvertWithPictureLibrary(const QString& libraryPath, const QString& bmpPath, const QString& jpegPath,
                               int quality);

} // namespace platform
