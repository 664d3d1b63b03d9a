// Writes the program icon as PNG files of the usual sizes, for desktop
// menus and installers; the program itself paints the icon in code.
//
// Usage: IconGen <output-folder>

#include "resources/ProgramIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: IconGen <output-folder>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (int size : { 16, 24, 32, 48, 64, 128, 256 }) {
        const QString name = folder.filePath(QStringLiteral("vemitrainer-%1.png").arg(size));
        if (!ProgramIcon::image(size).save(name)) {
            std::fprintf(stderr, "IconGen: cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
