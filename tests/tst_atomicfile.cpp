// Writing a file all or nothing: the bytes, a new file that never replaces one that is
// there, the atomic replacement, names as long as the file system takes, and what happens
// when the disk refuses. The faults are real: a full and a read-only file system are small tmpfs
// mounts in a private mount namespace (unshare), and a folder without write permission is
// tried as the user "nobody" (setpriv) when the tests run as root, as root ignores file
// permissions. Where that cannot be arranged the test says so and is skipped.

#include "atomicfile.h"
#include "fileprobe.h"
#include "imageencoding.h"

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
#include <memory>
#include <optional>

#ifdef Q_OS_WIN
#include "windows/heldopen.h"

#include <qt_windows.h>
#endif

#ifdef Q_OS_LINUX
#include <pwd.h>
#include <sys/mount.h>
#include <unistd.h>
#endif

Q_DECLARE_METATYPE(WriteProblem)

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

WriteResult writeFace(const QString& path, const QImage& image, WriteMode mode = WriteMode::Replace)
{
    return writeBmpFile(path, image, mode);
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
        if (!writeFace(path, oldFace())) {
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

    const WriteResult result = writeFace(path, newFace());
    std::printf("problem=%d\n", static_cast<int>(result.problem));
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

class TestAtomicFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        QVERIFY(m_dir->isValid());
        m_folder = m_dir->path();
        m_path = m_folder + QLatin1Char('/') + fileName;
    }

    void writesA24BitBmpOfExactlyThePixels()
    {
        const QImage image = newFace();
        const WriteResult result = writeFace(m_path, image, WriteMode::CreateNew);
        QVERIFY(result.ok());

        const QByteArray bytes = contents(m_path);
        QVERIFY(bytes.startsWith("BM"));
        QCOMPARE(static_cast<int>(bytes.at(28)), 24); // bits a pixel
        // 54 bytes of headers, 19 rows of 57 bytes padded to 60.
        QCOMPARE(bytes.size(), 54 + 19 * 60);
        QVERIFY(isBmpOf(bytes, image));
        QCOMPARE(entries(m_folder), QStringList{fileName});
    }

    void replacesAnExistingFileWhole()
    {
        QVERIFY(writeFace(m_path, oldFace()));
#ifdef Q_OS_UNIX
        QVERIFY(
            QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
#endif
        const WriteResult result = writeFace(m_path, newFace(), WriteMode::Replace);
        QVERIFY(result.ok());
        QVERIFY(isBmpOf(contents(m_path), newFace()));
        QCOMPARE(entries(m_folder), QStringList{fileName});
#ifdef Q_OS_UNIX
        // The new file keeps the permissions the old one had (Windows has no group bits).
        QCOMPARE(QFile::permissions(m_path) & (QFile::ReadGroup | QFile::ReadOther),
                 QFile::ReadGroup);
#endif
    }

    void createNewNeverReplaces_data()
    {
        QTest::addColumn<QString>("present");
        QTest::newRow("a file") << u"file"_qs;
        QTest::newRow("a folder") << u"folder"_qs;
#ifdef Q_OS_UNIX
        QTest::newRow("a link to nothing") << u"dangling"_qs;
#endif
    }

    // The name was free when the caller looked, but something took it before the write: it
    // stays as it is, and the caller hears that the name is taken.
    void createNewNeverReplaces()
    {
        QFETCH(QString, present);
        if (present == u"file"_qs) {
            QVERIFY(writeFace(m_path, oldFace()));
        } else if (present == u"folder"_qs) {
            QVERIFY(QDir(m_folder).mkdir(fileName));
        } else {
            QVERIFY(QFile::link(m_folder + u"/nergens"_qs, m_path));
        }
        const QFileInfo before(m_path);
        const WriteResult result = writeFace(m_path, newFace(), WriteMode::CreateNew);
        QCOMPARE(result.problem, WriteProblem::AlreadyExists);
        QCOMPARE(entries(m_folder), QStringList{fileName});
        if (present == u"file"_qs) {
            QVERIFY(isBmpOf(contents(m_path), oldFace()));
        } else if (present == u"folder"_qs) {
            QVERIFY(QFileInfo(m_path).isDir());
        } else {
            QCOMPARE(QFileInfo(m_path).symLinkTarget(), before.symLinkTarget());
        }
    }

    void namesAreWrittenExactly_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("hidden") << u".bmp"_qs;
#ifdef Q_OS_WIN
        // No '*' or '?' on Windows; a name like a short name or a variable is written as is.
        QTest::newRow("short-name and variable look") << u"EMOTIC~1 %TEMP% [a].bmp"_qs;
#else
        QTest::newRow("wildcards") << u"*?[a].bmp"_qs;
#endif
        QTest::newRow("spaces") << u"  blij  .bmp"_qs;
        QTest::newRow("like a temporary name") << u".~smaaaaaa"_qs;
        QTest::newRow("accents") << u"gezichtje é ü.bmp"_qs;
    }

    void namesAreWrittenExactly()
    {
        QFETCH(QString, name);
        const QString path = m_folder + QLatin1Char('/') + name;
        QVERIFY(writeFace(path, newFace(), WriteMode::CreateNew));
        QCOMPARE(entries(m_folder), QStringList{name});
        QVERIFY(isBmpOf(contents(path), newFace()));
    }

    // Every name the file system holds is written and replaced, the longest too: the
    // temporary file has a short name of its own, not the target's name with more after it.
    void theLongestNameIsWrittenAndReplaced()
    {
        const qsizetype longest = FileProbe::nameLimits(m_folder).nameMax;
        const QString name = QString(longest - 4, u'a') + u".bmp"_qs;
        const QString path = m_folder + QLatin1Char('/') + name;
        QVERIFY(writeFace(path, oldFace(), WriteMode::CreateNew));
        const WriteResult result = writeFace(path, newFace(), WriteMode::Replace);
        QCOMPARE(result.problem, WriteProblem::None);
        QVERIFY(isBmpOf(contents(path), newFace()));
        QCOMPARE(entries(m_folder), QStringList{name});
        // One byte more is more than the file system takes, and nothing is left behind.
        const WriteResult tooLong = writeFace(m_folder + u"/b"_qs + name, newFace());
        QCOMPARE(tooLong.problem, WriteProblem::NameTooLong);
        QCOMPARE(entries(m_folder), QStringList{name});
    }

    void aMissingFolderFails()
    {
        const QString path = m_folder + u"/weg/"_qs + fileName;
        const WriteResult result = writeFace(path, newFace());
        QCOMPARE(result.problem, WriteProblem::FolderGone);
        QVERIFY(entries(m_folder).isEmpty());
    }

    // A folder that exists but takes no files (a kernel file system) is not reported as gone.
    void aFolderThatTakesNoFilesIsNotCalledGone()
    {
        if (!QFileInfo(u"/proc"_qs).isDir()) {
            QSKIP("this system has no /proc");
        }
        const WriteResult result = writeFace(u"/proc/snoetjesmal-test.bmp"_qs, newFace());
        QVERIFY(!result.ok());
        QVERIFY(result.problem != WriteProblem::FolderGone);
    }

    void aFolderOfThatNameIsLeftAlone()
    {
        QVERIFY(QDir(m_folder).mkdir(fileName));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), m_path + u"/inhoud"_qs));
        const WriteResult result = writeFace(m_path, newFace(), WriteMode::Replace);
        QCOMPARE(result.problem, WriteProblem::IsFolder);
        QVERIFY(QFileInfo(m_path).isDir());
        QCOMPARE(entries(m_path), QStringList{u"inhoud"_qs});
        QCOMPARE(entries(m_folder), QStringList{fileName});
    }

#ifdef Q_OS_WIN
    // Replaced only where Windows lets a file be replaced: a read-only one is left as it is.
    void aReadOnlyFileIsLeftAlone()
    {
        QVERIFY(writeFace(m_path, oldFace()));
        QVERIFY(QFile::setPermissions(m_path, QFile::ReadOwner));
        const auto writable = qScopeGuard(
            [&] { QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner); });
        const WriteResult result = writeFace(m_path, newFace(), WriteMode::Replace);
        QCOMPARE(result.problem, WriteProblem::ReadOnlyFile);
        QVERIFY(isBmpOf(contents(m_path), oldFace()));
        QCOMPARE(entries(m_folder), QStringList{fileName});
    }

    void aFileHeldOpenElsewhere_data()
    {
        QTest::addColumn<int>("heldMs"); // -1: throughout
        QTest::newRow("held throughout: in use, the old file kept") << -1;
        QTest::newRow("let go after a moment: replaced") << 300;
    }

    // As a viewer or a virus scanner holds it: open for reading, its deletion not shared.
    void aFileHeldOpenElsewhere()
    {
        QFETCH(int, heldMs);
        QVERIFY(writeFace(m_path, oldFace()));
        WriteResult result;
        {
            const HeldOpen held(m_path, heldMs);
            QVERIFY(held.opened());
            result = writeFace(m_path, newFace(), WriteMode::Replace);
        }
        QCOMPARE(result.problem, heldMs < 0 ? WriteProblem::InUse : WriteProblem::None);
        QVERIFY(isBmpOf(contents(m_path), heldMs < 0 ? oldFace() : newFace()));
        QCOMPARE(entries(m_folder), QStringList{fileName});
    }
#endif

    void aNullImageWritesNothing()
    {
        QVERIFY(writeFace(m_path, oldFace()));
        const WriteResult result = writeFace(m_path, QImage());
        QCOMPARE(result.problem, WriteProblem::NotEncoded);
        QVERIFY(isBmpOf(contents(m_path), oldFace()));
        QCOMPARE(entries(m_folder), QStringList{fileName});
    }

#ifdef Q_OS_LINUX
    void faults_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<WriteProblem>("problem");
        QTest::newRow("full disk") << u"full"_qs << WriteProblem::DiskFull;
        QTest::newRow("read-only medium") << u"readonly"_qs << WriteProblem::ReadOnlyMedium;
    }

    // The old file keeps its bytes, nothing else is left, and the problem says what happened.
    void faults()
    {
        QFETCH(QString, scenario);
        QFETCH(WriteProblem, problem);

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
        QCOMPARE(report.values.value(u"problem"_qs).toInt(), static_cast<int>(problem));
        QVERIFY(
            isBmpOf(QByteArray::fromBase64(report.values.value(u"old"_qs).toLatin1()), oldFace()));
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
        QVERIFY(writeFace(path, oldFace()));
        const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                            QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(folder, readOnly));
        const auto restore =
            qScopeGuard([&] { QFile::setPermissions(folder, readOnly | QFile::WriteOwner); });

        int problem = 0;
        if (::geteuid() != 0) {
            problem = static_cast<int>(writeFace(path, newFace()).problem);
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
            problem = report.values.value(u"problem"_qs).toInt();
        }
        QCOMPARE(problem, static_cast<int>(WriteProblem::NoPermission));
        QVERIFY(isBmpOf(contents(path), oldFace()));
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
    TestAtomicFile test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_atomicfile.moc"
