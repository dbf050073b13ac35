// Looking at the disk before a face is saved: whether the folder is there, what is already
// there under exactly the file's name, and what the folder's file system allows.

#include "fileprobe.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using FileProbe::Existing;

Q_DECLARE_METATYPE(FileProbe::Existing)

namespace {

bool touch(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x", 1) == 1;
}

} // namespace

class TestFileProbe : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every test, and every row of a table, starts in a new empty folder.
    void init()
    {
        m_dir.emplace();
        QVERIFY(m_dir->isValid());
        m_root = m_dir->path() + QLatin1Char('/');
    }

#ifdef Q_OS_LINUX
    void nameLimitsAreTheFileSystems()
    {
        // ext4 and tmpfs both allow 255 bytes, all of them usable.
        const SaveTarget::NameLimits limits = FileProbe::nameLimits(m_root);
        QCOMPARE(limits.nameMax, 255);
        QCOMPARE(limits.pathMax, 4096);
    }
#endif

    void isFolder()
    {
        QVERIFY(FileProbe::isFolder(m_root));
        QVERIFY(FileProbe::isFolder(m_dir->path()));
        QVERIFY(QDir(m_root).mkdir(u"weg"_qs));
        QVERIFY(FileProbe::isFolder(m_root + u"weg/"_qs));
        QVERIFY(QDir(m_root).rmdir(u"weg"_qs));
        QVERIFY(!FileProbe::isFolder(m_root + u"weg/"_qs));
        QVERIFY(touch(m_root + u"bestand"_qs));
        QVERIFY(!FileProbe::isFolder(m_root + u"bestand"_qs));
        QVERIFY(!FileProbe::isFolder(m_root + u"bestand/"_qs));
        QVERIFY(!FileProbe::isFolder(QString()));
    }

    void existingAt_data()
    {
        QTest::addColumn<QString>("present"); // what is made first: "file:x", "dir:x", ...
        QTest::addColumn<QString>("asked");
        QTest::addColumn<Existing>("expected");

        QTest::newRow("nothing") << QString() << u"emoticon.bmp"_qs << Existing::Nothing;
        QTest::newRow("file") << u"file:emoticon.bmp"_qs << u"emoticon.bmp"_qs << Existing::File;
        QTest::newRow("hidden file") << u"file:.bmp"_qs << u".bmp"_qs << Existing::File;
        QTest::newRow("star matches only itself")
            << u"file:emoticon.bmp"_qs << u"*.bmp"_qs << Existing::Nothing;
        QTest::newRow("question mark matches only itself")
            << u"file:a.bmp"_qs << u"?.bmp"_qs << Existing::Nothing;
        QTest::newRow("brackets match only themselves")
            << u"file:a.bmp"_qs << u"[a].bmp"_qs << Existing::Nothing;
        QTest::newRow("folder") << u"dir:emoticon.bmp"_qs << u"emoticon.bmp"_qs << Existing::Other;
#ifdef Q_OS_UNIX
        // Windows holds no name with a '*'.
        QTest::newRow("star named file") << u"file:*.bmp"_qs << u"*.bmp"_qs << Existing::File;
        QTest::newRow("case differs")
            << u"file:Emoticon.bmp"_qs << u"emoticon.bmp"_qs << Existing::Nothing;
        QTest::newRow("link to file")
            << u"linkfile:emoticon.bmp"_qs << u"emoticon.bmp"_qs << Existing::File;
        QTest::newRow("link to folder")
            << u"linkdir:emoticon.bmp"_qs << u"emoticon.bmp"_qs << Existing::Other;
        QTest::newRow("dangling link")
            << u"dangling:emoticon.bmp"_qs << u"emoticon.bmp"_qs << Existing::Other;
        QTest::newRow("pipe") << u"fifo:emoticon.bmp"_qs << u"emoticon.bmp"_qs << Existing::Other;
#endif
    }

    void existingAt()
    {
        QFETCH(QString, present);
        QFETCH(QString, asked);
        QFETCH(Existing, expected);

        const QString kind = present.section(QLatin1Char(':'), 0, 0);
        const QString path = m_root + present.section(QLatin1Char(':'), 1);
        if (kind == u"file"_qs) {
            QVERIFY(touch(path));
        } else if (kind == u"dir"_qs) {
            QVERIFY(QDir().mkpath(path));
        } else if (kind == u"linkfile"_qs) {
            QVERIFY(touch(m_root + u"doel"_qs));
            QVERIFY(QFile::link(m_root + u"doel"_qs, path));
        } else if (kind == u"linkdir"_qs) {
            QVERIFY(QDir().mkpath(m_root + u"doelmap"_qs));
            QVERIFY(QFile::link(m_root + u"doelmap"_qs, path));
        } else if (kind == u"dangling"_qs) {
            QVERIFY(QFile::link(m_root + u"nergens"_qs, path));
        } else if (kind == u"fifo"_qs) {
#ifdef Q_OS_UNIX
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
#endif
        }
        QCOMPARE(FileProbe::existingAt(m_root + asked), expected);
    }

private:
    std::optional<QTemporaryDir> m_dir;
    QString m_root;
};

QTEST_GUILESS_MAIN(TestFileProbe)
#include "tst_fileprobe.moc"
