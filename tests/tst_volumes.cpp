// The places the drive list offers: real volumes only, the root first, each listed once.

#include "volumes.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTest>

class TestVolumes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void holdsUserFiles_data()
    {
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QString>("root");
        QTest::addColumn<bool>("expected");

        QTest::newRow("root ext4") << QByteArray("ext4") << u"/"_qs << true;
        QTest::newRow("root overlay (container)") << QByteArray("overlay") << u"/"_qs << true;
        QTest::newRow("root tmpfs (live system)") << QByteArray("tmpfs") << u"/"_qs << true;
        QTest::newRow("home") << QByteArray("ext4") << u"/home"_qs << true;
        QTest::newRow("stick in media") << QByteArray("vfat") << u"/media/anna/STICK"_qs << true;
        QTest::newRow("stick in run media")
            << QByteArray("exfat") << u"/run/media/anna/STICK"_qs << true;
        QTest::newRow("network share") << QByteArray("nfs4") << u"/mnt/nas"_qs << true;
        QTest::newRow("sshfs") << QByteArray("fuse.sshfs") << u"/home/anna/server"_qs << true;
        QTest::newRow("name starting like boot") << QByteArray("ext4") << u"/bootleg"_qs << true;
        QTest::newRow("proc") << QByteArray("proc") << u"/proc"_qs << false;
        QTest::newRow("sysfs") << QByteArray("sysfs") << u"/sys"_qs << false;
        QTest::newRow("cgroup") << QByteArray("cgroup2") << u"/sys/fs/cgroup"_qs << false;
        QTest::newRow("devtmpfs") << QByteArray("devtmpfs") << u"/dev"_qs << false;
        QTest::newRow("shm") << QByteArray("tmpfs") << u"/dev/shm"_qs << false;
        QTest::newRow("tmp on tmpfs") << QByteArray("tmpfs") << u"/tmp"_qs << false;
        QTest::newRow("run user") << QByteArray("tmpfs") << u"/run/user/1000"_qs << false;
        QTest::newRow("gvfs") << QByteArray("fuse.gvfsd-fuse") << u"/run/user/1000/gvfs"_qs
                              << false;
        QTest::newRow("efi partition") << QByteArray("vfat") << u"/boot/efi"_qs << false;
        QTest::newRow("boot") << QByteArray("ext2") << u"/boot"_qs << false;
        QTest::newRow("snap") << QByteArray("squashfs") << u"/snap/core/17"_qs << false;
        QTest::newRow("file system under run") << QByteArray("ext4") << u"/run/foo"_qs << false;
    }

    void holdsUserFiles()
    {
        QFETCH(QByteArray, type);
        QFETCH(QString, root);
        QFETCH(bool, expected);
        QCOMPARE(::holdsUserFiles(type, root), expected);
    }

    void userVolumes()
    {
        const QList<Volume> volumes = ::userVolumes();
        QVERIFY(!volumes.isEmpty());
#ifndef Q_OS_WIN
        QCOMPARE(volumes.first().rootPath, u"/"_qs);
#endif
        QSet<QString> roots;
        for (const Volume& volume : volumes) {
            QVERIFY2(QFileInfo(volume.rootPath).isDir(), qPrintable(volume.rootPath));
            QVERIFY2(!roots.contains(volume.rootPath), qPrintable(volume.rootPath));
            roots.insert(volume.rootPath);
            QVERIFY(!volume.label.isEmpty());
            QVERIFY2(volume.label.contains(volume.rootPath.left(1), Qt::CaseInsensitive),
                     qPrintable(volume.label));
            QVERIFY(!volume.rootPath.startsWith(u"/proc"_qs));
            QVERIFY(!volume.rootPath.startsWith(u"/sys"_qs));
        }
    }

    void volumeOfTheCurrentFolder()
    {
        const Volume volume = volumeOf(QDir::currentPath());
        QVERIFY(!volume.rootPath.isEmpty());
        QVERIFY(QDir::currentPath().startsWith(volume.rootPath));
        QVERIFY(!volume.label.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestVolumes)
#include "tst_volumes.moc"
