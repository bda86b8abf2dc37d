// SPDX-License-Identifier: AGPL-3.0-or-later
#include "support/FakePlatform.h"

#include "platform/QtPlatform.h"

#include <QDialog>
#include <QPrinter>
#include <QStringList>

namespace platform {

void FakePlatform::ShowMessage(const QString& text, MessageIcon icon) {
    messages.push_back({text, icon});
    if (onMessage)
        onMessage(messages.back());
}

void FakePlatform::ShowTitledMessage(const QString& text, const QString& title, MessageIcon icon) {
    messages.push_back({text, icon, title});
    if (onMessage)
        onMessage(messages.back());
}

void FakePlatform::ShowModal(QDialog& dialog) {
    modalDialogs.push_back(dialog.objectName());
    if (onModal)
        onModal(dialog);
}

std::optional<QString> FakePlatform::AskFileName(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileAnswers.empty())
        return std::nullopt;
    const bool cancelled = !fileAnswers.front().has_value();
    const QString name = fileAnswers.front().value_or(QString());
    fileAnswers.pop_front();
    if (cancelled)
        return std::nullopt;
    return name;
}

bool FakePlatform::AskPrinter(QPrinter& printer, const PrinterRequest& request) {
    printerRequests.push_back(request);
    if (printerAnswers.empty())
        return false;
    const bool confirmed = printerAnswers.front();
    printerAnswers.pop_front();
    const QString file =
        printerOutputFile.isEmpty() && printerTakesProposedFile ? request.fileName : printerOutputFile;
    if (confirmed && !file.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
    }
    if (confirmed)
        printer.setPrintRange(request.printSelection ? QPrinter::Selection : QPrinter::AllPages);
    return confirmed;
}

bool FakePlatform::AskToReplace(const QString&, const QString& question) {
    replaceQuestions.push_back(question);
    if (replaceAnswers.empty())
        return true;
    const bool replace = replaceAnswers.front();
    replaceAnswers.pop_front();
    return replace;
}

bool FakePlatform::OpenWebAddress(const QUrl& url) {
    openedAddresses.push_back(url);
    return browserStarts;
}

InstanceStart FakePlatform::LockSingleInstance(const QString& readingToHandOver) {
    InstanceStart start;
    if (otherCopyRunning) {
        start.outcome = InstanceStart::Outcome::AlreadyRunning;
        if (!readingToHandOver.isEmpty()) {
            handedOver.push_back(readingToHandOver);
            start.outcome = InstanceStart::Outcome::HandedOver;
        }
    } else if (!lockUnavailableReason.isEmpty()) {
        start.outcome = InstanceStart::Outcome::Unavailable;
        start.reason = lockUnavailableReason;
    } else {
        start.lock = std::make_unique<InstanceLock>();
    }
    return start;
}

bool FakePlatform::PictureLibraryPresent() {
    return pictureLibraryPresent;
}

bool FakePlatform::ConvertBmpToJpeg(const QString& bmpPath, const QString& jpegPath, int quality) {
    conversions.push_back({bmpPath, jpegPath, quality});
    if (!conversionSucceeds)
        return false;
    return ConvertWithPictureLibrary(QtPlatform::PictureLibraryPath(), bmpPath, jpegPath, quality);
}

QStringList FakePlatform::MessageTexts() const {
    QStringList texts;
    for (const Message& m : messages)
        texts << m.text;
    return texts;
}

QString FakePlatform::Setting(const QString& key) {
    const auto found = settings.find(key);
    return found == settings.end() ? QString() : found->second;
}

bool FakePlatform::SetSetting(const QString& key, const QString& value) {
    if (!settingsWritable)
        return false;
    settings[key] = value;
    return true;
}

} // namespace platform
