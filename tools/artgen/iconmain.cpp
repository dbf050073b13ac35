// Draws the program's icon and the hand cursor into the files the program carries.
// Usage: snoetjesmal-iconart ART_DIR OUTPUT_DIR
// Writes into OUTPUT_DIR the Windows files snoetjesmal.ico (every size Windows asks for) and
// hand.cur, which the Windows executable carries, and the window icon and the hand as PNG
// files, which the program reads at run time: snoetjesmal-32.png, snoetjesmal-48.png and
// hand.png. The hand comes from ART_DIR/hand.xpm.
// Usage: snoetjesmal-iconart --theme OUTPUT_DIR
// Writes the icon for the desktop's icon theme: snoetjesmal.svg and snoetjesmal-SIDE.png at
// every size the theme holds.
// Usage: snoetjesmal-iconart --png SIDE FILE
// Writes the face of the icon at SIDE x SIDE pixels as a PNG.
// Exits with status 1 when anything could not be drawn or written.

#include "iconart.h"
#include "imageencoding.h"
#include "toolfile.h"

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

namespace {

QByteArray pngBytes(const QImage& image)
{
    return encodeImage(image, ImageFormat::Png);
}

} // namespace

int main(int argc, char* argv[])
{
    const QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args.at(1) == QStringLiteral("--png")) {
        const int side = args.at(2).toInt();
        const QByteArray png = side > 0 ? pngBytes(IconArt::face(side)) : QByteArray();
        if (png.isEmpty()) {
            err << "cannot draw a face of " << args.at(2) << " pixels\n";
            return 1;
        }
        return writeToolFile(args.at(3), png, err) ? 0 : 1;
    }
    if (args.size() != 3) {
        err << "usage: snoetjesmal-iconart ART_DIR OUTPUT_DIR | --theme OUTPUT_DIR\n";
        return 2;
    }
    const QDir out(args.at(2));
    int failures = 0;
    const auto write = [&](const QString& name, const QByteArray& bytes, const QString& error) {
        if (bytes.isEmpty()) {
            err << name << ": " << error << '\n';
            ++failures;
        } else if (!writeToolFile(out.filePath(name), bytes, err)) {
            ++failures;
        }
    };

    if (args.at(1) == QStringLiteral("--theme")) {
        write(QStringLiteral("snoetjesmal.svg"), IconArt::faceSvg(), QStringLiteral("no drawing"));
        for (const int side : IconArt::themeIconSides) {
            write(QStringLiteral("snoetjesmal-%1.png").arg(side), pngBytes(IconArt::face(side)),
                  QStringLiteral("cannot be drawn"));
        }
        return failures == 0 ? 0 : 1;
    }

    QString error;
    write(QStringLiteral("snoetjesmal.ico"), IconArt::windowIconFile(&error), error);
    for (const int side : {IconArt::smallIconSide, IconArt::largeIconSide}) {
        write(QStringLiteral("snoetjesmal-%1.png").arg(side), pngBytes(IconArt::face(side)),
              QStringLiteral("cannot be drawn"));
    }
    write(QStringLiteral("hand.cur"), IconArt::handCursorFile(args.at(1), &error), error);
    IconArt::CursorDrawing hand;
    if (IconArt::readCursorDrawing(IconArt::handDrawingPath(args.at(1)), &hand, &error)) {
        write(QStringLiteral("hand.png"), pngBytes(hand.image), QStringLiteral("cannot be drawn"));
    } else {
        write(QStringLiteral("hand.png"), {}, error);
    }
    return failures == 0 ? 0 : 1;
}
