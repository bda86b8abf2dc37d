// SPDX-License-Identifier: AGPL-3.0-or-later
// A scripted stand-in for the platform services: it records every message, dialog and web address
// and answers the dialogs from a script, so tests drive the windows without anything modal.
#pragma once

#include "platform/Platform.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <map>
#include <vector>

namespace platform {

class FakePlatform : public Platform {
  public:
    struct Message {
        QString text;
        MessageIcon icon;
        QString title = kMessageTitle;
    };

    // What happened.
    std::vector<Message> messages;
    std::vector<QString> modalDialogs; // objectNames of the dialogs shown modally
    std::vector<FileDialogRequest> fileRequests;
    std::vector<PrinterRequest> printerRequests;
    std::vector<QString> replaceQuestions; // the question texts, in order
    std::vector<QUrl> openedAddresses;
    struct Conversion {
        QString bmpPath, jpegPath;
        int quality;
    };
    std::vector<Conversion> conversions;

    // The script. A file dialog with no answer left is cancelled, and so is a printer dialog.
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<bool> printerAnswers;
    QString printerOutputFile;             // a confirmed printer prints to this PDF file when set
    bool printerTakesProposedFile = false; // else, to the request's file name, as Enter in the dialog
    // Whether to replace an existing file; a question with no answer left is answered Yes.
    std::deque<bool> replaceAnswers;
    bool browserStarts = true;
    // The single-instance lock: another copy holds it (and takes handed-over readings, which are
    // recorded), or no lock can be made for the given reason.
    bool otherCopyRunning = false;
    std::vector<QString> handedOver;
    QString lockUnavailableReason;
    bool pictureLibraryPresent = true;
    // A conversion that succeeds is done for real, through the library beside the program.
    bool conversionSucceeds = true;
    // Kept choices; storing fails while settingsWritable is false.
    std::map<QString, QString> settings;
    bool settingsWritable = true;

    // Called while a message or a modal dialog is "open", so a test can look at it.
    std::function<void(const Message&)> onMessage;
    std::function<void(QDialog&)> onModal;

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

    // Message texts only, in order.
    QStringList MessageTexts() const;
};

} // namespace platform
