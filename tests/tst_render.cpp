// snoetjesmal-render: reading its command line, and the built program itself, whose
// pictures must be the program's faces pixel for pixel and whose failed writes leave
// nothing behind.

#include "catalogue.h"
#include "combinationsheet.h"
#include "faceexport.h"
#include "imageencoding.h"
#include "qttranslation.h"
#include "renderjob.h"
#include "renderoptions.h"

#include "folderfiles.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <optional>

#ifdef Q_OS_UNIX
#include <signal.h>
#endif

namespace {

const QString renderProgram = QStringLiteral(SNOETJESMAL_RENDER);

ParsedCommandLine parse(const QStringList& arguments)
{
    return parseCommandLine(QStringList{u"snoetjesmal-render"_qs} + arguments);
}

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

Run run(const QStringList& arguments, const QString& shellPrefix = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    // As in a container or a cron job, where Qt would have something to say about it.
    environment.remove(u"XDG_RUNTIME_DIR"_qs);
    process.setProcessEnvironment(environment);
    if (shellPrefix.isEmpty()) {
        process.start(renderProgram, arguments);
    } else {
        // A program short of memory or of file size may leave the font cache it writes cut
        // off; the system's own cache is kept out of its reach.
        static const QTemporaryDir fontCache;
        const QString config = fontCache.filePath(u"fonts.conf"_qs);
        if (!QFile::exists(config)) {
            QFile file(config);
            if (file.open(QIODevice::WriteOnly)) {
                file.write(u"<?xml version=\"1.0\"?><fontconfig><dir>/usr/share/fonts</dir>"
                           "<cachedir>%1</cachedir><include ignore_missing=\"yes\">"
                           "/etc/fonts/conf.d</include></fontconfig>\n"_qs
                               .arg(fontCache.filePath(u"cache"_qs))
                               .toUtf8());
            }
        }
        environment.insert(u"FONTCONFIG_FILE"_qs, config);
        process.setProcessEnvironment(environment);
        // A shell that limits the program before it starts; the arguments follow "$0".
        process.start(u"/bin/sh"_qs, QStringList{u"-c"_qs, shellPrefix + u" exec \"$0\" \"$@\""_qs,
                                                 renderProgram} +
                                         arguments);
    }
    // A pack waits for the disk to confirm each of its 336 files; under Wine on a busy machine
    // that can take minutes, and a slow disk is not a failure of the program.
    if (!process.waitForFinished(300000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    Run result;
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    // Windows ends the program's lines with CR LF; the texts are compared line by line.
    result.out = QString::fromUtf8(process.readAllStandardOutput()).replace(u"\r\n"_qs, u"\n"_qs);
    result.err = QString::fromUtf8(process.readAllStandardError()).replace(u"\r\n"_qs, u"\n"_qs);
    return result;
}

// What a folder holds: each entry's name with a file's bytes (a folder's as "/").
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> held;
    for (const QString& entry : entries(folder)) {
        const QString entryPath = folder + u'/' + entry;
        held.insert(entry, QFileInfo(entryPath).isDir() ? QByteArray("/") : contents(entryPath));
    }
    return held;
}

// Every source pixel must be a factor x factor block at offset in the image.
bool hasBlocksOf(const QImage& image, const QImage& face, int factor, QPoint offset, QString* where)
{
    for (int y = 0; y < face.height() * factor; ++y) {
        for (int x = 0; x < face.width() * factor; ++x) {
            const QRgb got = image.pixel(offset.x() + x, offset.y() + y);
            const QRgb expected = face.pixel(x / factor, y / factor);
            if (got != expected) {
                *where = u"(%1,%2): %3 instead of %4"_qs.arg(offset.x() + x)
                             .arg(offset.y() + y)
                             .arg(got, 8, 16)
                             .arg(expected, 8, 16);
                return false;
            }
        }
    }
    return true;
}

} // namespace

class TestRender : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_folder;

    QString path(const QString& name) const { return m_folder->filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFile::exists(renderProgram), qPrintable(renderProgram));
        // As the renderer does: Qt's texts in Dutch (package qt6-translations-l10n).
        QVERIFY(installQtTranslation());
    }

    // Each test, and each row of a table, starts with an empty folder.
    void init()
    {
        m_folder.emplace();
        QVERIFY(m_folder->isValid());
    }

    // ---- The command line ----

    void accepted_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("task");
        QTest::addColumn<int>("eyes");
        QTest::addColumn<int>("mouth");
        QTest::addColumn<int>("scale");
        QTest::addColumn<int>("fit");
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<int>("format");
        const int face = static_cast<int>(RenderOptions::Task::Face);
        const int png = static_cast<int>(ImageFormat::Png);
        const int bmp = static_cast<int>(ImageFormat::Bmp);
        const int svg = static_cast<int>(ImageFormat::Svg);
        QTest::newRow("defaults") << QStringList{u"-o"_qs, u"a.png"_qs} << face << 0 << 0 << 1 << 0
                                  << false << png;
        QTest::newRow("values") << QStringList{u"--eyes"_qs, u"3"_qs,  u"--mouth"_qs,
                                               u"12"_qs,     u"-o"_qs, u"a.png"_qs}
                                << face << 3 << 12 << 1 << 0 << false << png;
        QTest::newRow("names") << QStringList{u"--eyes"_qs,     u"Knipoog"_qs, u"--mouth"_qs,
                                              u"twijvelend"_qs, u"-o"_qs,      u"a.png"_qs}
                               << face << 3 << 12 << 1 << 0 << false << png;
        QTest::newRow("equals sign") << QStringList{u"--eyes=moe"_qs, u"--output=a.BMP"_qs} << face
                                     << 10 << 0 << 1 << 0 << false << bmp;
        QTest::newRow("scale") << QStringList{u"--scale"_qs, u"64"_qs, u"-o"_qs, u"a.bmp"_qs}
                               << face << 0 << 0 << 64 << 0 << false << bmp;
        QTest::newRow("fit transparent")
            << QStringList{u"--fit"_qs, u"128"_qs, u"--transparent"_qs, u"-o"_qs, u"x/a.PNG"_qs}
            << face << 0 << 0 << 1 << 128 << true << png;
        QTest::newRow("sheet") << QStringList{u"--sheet"_qs, u"-o"_qs, u"s.png"_qs}
                               << static_cast<int>(RenderOptions::Task::Sheet) << 0 << 0 << 4 << 0
                               << false << png;
        QTest::newRow("styles") << QStringList{u"--styles"_qs, u"-o"_qs, u"s.png"_qs}
                                << static_cast<int>(RenderOptions::Task::Styles) << 0 << 0 << 8 << 0
                                << false << png;
        QTest::newRow("svg by name") << QStringList{u"--transparent"_qs, u"-o"_qs, u"a.Svg"_qs}
                                     << face << 0 << 0 << 1 << 0 << true << svg;
        QTest::newRow("svg by option, no extension")
            << QStringList{u"--format=SVG"_qs, u"-o"_qs, u"gezicht"_qs} << face << 0 << 0 << 1 << 0
            << false << svg;
        QTest::newRow("pack") << QStringList{u"--all"_qs, u"--fit=128"_qs, u"-o"_qs, u"map.bmp"_qs}
                              << static_cast<int>(RenderOptions::Task::Pack) << 0 << 0 << 1 << 128
                              << false << png;
        QTest::newRow("list") << QStringList{u"--list"_qs}
                              << static_cast<int>(RenderOptions::Task::List) << 0 << 0 << 1 << 0
                              << false << png;
        QTest::newRow("help wins")
            << QStringList{u"--eyes"_qs, u"99"_qs, u"--help"_qs}
            << static_cast<int>(RenderOptions::Task::Help) << 0 << 0 << 1 << 0 << false << png;
    }
    void accepted()
    {
        QFETCH(QStringList, arguments);
        const ParsedCommandLine parsed = parse(arguments);
        QVERIFY2(parsed.ok(), qPrintable(parsed.message));
        const RenderOptions& options = parsed.options;
        QTEST(static_cast<int>(options.task), "task");
        QTEST(options.eyes, "eyes");
        QTEST(options.mouth, "mouth");
        QTEST(options.scale, "scale");
        QTEST(options.fit, "fit");
        QTEST(options.transparent, "transparent");
        if (options.task != RenderOptions::Task::List &&
            options.task != RenderOptions::Task::Help &&
            options.task != RenderOptions::Task::Version) {
            QTEST(static_cast<int>(options.format), "format");
        }
    }

    // Every kind of wrong command line: status 2 and a Dutch sentence that names the problem.
    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("mentions");
        const QString o = u"-o"_qs;
        const QString png = u"face.png"_qs;
        // The parser's own complaint, in Qt's Dutch.
        QTest::newRow("unknown option")
            << QStringList{u"--colour"_qs, o, png} << u"Onbekende optie: 'colour'"_qs;
        QTest::newRow("stray argument")
            << QStringList{u"blij"_qs, o, png} << u"Onverwacht argument"_qs;
        QTest::newRow("eyes too high")
            << QStringList{u"--eyes"_qs, u"21"_qs, o, png} << u"0 tot 20"_qs;
        QTest::newRow("mouth too high")
            << QStringList{u"--mouth"_qs, u"16"_qs, o, png} << u"0 tot 15"_qs;
        QTest::newRow("scale 0") << QStringList{u"--scale"_qs, u"0"_qs, o, png} << u"1 tot 64"_qs;
        QTest::newRow("scale 65") << QStringList{u"--scale"_qs, u"65"_qs, o, png} << u"1 tot 64"_qs;
        QTest::newRow("scale fraction")
            << QStringList{u"--scale"_qs, u"2.5"_qs, o, png} << u"--scale"_qs;
        QTest::newRow("fit too small")
            << QStringList{u"--fit"_qs, u"18"_qs, o, png} << u"19 tot 1216"_qs;
        QTest::newRow("fit too large")
            << QStringList{u"--fit"_qs, u"1217"_qs, o, png} << u"--fit"_qs;
        QTest::newRow("scale and fit")
            << QStringList{u"--scale"_qs, u"2"_qs, u"--fit"_qs, u"128"_qs, o, png}
            << u"--scale en --fit"_qs;
        QTest::newRow("transparent bmp")
            << QStringList{u"--transparent"_qs, o, u"face.bmp"_qs} << u"PNG of SVG"_qs;
        QTest::newRow("jpeg") << QStringList{o, u"face.jpg"_qs} << u".bmp of .svg"_qs;
        QTest::newRow("extension only in folder")
            << QStringList{o, u"faces.png/face"_qs} << u".bmp of .svg"_qs;
        QTest::newRow("unknown format") << QStringList{u"--format=gif"_qs, o, png} << u"gif"_qs;
        QTest::newRow("format against name")
            << QStringList{u"--format=svg"_qs, o, png} << u"niet op .svg"_qs;
        QTest::newRow("force without pack") << QStringList{u"--force"_qs, o, png} << u"--all"_qs;
        QTest::newRow("pack and eyes")
            << QStringList{u"--all"_qs, u"--eyes=1"_qs, o, u"map"_qs} << u"--eyes"_qs;
        QTest::newRow("no output") << QStringList{u"--eyes"_qs, u"1"_qs} << u"-o"_qs;
        QTest::newRow("eyes twice")
            << QStringList{u"--eyes=1"_qs, u"--eyes=2"_qs, o, png} << u"--eyes is meer dan eens"_qs;
        QTest::newRow("random and eyes")
            << QStringList{u"--random"_qs, u"--eyes"_qs, u"1"_qs, o, png} << u"--random"_qs;
        QTest::newRow("list and output") << QStringList{u"--list"_qs, o, png} << u"--list"_qs;
        QTest::newRow("sheet and eyes")
            << QStringList{u"--sheet"_qs, u"--eyes=1"_qs, o, png} << u"--eyes"_qs;
        QTest::newRow("sheet too large")
            << QStringList{u"--sheet"_qs, u"--scale=17"_qs, o, png} << u"1 tot 16"_qs;
        QTest::newRow("sheet and styles")
            << QStringList{u"--sheet"_qs, u"--styles"_qs, o, png} << u"--styles"_qs;
    }
    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, mentions);
        const ParsedCommandLine parsed = parse(arguments);
        QCOMPARE(parsed.status, ExitStatus::usage);
        QVERIFY2(parsed.message.contains(mentions), qPrintable(parsed.message));
        // Our words, not Qt's English ones.
        for (const QString& english :
             {u"Unknown"_qs, u"Missing"_qs, u"Unexpected"_qs, u"option"_qs, u"value"_qs}) {
            QVERIFY2(!parsed.message.contains(english), qPrintable(parsed.message));
        }
    }

    // ---- The program ----

    // Text that cannot be written out is a failure, not a success.
    void listIntoAFullDiskFails()
    {
#ifndef Q_OS_LINUX
        QSKIP("needs /dev/full and a Posix shell");
#endif
        const Run result = run({u"--list"_qs}, u"exec > /dev/full;"_qs);
        QCOMPARE(result.status, 1);
        QVERIFY2(result.err.contains(u"niet worden geschreven"_qs), qPrintable(result.err));
    }

    // The picture the program writes is the core's composition, pixel for pixel, and each
    // pixel a block of K x K when scaled.
    void faceFromProgram_data()
    {
        QTest::addColumn<QString>("eyes");
        QTest::addColumn<QString>("mouth");
        QTest::addColumn<int>("eyesValue");
        QTest::addColumn<int>("mouthValue");
        QTest::addColumn<int>("scale");
        QTest::addColumn<QString>("file");
        QTest::newRow("blank") << u"0"_qs << u"0"_qs << 0 << 0 << 1 << u"f.png"_qs;
        QTest::newRow("names, row 11") << u"moe"_qs << u"KNIPOOG"_qs << 10 << 5 << 1 << u"f.png"_qs;
        QTest::newRow("stretched mouth x3")
            << u"cool"_qs << u"15"_qs << 6 << 15 << 3 << u"f.png"_qs;
        QTest::newRow("bmp x4") << u"17"_qs << u"rits"_qs << 17 << 14 << 4 << u"f.bmp"_qs;
    }
    void faceFromProgram()
    {
        QFETCH(QString, eyes);
        QFETCH(QString, mouth);
        QFETCH(int, eyesValue);
        QFETCH(int, mouthValue);
        QFETCH(int, scale);
        QFETCH(QString, file);
        const Run result = run({u"--eyes"_qs, eyes, u"--mouth"_qs, mouth, u"--scale"_qs,
                                QString::number(scale), u"-o"_qs, path(file)});
        QCOMPARE(result.status, ExitStatus::success);
        // Nothing but its own words: no note of Qt's.
        QCOMPARE(result.err, QString());

        QImage written(path(file));
        QVERIFY(!written.isNull());
        QVERIFY(!written.hasAlphaChannel());
        written = written.convertToFormat(QImage::Format_RGB32);
        const QImage face = FaceExport::composeFace(eyesValue, mouthValue);
        QCOMPARE(written.size(), face.size() * scale);
        QString where;
        QVERIFY2(hasBlocksOf(written, face, scale, {}, &where), qPrintable(where));
        if (scale == 1) {
            QCOMPARE(written, face);
        }
        QCOMPARE(entries(m_folder->path()), QStringList{file});
    }

    void fitFromProgram_data()
    {
        QTest::addColumn<int>("square");
        QTest::addColumn<bool>("transparent");
        QTest::addColumn<int>("factor");
        QTest::addColumn<int>("offset");
        QTest::newRow("128 transparent") << 128 << true << 6 << 7;
        QTest::newRow("112 opaque") << 112 << false << 5 << 8;
    }
    void fitFromProgram()
    {
        QFETCH(int, square);
        QFETCH(bool, transparent);
        QFETCH(int, factor);
        QFETCH(int, offset);
        QStringList arguments{u"--eyes=knipoog"_qs,    u"--mouth=blij"_qs, u"--fit"_qs,
                              QString::number(square), u"-o"_qs,           path(u"f.png"_qs)};
        if (transparent) {
            arguments << u"--transparent"_qs;
        }
        const Run result = run(arguments);
        QVERIFY2(result.status == ExitStatus::success, qPrintable(result.err));

        QImage written(path(u"f.png"_qs));
        QCOMPARE(written.size(), QSize(square, square));
        QCOMPARE(written.hasAlphaChannel(), transparent);
        written =
            written.convertToFormat(transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        QImage face = FaceExport::composeFace(3, 4);
        if (transparent) {
            face = FaceExport::withTransparency(face);
        }
        QString where;
        QVERIFY2(hasBlocksOf(written, face, factor, {offset, offset}, &where), qPrintable(where));
        const QRgb around = transparent ? 0U : qRgb(255, 255, 255);
        QCOMPARE(written.pixel(0, 0), around);
        QCOMPARE(written.pixel(square - 1, square - 1), around);
        QCOMPARE(written.pixel(offset - 1 + (offset == 0), square / 2), around);
    }

    void randomFace()
    {
        const Run result = run({u"--random"_qs, u"-o"_qs, path(u"r.png"_qs)});
        QVERIFY2(result.status == ExitStatus::success, qPrintable(result.err));
        static const QRegularExpression chosen(
            u"^--eyes (\\d+) --mouth (\\d+) \\(ogen: ([a-z-]+), mond: ([a-z-]+)\\)\n$"_qs);
        const QRegularExpressionMatch match = chosen.match(result.out);
        QVERIFY2(match.hasMatch(), qPrintable(result.out));
        const int eyes = match.captured(1).toInt();
        const int mouth = match.captured(2).toInt();
        // The Random button's ranges: never 0.
        QVERIFY(eyes >= 1 && eyes <= 20);
        QVERIFY(mouth >= 1 && mouth <= 15);
        // The styles by the names the renderer takes.
        const ParsedCommandLine named = parse({u"--eyes"_qs, match.captured(3), u"--mouth"_qs,
                                               match.captured(4), u"-o"_qs, u"r.png"_qs});
        QCOMPARE(named.options.eyes, eyes);
        QCOMPARE(named.options.mouth, mouth);
        QCOMPARE(QImage(path(u"r.png"_qs)).convertToFormat(QImage::Format_RGB32),
                 FaceExport::composeFace(eyes, mouth));
    }

    void sheetFromProgram()
    {
        const Run result = run({u"--sheet"_qs, u"--scale=2"_qs, u"-o"_qs, path(u"s.png"_qs)});
        QVERIFY2(result.status == ExitStatus::success, qPrintable(result.err));
        const QImage sheet = QImage(path(u"s.png"_qs)).convertToFormat(QImage::Format_RGB32);
        QVERIFY(!sheet.isNull());
        QCOMPARE(sheet.size(), combinationSheet(2).size());
        // Eye values as rows, mouth values as columns, each cell its combination enlarged.
        for (int eyes = 0; eyes <= Catalogue::eyeMaximum; ++eyes) {
            for (int mouth = 0; mouth <= Catalogue::mouthMaximum; ++mouth) {
                const QRect cell = combinationCell(2, eyes, mouth);
                QVERIFY(sheet.rect().contains(cell));
                QString where;
                QVERIFY2(hasBlocksOf(sheet.copy(cell), FaceExport::composeFace(eyes, mouth), 2, {},
                                     &where),
                         qPrintable(u"eyes %1, mouth %2 %3"_qs.arg(eyes).arg(mouth).arg(where)));
            }
        }
        // The cells lie below a header row and right of a header column, in order.
        QVERIFY(combinationCell(2, 0, 0).top() > 0);
        QVERIFY(combinationCell(2, 0, 0).left() > 0);
        QVERIFY(combinationCell(2, 1, 0).top() > combinationCell(2, 0, 0).bottom());
        QVERIFY(combinationCell(2, 0, 1).left() > combinationCell(2, 0, 0).right());
    }

    // A pack appears whole, and only where nothing is lost: a new name, or with --force an
    // earlier pack and nothing else. A write that fails at the last file (the index, larger
    // than the faces under the file size limit) leaves nothing; a folder that is there is
    // left as it was, down to its bytes, and the message names the folder and what in it is
    // not the pack's. The new folder has the permissions a folder made by the user would have.
    void pack_data()
    {
        // What is there first: "pack" an earlier pack, "NAME/" a folder, else a file (the
        // user's own index.csv where it is called so); nothing at all where empty.
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QString>("shellPrefix");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("mentions");
        const QStringList force{u"--force"_qs};
        QTest::newRow("new") << QStringList() << QStringList() << QString() << 0 << QString();
        QTest::newRow("new, umask 077")
            << QStringList() << QStringList() << u"umask 077;"_qs << 0 << QString();
        QTest::newRow("index cannot be written")
            << QStringList() << QStringList() << u"trap '' XFSZ; ulimit -f 8;"_qs << 1 << QString();
        QTest::newRow("earlier pack")
            << QStringList{u"pack"_qs} << QStringList() << QString() << 1 << u"--force"_qs;
        QTest::newRow("earlier pack, --force")
            << QStringList{u"pack"_qs} << force << QString() << 0 << QString();
        QTest::newRow("other folder, --force")
            << QStringList{u"foto.jpg"_qs} << force << QString() << 1 << u"foto.jpg"_qs;
        QTest::newRow("the user's own index.csv, --force")
            << QStringList{u"index.csv"_qs, u"notities.txt"_qs} << force << QString() << 1
            << u"index.csv"_qs;
        QTest::newRow("earlier pack and a file of the user's, --force")
            << QStringList{u"pack"_qs, u"notities.txt"_qs} << force << QString() << 1
            << u"notities.txt"_qs;
        QTest::newRow("earlier pack and a folder of the user's, --force")
            << QStringList{u"pack"_qs, u"eigen/"_qs} << force << QString() << 1 << u"eigen"_qs;
    }
    void pack()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, extra);
        QFETCH(QString, shellPrefix);
        QFETCH(int, status);
        QFETCH(QString, mentions);
#ifndef Q_OS_LINUX
        if (!shellPrefix.isEmpty()) {
            QSKIP("needs a Posix shell's limit on the file size (ulimit -f) and umask");
        }
#endif
        const QString folder = path(u"emoji"_qs);
        for (const QString& thing : before) {
            if (thing == u"pack") {
                QCOMPARE(run({u"--all"_qs, u"--format=svg"_qs, u"-o"_qs, folder}).status, 0);
            } else if (thing.endsWith(u'/')) {
                QVERIFY(QDir().mkpath(folder + u'/' + thing));
            } else {
                QVERIFY(QDir().mkpath(folder));
                QFile file(folder + u'/' + thing);
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(thing == u"index.csv" ? "naam;bedrag\nhuur;800\n" : "van mij\n");
            }
        }
        const QMap<QString, QByteArray> old = snapshot(folder);

        const Run result =
            run(QStringList{u"--all"_qs, u"--eyes-last"_qs, u"-o"_qs, folder} + extra, shellPrefix);
        QCOMPARE(result.status, status);
        QCOMPARE(entries(m_folder->path()),
                 status == 0 || !before.isEmpty() ? QStringList{u"emoji"_qs} : QStringList());
        if (status != 0) {
            QCOMPARE(snapshot(folder), old);
            if (!before.isEmpty()) {
                QVERIFY2(result.err.contains(u"\"%1\""_qs.arg(folder)), qPrintable(result.err));
                QVERIFY2(result.err.contains(mentions), qPrintable(result.err));
            }
            return;
        }
        QCOMPARE(result.err, QString()); // no progress where no one watches
#ifdef Q_OS_UNIX
        // As a folder that the user makes with the same umask.
        const QTemporaryDir reference;
        QProcess mkdir;
        mkdir.start(u"/bin/sh"_qs,
                    {u"-c"_qs, shellPrefix + u" mkdir \"$0\""_qs, reference.filePath(u"map"_qs)});
        QVERIFY(mkdir.waitForFinished() && mkdir.exitCode() == 0);
        QCOMPARE(QFileInfo(folder).permissions(),
                 QFileInfo(reference.filePath(u"map"_qs)).permissions());
#endif
        QFile index(folder + u"/index.csv"_qs);
        QVERIFY(index.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lines =
            QString::fromUtf8(index.readAll()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + 21 * 16);
        QVERIFY(lines.contains(u"knipoog-blij,3,4,knipoog-blij.png"_qs));
        QStringList files{u"index.csv"_qs};
        for (const QString& line : lines.mid(1)) {
            const QStringList field = line.split(u',');
            files << field.at(3);
            const QImage face = FaceExport::composeFace(field.at(1).toInt(), field.at(2).toInt(),
                                                        FaceExport::DrawingOrder::EyesLast);
            QCOMPARE(QImage(folder + u'/' + field.at(3)).convertToFormat(QImage::Format_RGB32),
                     face);
        }
        files.sort();
        QCOMPARE(entries(folder), files);
    }

    // Stopped in the middle (Ctrl+C, SIGTERM, a closed terminal), a pack leaves no trace: the
    // program clears up and then ends by the signal itself, and an earlier pack that --force
    // would have replaced stays as it was.
    void interruptedPack_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("earlier");
#ifdef Q_OS_UNIX
        QTest::newRow("Ctrl+C (SIGINT), new") << SIGINT << false;
        QTest::newRow("SIGTERM, over an earlier pack") << SIGTERM << true;
        QTest::newRow("closed terminal (SIGHUP), new") << SIGHUP << false;
#endif
    }
    void interruptedPack()
    {
#ifndef Q_OS_UNIX
        QSKIP("sends Posix signals");
#else
        QFETCH(int, signal);
        QFETCH(bool, earlier);
        const QString folder = path(u"emoji"_qs);
        if (earlier) {
            QCOMPARE(run({u"--all"_qs, u"--format=svg"_qs, u"-o"_qs, folder}).status, 0);
        }
        const QMap<QString, QByteArray> old = snapshot(folder);

        // Large faces, so that the pack takes a while.
        QProcess process;
        process.start(renderProgram, QStringList{u"--all"_qs, u"--scale=64"_qs, u"-o"_qs, folder} +
                                         (earlier ? QStringList{u"--force"_qs} : QStringList()));
        QVERIFY(process.waitForStarted());
        // Once the first faces are in the staged folder beside the target, the pack is under
        // way.
        const auto underWay = [&] {
            for (const QString& entry : entries(m_folder->path())) {
                if (entry.startsWith(u".emoji."_qs) && !entries(path(entry)).isEmpty()) {
                    return true;
                }
            }
            return false;
        };
        QDeadlineTimer deadline(60000);
        while (!underWay() && process.state() == QProcess::Running && !deadline.hasExpired()) {
            QThread::msleep(2);
        }
        QVERIFY2(underWay(), "the pack never got under way");
        QCOMPARE(::kill(static_cast<pid_t>(process.processId()), signal), 0);

        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(entries(m_folder->path()), earlier ? QStringList{u"emoji"_qs} : QStringList());
        QCOMPARE(snapshot(folder), old);
        QCOMPARE(process.exitStatus(), QProcess::CrashExit);
        QCOMPARE(process.exitCode(), signal);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(err.contains(u"Afgebroken"_qs), qPrintable(err));
#endif
    }

    void listFromProgram()
    {
        const Run result = run({u"--list"_qs});
        QCOMPARE(result.status, ExitStatus::success);
        const QStringList lines = result.out.split(u'\n', Qt::SkipEmptyParts);
        // Every eye style, 0 to 20, then every mouth style, 0 to 15, one a line.
        QCOMPARE(lines.size(), 21 + 16);
        QCOMPARE(lines.at(0), u"ogen  0  geen"_qs);
        QCOMPARE(lines.at(5), u"ogen  5  tong-uit"_qs);
        QCOMPARE(lines.at(21 + 12), u"mond 12  twijfelend"_qs);
        QCOMPARE(lines.last(), u"mond 15  bozer"_qs);
    }

    void helpAndVersion()
    {
        const Run help = run({u"--help"_qs});
        QCOMPARE(help.status, ExitStatus::success);
        // Qt's headings in Dutch, the options in ours.
        QVERIFY(help.out.startsWith(u"Gebruik: "_qs));
        QVERIFY(help.out.contains(u"\nOpties:\n"_qs));
        QVERIFY(help.out.contains(u"--transparent"_qs));
        const Run version = run({u"--version"_qs});
        QCOMPARE(version.status, ExitStatus::success);
        QVERIFY(version.out.startsWith(u"snoetjesmal-render 1."_qs));
    }

    void usageErrorFromProgram_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("extension") << QStringList{u"-o"_qs, u"f.gif"_qs} << u".bmp of .svg"_qs;
        // The renderer loads Qt's Dutch itself.
        QTest::newRow("unknown option") << QStringList{u"--kleur=geel"_qs, u"-o"_qs, u"f.png"_qs}
                                        << u"Onbekende optie: 'kleur'"_qs;
    }
    void usageErrorFromProgram()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, mentions);
        // The output, wherever named, goes into the test folder.
        const qsizetype at = arguments.indexOf(u"-o"_qs);
        arguments[at + 1] = path(arguments.at(at + 1));
        const Run result = run(arguments);
        QCOMPARE(result.status, ExitStatus::usage);
        QVERIFY(result.err.contains(u"snoetjesmal-render: "_qs));
        QVERIFY2(result.err.contains(mentions), qPrintable(result.err));
        QVERIFY(result.err.contains(u"--help"_qs));
        QVERIFY(result.out.isEmpty());
        QVERIFY(entries(m_folder->path()).isEmpty());
    }

    // A usage error never touches a file that is there.
    void usageErrorKeepsExistingFile()
    {
        QFile existing(path(u"f.bmp"_qs));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("old bytes");
        existing.close();
        const Run result = run({u"--transparent"_qs, u"-o"_qs, path(u"f.bmp"_qs)});
        QCOMPARE(result.status, ExitStatus::usage);
        QVERIFY(existing.open(QIODevice::ReadOnly));
        QCOMPARE(existing.readAll(), QByteArray("old bytes"));
    }

    // A write that fails: status 1, a Dutch message, and nothing left behind.
    void failedWrite_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("prepare"); // "file": a regular file; "folder": a folder
        QTest::addColumn<QString>("prepared");
        QTest::newRow("missing folder png") << u"nope/f.png"_qs << QString() << QString();
        QTest::newRow("under a file bmp") << u"plain/f.bmp"_qs << u"file"_qs << u"plain"_qs;
        QTest::newRow("folder of that name png") << u"f.png"_qs << u"folder"_qs << u"f.png"_qs;
    }
    void failedWrite()
    {
        QFETCH(QString, target);
        QFETCH(QString, prepare);
        QFETCH(QString, prepared);
        if (prepare == u"file") {
            QFile file(path(prepared));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a folder");
        } else if (prepare == u"folder") {
            QVERIFY(QDir(m_folder->path()).mkdir(prepared));
        }
        const QStringList before = entries(m_folder->path());

        const Run result = run({u"--eyes=1"_qs, u"--mouth=1"_qs, u"-o"_qs, path(target)});
        QCOMPARE(result.status, ExitStatus::writeFailed);
        QVERIFY2(result.err.contains(u"niet geschreven"_qs), qPrintable(result.err));
        QCOMPARE(entries(m_folder->path()), before);
        if (prepare == u"folder") {
            QVERIFY(QFileInfo(path(prepared)).isDir());
            QVERIFY(entries(path(prepared)).isEmpty());
        }
    }

    // Running out of memory anywhere (making the picture, or encoding it) is reported like
    // any other failure, never by the C++ runtime's "terminate". The process gets less
    // address space than a sheet needs: first the least it succeeds with is sought, then
    // every limit a little below it, where the allocations that fail move through the work.
    void outOfMemoryIsReported()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("AddressSanitizer reserves more address space than any limit allows");
#elif !defined(Q_OS_LINUX)
        QSKIP("needs a Posix shell's limit on the address space (ulimit -v)");
#else
        // A sheet large enough that near the limit the allocations that fail are the
        // picture's own, far above what starting the program and its libraries needs.
        const QStringList arguments{u"--sheet"_qs, u"--scale=8"_qs, u"-o"_qs, path(u"s.png"_qs)};
        const auto limited = [&](int mebibytes) {
            return run(arguments, u"ulimit -v %1;"_qs.arg(mebibytes * 1024));
        };
        int failing = 64;
        int working = 1024;
        QCOMPARE(limited(working).status, ExitStatus::success);
        while (working - failing > 1) {
            const int middle = (failing + working) / 2;
            (limited(middle).status == ExitStatus::success ? working : failing) = middle;
        }
        // How much address space a run needs varies a little from run to run, so a limit
        // just below the one found may still suffice now and then. What must never happen is
        // an exception that nothing catches (the runtime's "terminate"); a
        // library that itself breaks down when memory runs out (fontconfig, Qt's glyph
        // cache) is beyond the program, but some runs must end in the program's own report.
        int failures = 0;
        for (int mebibytes = working - 1; mebibytes >= working - 12; --mebibytes) {
            const Run result = limited(mebibytes);
            const QString context = u"%1 MiB: %2"_qs.arg(mebibytes).arg(result.err);
            QVERIFY2(!result.err.contains(u"terminate"_qs), qPrintable(context));
            if (result.status == ExitStatus::writeFailed) {
                ++failures;
                QVERIFY2(result.err.contains(u"snoetjesmal-render: "_qs), qPrintable(context));
            }
        }
        QVERIFY(failures > 0);
#endif
    }

    // A write that breaks off part-way (the file size limit of the process is 0): the old
    // file keeps its bytes and no temporary file is left beside it.
    void interruptedWriteKeepsOldFile()
    {
#ifndef Q_OS_LINUX
        QSKIP("needs a Posix shell's limit on the file size (ulimit -f)");
#endif
        const QString file = u"f.png"_qs;
        const Run first = run({u"--eyes=1"_qs, u"-o"_qs, path(file)});
        QCOMPARE(first.status, ExitStatus::success);
        const QByteArray before = contents(path(file));

        const Run result =
            run({u"--eyes=2"_qs, u"--mouth=3"_qs, u"--scale=8"_qs, u"-o"_qs, path(file)},
                u"trap '' XFSZ; ulimit -f 0;"_qs);
        QCOMPARE(result.status, ExitStatus::writeFailed);
        QVERIFY2(result.err.contains(u"niet geschreven"_qs), qPrintable(result.err));
        QCOMPARE(contents(path(file)), before);
        QCOMPARE(entries(m_folder->path()), QStringList{file});
    }
};

QTEST_MAIN(TestRender)
#include "tst_render.moc"
