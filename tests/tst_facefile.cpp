// Writing a face as a BMP file: the bytes, the atomic replacement, and what happens when the
// disk refuses. The faults are real: a full and a read-only file system are small tmpfs
// mounts in a private mount namespace (unshare), and a folder without write permission is
// tried as the user "nobody" (setpriv) when the tests run as root, as root ignores file
// permissions. Where that cannot be arranged the test says so and is skipped.

#include "bmpencoding.h"
#include "facefile.h"
#include "savetarget.h"

#include "folderfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#ifdef Q_OS_LINUX
#include <pwd.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

namespace {

const QString fileName = QStringLiteral("emoticon.bmp");

// Two faces that differ in every pixel, and in a few pixels within themselves.
QImage face(QRgb base)
{
    QImage image(19, 19, QImage::Format_RGB32);
    image.fill(base);
    image.setPixel(0, 0, qRgb(255, 0, 0));
    image.setPixel(18, 0, qRgb(0, 255, 0));
    image.setPixel(0, 18, qRgb(0, 0, 255));
    image.setPixel(9, 11, qRgb(1, 2, 3));
    return image;
}

QImage oldFace()
{
    return face(qRgb(255, 221, 0));
}

QImage newFace()
{
    return face(qRgb(30, 60, 90));
}

#ifdef Q_OS_LINUX

// The half of a fault test that runs in a child process: in its own mount namespace (a
// full or read-only tmpfs), or as another user. It reports on stdout, one "key=value" a
// line, what the write returned and what is left on the disk, since a namespace's mounts
// are gone once it ends. Exit code 0: reported; 3: the fault could not be set up.
int faultChild(const QString& scenario, const QString& folder)
{
    const QString path = folder + QLatin1Char('/') + fileName;
    const QByteArray native = QFile::encodeName(folder);
    auto setupFailed = [](const char* what) {
        std::fprintf(stderr, "%s: %s\n", what, std::strerror(errno));
        return 3;
    };

    if (scenario == u"full"_qs || scenario == u"readonly"_qs) {
        if (::mount("tmpfs", native.constData(), "tmpfs", 0, "size=64k,nr_inodes=64") != 0) {
            return setupFailed("mount tmpfs");
        }
        if (!writeFaceFile(path, oldFace())) {
            return setupFailed("writing the first file");
        }
    }
    if (scenario == u"full"_qs) {
        // Fill every block that is left.
        QFile filler(folder + u"/filler"_qs);
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            return setupFailed("opening the filler");
        }
        const QByteArray block(4096, 'f');
        while (filler.write(block) > 0) {
        }
        filler.close();
    }
    if (scenario == u"readonly"_qs &&
        ::mount(nullptr, native.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0) {
        return setupFailed("remount read-only");
    }

    const FaceFileResult result = writeFaceFile(path, newFace());
    std::printf("ok=%d\n", result.ok ? 1 : 0);
    std::printf("reason=%s\n", result.reason.toUtf8().constData());
    std::printf("old=%s\n", contents(path).toBase64().constData());
    std::printf("entries=%s\n", entries(folder).join(u'|').toUtf8().constData());
    return 0;
}

struct ChildReport
{
    bool ran = false;
    QString whyNot; // when it did not run
    QHash<QString, QString> values;
};

ChildReport runChild(const QString& program, QStringList arguments)
{
    ChildReport report;
    QProcess child;
    child.start(program, arguments);
    if (!child.waitForStarted() || !child.waitForFinished(60000)) {
        report.whyNot = program + u" could not be run: "_qs + child.errorString();
        return report;
    }
    if (child.exitStatus() != QProcess::NormalExit) {
        // A crash is a fault of ours, not of the set-up.
        report.ran = true;
        report.values.insert(u"crash"_qs, QString::fromLocal8Bit(child.readAllStandardError()));
        return report;
    }
    if (child.exitCode() != 0) {
        report.whyNot = QStringLiteral("%1 %2 ended with %3: %4")
                            .arg(program, arguments.join(u' '))
                            .arg(child.exitCode())
                            .arg(QString::fromLocal8Bit(child.readAllStandardError()).trimmed());
        return report;
    }
    report.ran = true;
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split(u'\n');
    for (const QString& line : lines) {
        const qsizetype at = line.indexOf(u'=');
        if (at > 0) {
            report.values.insert(line.left(at), line.mid(at + 1));
        }
    }
    return report;
}

#endif

} // namespace

class TestFaceFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        setFaceFileWriter({});
        m_dir.emplace();
        QVERIFY(m_dir->isValid());
        m_folder = m_dir->path();
        m_path = m_folder + QLatin1Char('/') + fileName;
    }

    void writesA24BitBmpOfExactlyThePixels()
    {
        const QImage image = newFace();
        const FaceFileResult result = writeFaceFile(m_path, image);
        QVERIFY2(result.ok, qPrintable(result.reason));
        QVERIFY(result.reason.isEmpty());

        const QByteArray bytes = contents(m_path);
        QCOMPARE(bytes, encodeBmp(image));
        QVERIFY(bytes.startsWith("BM"));
        QCOMPARE(static_cast<int>(bytes.at(28)), 24); // bits a pixel
        // 54 bytes of headers, 19 rows of 57 bytes padded to 60.
        QCOMPARE(bytes.size(), 54 + 19 * 60);

        QImage back;
        QVERIFY(back.load(m_path, "BMP"));
        QCOMPARE(back.size(), image.size());
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                QCOMPARE(back.pixel(x, y) | 0xff000000U, image.pixel(x, y) | 0xff000000U);
            }
        }
        QCOMPARE(entries(m_folder), QStringList{fileName});
    }

    void replacesAnExistingFileWhole()
    {
        QVERIFY(writeFaceFile(m_path, oldFace()));
        QVERIFY(
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        const FaceFileResult result = writeFaceFile(m_path, newFace());
        QVERIFY2(result.ok, qPrintable(result.reason));
        QCOMPARE(contents(m_path), encodeBmp(newFace()));
        QCOMPARE(entries(m_folder), QStringList{fileName});
        // The new file keeps the permissions the old one had.
        QCOMPARE(QFile::permissions(m_path) & (QFile::ReadGroup | QFile::ReadOther),
                 QFile::ReadGroup);
    }

    void namesAreWrittenExactly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("hidden") << u".bmp"_qs;
        QTest::newRow("wildcards") << u"*?[a].bmp"_qs;
        QTest::newRow("spaces") << u"  blij  .bmp"_qs;
        // QSaveFile takes six X's in a name as the pattern for its temporary name.
        QTest::newRow("temporary pattern") << u"XXXXXX.bmp"_qs;
        QTest::newRow("long pattern") << u"foto-XXXXXXXX.bmp"_qs;
        QTest::newRow("accents") << u"gezichtje é ü.bmp"_qs;
    }

    void namesAreWrittenExactly()
    {
        QFETCH(QString, name);
        QVERIFY(writeFaceFile(m_folder + QLatin1Char('/') + name, newFace()));
        QCOMPARE(entries(m_folder), QStringList{name});
        QCOMPARE(contents(m_folder + QLatin1Char('/') + name), encodeBmp(newFace()));
    }

    void theLongestAcceptedNameCanBeWritten()
    {
        const QString folder = m_folder + QLatin1Char('/');
        const int longest = SaveTarget::maxFileNameLength(folder) - 4;
        const SaveTarget::FullName name = SaveTarget::fullName(folder, QString(longest, u'a'));
        QVERIFY2(name.isValid(), qPrintable(name.refusal));
        QVERIFY(writeFaceFile(name.path, oldFace()));
        // and replaced.
        const FaceFileResult result = writeFaceFile(name.path, newFace());
        QVERIFY2(result.ok, qPrintable(result.reason));
        QCOMPARE(contents(name.path), encodeBmp(newFace()));
        QCOMPARE(entries(m_folder), QStringList{QString(longest, u'a') + u".bmp"_qs});
    }

#ifdef Q_OS_LINUX
    void aNameWithoutRoomForTheTemporaryNameFailsCleanly()
    {
        // 250 bytes is a legal name on ext4 and tmpfs, and a new file gets it. Replacing
        // that file goes through a temporary name 7 bytes longer, which is not legal.
        const QString path = m_folder + QLatin1Char('/') + QString(246, u'a') + u".bmp"_qs;
        QVERIFY(writeFaceFile(path, oldFace()));
        const FaceFileResult result = writeFaceFile(path, newFace());
        QVERIFY(!result.ok);
        QCOMPARE(result.reason, u"De bestandsnaam of het pad is te lang."_qs);
        QCOMPARE(contents(path), encodeBmp(oldFace()));
        QCOMPARE(entries(m_folder), QStringList{QFileInfo(path).fileName()});
        // Which is why the name check leaves room for it.
        QVERIFY(!SaveTarget::fullName(m_folder + QLatin1Char('/'), QString(246, u'a')).isValid());
    }
#endif

    void aMissingFolderFails()
    {
        const QString path = m_folder + u"/weg/"_qs + fileName;
        const FaceFileResult result = writeFaceFile(path, newFace());
        QVERIFY(!result.ok);
        QCOMPARE(result.reason, u"Opgegeven map bestaat niet."_qs);
        QVERIFY(entries(m_folder).isEmpty());
    }

    // A folder that exists but takes no files (a kernel file system) is not reported as gone.
    void aFolderThatTakesNoFilesIsNotCalledGone()
    {
        if (!QFileInfo(u"/proc"_qs).isDir()) {
            QSKIP("this system has no /proc");
        }
        const FaceFileResult result = writeFaceFile(u"/proc/snoetjesmal-test.bmp"_qs, newFace());
        QVERIFY(!result.ok);
        QVERIFY2(result.reason != u"Opgegeven map bestaat niet."_qs, qPrintable(result.reason));
    }

    void aFolderOfThatNameIsLeftAlone()
    {
        QVERIFY(QDir(m_folder).mkdir(fileName));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), m_path + u"/inhoud"_qs));
        const FaceFileResult result = writeFaceFile(m_path, newFace());
        QVERIFY(!result.ok);
        QVERIFY2(result.reason.contains(u"map"_qs), qPrintable(result.reason));
        QVERIFY(QFileInfo(m_path).isDir());
        QCOMPARE(entries(m_path), QStringList{u"inhoud"_qs});
        QCOMPARE(entries(m_folder), QStringList{fileName});
    }

    void aNullImageWritesNothing()
    {
        QVERIFY(writeFaceFile(m_path, oldFace()));
        const FaceFileResult result = writeFaceFile(m_path, QImage());
        QVERIFY(!result.ok);
        QVERIFY(!result.reason.isEmpty());
        QCOMPARE(contents(m_path), encodeBmp(oldFace()));
        QCOMPARE(entries(m_folder), QStringList{fileName});
    }

    void aReplacementWriterTakesOver()
    {
        QStringList asked;
        setFaceFileWriter([&](const QString& path, const QImage&) {
            asked << path;
            return FaceFileResult{false, u"proef"_qs};
        });
        const FaceFileResult result = writeFaceFile(m_path, newFace());
        QCOMPARE(result.reason, u"proef"_qs);
        QCOMPARE(asked, QStringList{m_path});
        QVERIFY(entries(m_folder).isEmpty());

        setFaceFileWriter({});
        QVERIFY(writeFaceFile(m_path, newFace()));
        QCOMPARE(asked.size(), 1);
    }

#ifdef Q_OS_LINUX
    void faults_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full disk") << u"full"_qs << u"De schijf is vol."_qs;
        QTest::newRow("read-only medium")
            << u"readonly"_qs << u"Op deze schijf kan alleen gelezen worden (schrijfbeveiligd)."_qs;
    }

    // The old file keeps its bytes, nothing else is left, and the reason says what happened.
    void faults()
    {
        QFETCH(QString, scenario);
        QFETCH(QString, reason);

        const QString unshare = QStandardPaths::findExecutable(u"unshare"_qs);
        if (unshare.isEmpty()) {
            QSKIP("unshare is not installed, so no file system can be mounted for this test");
        }
        // As root a private mount namespace is enough; others need a user namespace too.
        QStringList arguments{u"--mount"_qs};
        if (::geteuid() != 0) {
            arguments.prepend(u"--map-root-user"_qs);
        }
        arguments << QCoreApplication::applicationFilePath() << u"--fault-child"_qs << scenario
                  << m_folder;
        const ChildReport report = runChild(unshare, arguments);
        if (!report.ran) {
            QSKIP(qPrintable(u"no private mount namespace here: "_qs + report.whyNot));
        }
        QVERIFY2(!report.values.contains(u"crash"_qs),
                 qPrintable(report.values.value(u"crash"_qs)));
        QCOMPARE(report.values.value(u"ok"_qs), u"0"_qs);
        QCOMPARE(report.values.value(u"reason"_qs), reason);
        QCOMPARE(QByteArray::fromBase64(report.values.value(u"old"_qs).toLatin1()),
                 encodeBmp(oldFace()));
        const QString left = scenario == u"full"_qs ? u"emoticon.bmp|filler"_qs : fileName;
        QCOMPARE(report.values.value(u"entries"_qs), left);
        // The mount was private: nothing of it shows here.
        QVERIFY(entries(m_folder).isEmpty());
    }

    void aFolderWithoutWritePermission()
    {
        const QString folder = m_folder + u"/alleen-lezen"_qs;
        const QString path = folder + QLatin1Char('/') + fileName;
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(writeFaceFile(path, oldFace()));
        const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                            QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(folder, readOnly));
        const auto restore =
            qScopeGuard([&] { QFile::setPermissions(folder, readOnly | QFile::WriteOwner); });

        QString reason;
        if (::geteuid() != 0) {
            const FaceFileResult result = writeFaceFile(path, newFace());
            QVERIFY(!result.ok);
            reason = result.reason;
        } else {
            // Root writes anywhere; the write is tried by "nobody" instead.
            const QString setpriv = QStandardPaths::findExecutable(u"setpriv"_qs);
            const passwd* nobody = ::getpwnam("nobody");
            if (setpriv.isEmpty() || nobody == nullptr) {
                QSKIP("running as root without setpriv or a user \"nobody\": a folder "
                      "without write permission cannot be tried");
            }
            // nobody must reach the folder.
            QVERIFY(QFile::setPermissions(m_folder, readOnly | QFile::WriteOwner));
            const ChildReport report =
                runChild(setpriv, {u"--reuid=%1"_qs.arg(nobody->pw_uid),
                                   u"--regid=%1"_qs.arg(nobody->pw_gid), u"--clear-groups"_qs,
                                   QCoreApplication::applicationFilePath(), u"--fault-child"_qs,
                                   u"permission"_qs, folder});
            if (!report.ran) {
                QSKIP(qPrintable(u"cannot run this test program as nobody: "_qs + report.whyNot));
            }
            QVERIFY2(!report.values.contains(u"crash"_qs),
                     qPrintable(report.values.value(u"crash"_qs)));
            QCOMPARE(report.values.value(u"ok"_qs), u"0"_qs);
            reason = report.values.value(u"reason"_qs);
        }
        QCOMPARE(reason, u"Je hebt geen toestemming om op deze plek een bestand op te slaan."_qs);
        QCOMPARE(contents(path), encodeBmp(oldFace()));
        QCOMPARE(entries(folder), QStringList{fileName});
    }
#endif

private:
    std::optional<QTemporaryDir> m_dir;
    QString m_folder;
    QString m_path;
};

int main(int argc, char* argv[])
{
#ifdef Q_OS_LINUX
    if (argc == 4 && std::strcmp(argv[1], "--fault-child") == 0) {
        QCoreApplication app(argc, argv);
        return faultChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
#endif
    QCoreApplication app(argc, argv);
    TestFaceFile test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_facefile.moc"
