// SPDX-License-Identifier: AGPL-3.0-or-later
// The operating-system services the windows call: message boxes, modal dialogs, file and printer
// dialogs, web pages, the single-instance lock and the picture library. The program runs on the Qt
// implementation; tests install a scripted fake so that nothing ever waits for a person.
#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QDialog;
class QPrinter;

namespace platform {

enum class MessageIcon { Error, Information };

// The title every message box carries.
inline constexpr const char* kMessageTitle = "Quillmere";

struct FileDialogRequest {
    enum class Kind { Open, Save };
    Kind kind = Kind::Save;
    QString title;
    QString filter;        // Qt form, for example "Quillmere (*.qlm)"
    QString defaultSuffix; // without the dot; a save dialog adds it when the chosen name has none
    QString presetName;
    // Where the dialog starts when it has no preset name; the documents folder when this is empty
    // or no longer a folder.
    QString startFolder;
    bool promptOverwrite = false;
    bool fileMustExist = false;
};

// Converts a "description|pattern|description|pattern" filter into Qt's form.
QString QtFileFilter(const QString& pipeFilter);

// Where file dialogs start when they have no name nor folder to start from: the user's documents
// folder, or the home folder when there is none.
QString DocumentsFolder();

// `path` with its file name's last suffix replaced by `suffix` (added when it has none), so that a
// dialog of one type does not propose a file of another: "/a/b.qlm" with "txt" is "/a/b.txt".
QString WithSuffix(const QString& path, const QString& suffix);

// Whether `path` is longer than any path the system opens, so that it names no file at all.
bool LongerThanAnyPath(const QString& path);

struct PrinterRequest {
    bool printSelection = false; // the dialog opens with "selection" chosen instead of "all"
    // The full path a print to a file is proposed to go to; empty: the dialog's own proposal.
    QString fileName;
};

// Held by the copy that runs for as long as it runs; releasing it lets the next copy start.
class InstanceLock {
  public:
    virtual ~InstanceLock() = default;
    // What is done with a saved reading that a later copy hands over; called on the UI thread.
    void SetReceiver(std::function<void(const QString&)> receiver) { receiver_ = std::move(receiver); }
    // Passes a handed-over reading's path to the receiver.
    void Receive(const QString& path) {
        if (receiver_)
            receiver_(path);
    }

  private:
    std::function<void(const QString&)> receiver_;
};

// What the start of a copy found.
struct InstanceStart {
    enum class Outcome {
        First,          // this copy runs and holds the lock
        AlreadyRunning, // another copy runs; nothing was handed to it
        HandedOver,     // another copy runs and took the saved reading
        Unavailable,    // no lock could be made: this copy runs without one
    };
    Outcome outcome = Outcome::First;
    std::unique_ptr<InstanceLock> lock; // with First
    QString reason;                     // with Unavailable: what went wrong
};

class Platform {
  public:
    virtual ~Platform() = default;

    // A message box with an OK button, the title "Quillmere" and the given icon.
    virtual void ShowMessage(const QString& text, MessageIcon icon) = 0;
    // The same with a title of its own.
    virtual void ShowTitledMessage(const QString& text, const QString& title, MessageIcon icon) = 0;
    // Runs a dialog modally and returns when it is closed.
    virtual void ShowModal(QDialog& dialog) = 0;
    // The chosen full path, or nothing when the user cancelled.
    virtual std::optional<QString> AskFileName(const FileDialogRequest& request) = 0;
    // Lets the user choose and set up `printer`; false when cancelled. No page range is offered.
    virtual bool AskPrinter(QPrinter& printer, const PrinterRequest& request) = 0;
    // Asks with Yes and No (No the default) whether the existing `file` may be replaced; true for
    // Yes. A file that the printer dialog just had the person confirm is not asked about again.
    virtual bool AskToReplace(const QString& file, const QString& question) = 0;
    // Opens the address in the desktop's default browser; false when no browser could be started.
    virtual bool OpenWebAddress(const QUrl& url) = 0;
    // Takes the lock that keeps a second copy of the program from running. When another copy holds
    // it and `readingToHandOver` (an absolute path) is given, that copy is asked to open it.
    virtual InstanceStart LockSingleInstance(const QString& readingToHandOver = {}) = 0;
    // Whether the library that converts bitmaps to JPEG lies beside the program.
    virtual bool PictureLibraryPresent() = 0;
    // Converts a bitmap file into a JPEG file through that library.
    virtual bool ConvertBmpToJpeg(const QString& bmpPath, const QString& jpegPath, int quality) = 0;
    // A choice of the user's kept between runs; empty when never made.
    virtual QString Setting(const QString& key) = 0;
    // Keeps a choice for the next run; false when it could not be stored.
    virtual bool SetSetting(const QString& key, const QString& value) = 0;
};

// The platform in use: the installed one, else the Qt implementation.
Platform& Os();
// Installs `platform` (not owned) in place of the Qt implementation; null restores it.
void Install(Platform* platform);

// Installs a platform for the lifetime of the object, then restores the previous one.
class ScopedPlatform {
  public:
    explicit ScopedPlatform(Platform& platform);
    ~ScopedPlatform();
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

  private:
    Platform* previous_;
};

inline void ShowMessage(const QString& text, MessageIcon icon) {
    Os().ShowMessage(text, icon);
}

} // namespace platform
