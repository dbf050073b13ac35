// The places the drive list offers: real volumes only, the root first, each listed once,
// read from the mount table without asking a network or FUSE file system anything.

#include "mounttable.h"
#include "volumes.h"

#include "othervolume.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTest>

Q_DECLARE_METATYPE(MountEntry)

namespace {

// A mount table as /proc/self/mountinfo gives it.
const QByteArray mountInfo =
    "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
    "23 22 0:21 / /proc rw,nosuid shared:12 - proc proc rw\n"
    "24 22 8:2 / /home rw,relatime shared:2 master:1 - ext4 /dev/sda2 rw\n"
    "25 22 0:44 / /mnt/nas rw,relatime shared:30 - nfs4 nas:/export rw,vers=4.2\n"
    "26 24 0:45 / /home/anna/server rw,nosuid shared:31 - fuse.sshfs anna@server: rw\n"
    "27 24 8:17 / /media/anna/MIJN\\040STICK rw shared:40 - vfat /dev/sdb1 rw\n"
    "28 22 0:46 / /mnt/share rw shared:41 - cifs //server/share rw\n"
    "29 24 8:2 /anna /home/anna/bind rw shared:2 - ext4 /dev/sda2 rw\n"
    "30 22 8:3 / /home rw shared:3 - ext4 /dev/sda3 rw\n";

} // namespace

class TestVolumes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parseMountTable_data()
    {
        QTest::addColumn<QByteArray>("table");
        QTest::addColumn<QList<MountEntry>>("expected");
        QTest::newRow("mountinfo, optional fields")
            << QByteArray("36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 shared:2 - ext3 "
                          "/dev/root rw,errors=continue\n")
            << QList<MountEntry>{{u"/mnt2"_qs, "ext3"}};
        QTest::newRow("mountinfo, no optional fields")
            << QByteArray("36 35 98:0 / /data rw - xfs /dev/sdc1 rw")
            << QList<MountEntry>{{u"/data"_qs, "xfs"}};
        QTest::newRow("escaped space, tab and backslash")
            << QByteArray("1 0 8:1 / /media/a\\040b\\011c\\134d rw - vfat /dev/sdb1 rw\n")
            << QList<MountEntry>{{u"/media/a b\tc\\d"_qs, "vfat"}};
        QTest::newRow("/proc/mounts")
            << QByteArray("/dev/sda1 / ext4 rw,relatime 0 0\nnas:/x /mnt/nas nfs4 rw 0 0\n")
            << QList<MountEntry>{{u"/"_qs, "ext4"}, {u"/mnt/nas"_qs, "nfs4"}};
        QTest::newRow("empty and broken lines")
            << QByteArray("\n\ngarbage\n1 2 3 - \n") << QList<MountEntry>{};
    }

    void parseMountTable()
    {
        QFETCH(QByteArray, table);
        QFETCH(QList<MountEntry>, expected);
        QCOMPARE(::parseMountTable(table), expected);
    }

    // Listing never asks a network or FUSE file system anything, as a dead one would hang
    // the dialog; the local ones are looked at.
    void networkAndFuseVolumesAreNotAsked()
    {
        QStringList asked;
        const QList<Volume> volumes = volumesOfMountTable(
            mountInfo,
            [&](const QString& root) {
                asked << root;
                return u"label of "_qs + root;
            },
            [&](const QString& root) {
                asked << root;
                return true;
            });
        for (const QString& remote : {u"/mnt/nas"_qs, u"/home/anna/server"_qs, u"/mnt/share"_qs}) {
            QVERIFY2(!asked.contains(remote), qPrintable(remote));
        }
        const QList<Volume> expected{
            {u"/"_qs, u"label of /"_qs},
            {u"/home"_qs, u"label of /home"_qs},
            {u"/home/anna/bind"_qs, u"label of /home/anna/bind"_qs},
            {u"/home/anna/server"_qs, u"/home/anna/server"_qs},
            {u"/media/anna/MIJN STICK"_qs, u"label of /media/anna/MIJN STICK"_qs},
            {u"/mnt/nas"_qs, u"/mnt/nas"_qs},
            {u"/mnt/share"_qs, u"/mnt/share"_qs},
        };
        QCOMPARE(volumes, expected);
    }

    void aMountThatIsNoFolderIsLeftOut()
    {
        const QList<Volume> volumes = volumesOfMountTable(
            "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n2 1 8:1 /f /etc/hostname rw - ext4 x rw\n",
            [](const QString& root) { return root; },
            [](const QString& root) { return root == u"/"_qs; });
        QCOMPARE(volumes, (QList<Volume>{{u"/"_qs, u"/"_qs}}));
    }

    void holdsUserFiles_data()
    {
        QTest::addColumn<QByteArray>("type");
        QTest::addColumn<QString>("root");
        QTest::addColumn<bool>("expected");

        QTest::newRow("root ext4") << QByteArray("ext4") << u"/"_qs << true;
        QTest::newRow("root overlay (container)") << QByteArray("overlay") << u"/"_qs << true;
        QTest::newRow("root tmpfs (live system)") << QByteArray("tmpfs") << u"/"_qs << true;
        QTest::newRow("stick in media") << QByteArray("vfat") << u"/media/anna/STICK"_qs << true;
        QTest::newRow("stick in run media")
            << QByteArray("exfat") << u"/run/media/anna/STICK"_qs << true;
        QTest::newRow("network share") << QByteArray("nfs4") << u"/mnt/nas"_qs << true;
        QTest::newRow("sshfs") << QByteArray("fuse.sshfs") << u"/home/anna/server"_qs << true;
        QTest::newRow("name starting like boot") << QByteArray("ext4") << u"/bootleg"_qs << true;
        QTest::newRow("proc") << QByteArray("proc") << u"/proc"_qs << false;
        QTest::newRow("tmp on tmpfs") << QByteArray("tmpfs") << u"/tmp"_qs << false;
        QTest::newRow("gvfs") << QByteArray("fuse.gvfsd-fuse") << u"/run/user/1000/gvfs"_qs
                              << false;
        QTest::newRow("efi partition") << QByteArray("vfat") << u"/boot/efi"_qs << false;
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

    // A folder on the root's volume and one on another: taking the root for every folder
    // would pass the first alone.
    void volumeOfAFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("root");
        addVolumeRows();
    }
    void volumeOfAFolder()
    {
        QFETCH(QString, folder);
        const Volume volume = volumeOf(folder);
        QTEST(volume.rootPath, "root");
        QVERIFY(!volume.label.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestVolumes)
#include "tst_volumes.moc"
