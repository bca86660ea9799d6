// Stand-in screenshot program: grabs the whole screen and leaves the picture as "EC截图.bmp" in
// the folder named by KORVEX_PICTURE_DIR (the caller's folder for this run), else in its own
// folder, where the program that started it picks it up. Exit code 0 when the picture
// was written, 1 otherwise. The picture is written under a temporary name and renamed, so a
// reader never sees half a file.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    const QPixmap picture = screen ? screen->grabWindow(0) : QPixmap();
    if (picture.isNull()) {
        std::fprintf(stderr, "snaptor: the screen could not be grabbed\n");
        return 1;
    }
    const QString given = qEnvironmentVariable("KORVEX_PICTURE_DIR");
    const QDir folder(given.isEmpty() ? QCoreApplication::applicationDirPath() : given);
    const QString target = folder.filePath(QStringLiteral("EC截图.bmp"));
    const QString partial = target + QStringLiteral(".part");
    if (!picture.save(partial, "BMP")) {
        QFile::remove(partial);
        std::fprintf(stderr, "snaptor: the picture could not be written\n");
        return 1;
    }
    QFile::remove(target);
    if (!QFile::rename(partial, target)) {
        QFile::remove(partial);
        return 1;
    }
    return 0;
}
