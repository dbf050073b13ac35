// Draws the window icon and the hand cursor into the files the program carries.
// Usage: snoetjesmal-iconart ART_DIR OUTPUT_DIR
// Writes OUTPUT_DIR/snoetjesmal.ico and OUTPUT_DIR/hand.cur; the hand comes from
// ART_DIR/hand.xpm.
// Usage: snoetjesmal-iconart --png SIDE FILE
// Writes the face of the icon at SIDE x SIDE pixels as a PNG, for the desktop's icon theme.

#include "iconart.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes, QTextStream& err)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        err << path << ": " << file.errorString() << '\n';
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    const QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args.at(1) == QStringLiteral("--png")) {
        const int side = args.at(2).toInt();
        if (side <= 0 || !IconArt::face(side).save(args.at(3), "PNG")) {
            err << "cannot write " << args.at(3) << '\n';
            return 1;
        }
        return 0;
    }
    if (args.size() != 3) {
        err << "usage: snoetjesmal-iconart ART_DIR OUTPUT_DIR\n";
        return 2;
    }
    const QDir out(args.at(2));
    int failures = 0;

    QString error;
    const QByteArray icon = IconArt::windowIconFile(&error);
    if (icon.isEmpty()) {
        err << error << '\n';
        ++failures;
    } else if (!writeFile(out.filePath(QStringLiteral("snoetjesmal.ico")), icon, err)) {
        ++failures;
    }

    const QByteArray cursor = IconArt::handCursorFile(args.at(1), &error);
    if (cursor.isEmpty()) {
        err << error << '\n';
        ++failures;
    } else if (!writeFile(out.filePath(QStringLiteral("hand.cur")), cursor, err)) {
        ++failures;
    }
    return failures == 0 ? 0 : 1;
}
