// Turns the XPM drawings under art/ into the BMP pictures the program carries.
// Usage: snoetjesmal-artgen ART_DIR OUTPUT_DIR
// Exits with status 1 when any picture could not be drawn or written.

#include "artsource.h"
#include "facepictures.h"
#include "imageencoding.h"
#include "toolfile.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    const QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        err << "usage: snoetjesmal-artgen ART_DIR OUTPUT_DIR\n";
        return 2;
    }
    const QDir out(args.at(2));
    int failures = 0;
    int written = 0;
    for (const FacePictures::Info& info : FacePictures::all()) {
        QString error;
        const QImage image = ArtSource::picture(args.at(1), info, &error);
        const QString target =
            out.filePath(FacePictures::toQString(info.box) + QStringLiteral(".bmp"));
        if (image.isNull()) {
            err << error << '\n';
            ++failures;
        } else if (writeToolFile(target, encodeBmp(image), err)) {
            ++written;
        } else {
            ++failures;
        }
    }
    return failures == 0 && written > 0 ? 0 : 1;
}
