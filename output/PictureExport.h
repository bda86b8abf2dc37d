// SPDX-License-Identifier: AGPL-3.0-or-later
// Saving what the display form shows as a JPEG picture: capture the form, choose a free file name,
// convert the capture with the picture library in a fresh temporary folder, write the JPEG to the
// chosen name whole or not at all, and delete the temporary folder.
#pragma once

#include <QPixmap>
#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

// The display form's hidden working space.
struct PictureWorkspace {
    QLabel* Picture1;     // holds the captured picture
    QLineEdit* txtFile;   // the chosen file name
    QLineEdit* txtFolder; // the folder written to
};

// The client area of the form, as it shows now, without the text caret.
QPixmap CaptureFormPicture(QWidget& form);

// Writes the picture held in the workspace to a free name derived from `path`. Messages: too many
// copies of the name, or "The picture could not be saved." with the path and the reason on a second
// line. Returns the path written, or empty.
QString SaveDisplayAsJpeg(const PictureWorkspace& workspace, const QString& path, bool showName);

// Where a picture named without a folder goes: where the picture dialog starts, the user's
// documents folder (the program's own folder is often not writable).
QString DefaultPictureFolder();
