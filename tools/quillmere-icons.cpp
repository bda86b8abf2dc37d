// SPDX-License-Identifier: AGPL-3.0-or-later
// quillmere-icons: writes the program's window icon as PNG files for the desktop's icon theme, so
// the installed icon is the one the windows draw and no picture is kept twice.
//
//   quillmere-icons OUTDIR SIZE...   writes OUTDIR/quillmere-SIZE.png for each SIZE
#include "forms/Icons.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

#include <cstdio>

namespace {

// The icon at exactly `size` pixels. The window icon is drawn up to 64 pixels; larger sizes are
// whole multiples of its largest drawing, enlarged pixel for pixel so its lines stay sharp.
QImage IconImage(const QIcon& icon, int size) {
    QImage image = icon.pixmap(QSize(size, size)).toImage();
    if (image.width() != size) {
        const bool whole = !image.isNull() && size % image.width() == 0;
        image = image.scaled(size, size, Qt::IgnoreAspectRatio,
                             whole ? Qt::FastTransformation : Qt::SmoothTransformation);
    }
    return image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: quillmere-icons OUTDIR SIZE...\n");
        return 2;
    }
    // No window is shown: the offscreen platform is enough to paint pixmaps.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(".")) {
        std::fprintf(stderr, "quillmere-icons: cannot make %s\n", argv[1]);
        return 1;
    }
    const QIcon icon = AppIcon();
    for (int i = 2; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            std::fprintf(stderr, "quillmere-icons: not a size: %s\n", argv[i]);
            return 2;
        }
        const QImage image = IconImage(icon, size);
        const QString path = out.filePath(QString("quillmere-%1.png").arg(size));
        if (image.width() != size || image.height() != size || !image.save(path, "PNG")) {
            std::fprintf(stderr, "quillmere-icons: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
