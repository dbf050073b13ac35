// The drive list of the save dialog: it starts at the volume of the current folder and lists
// the root first.

#include "drivelistbox.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

class TestDriveListBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsAtTheVolumeOfTheCurrentFolder()
    {
        const QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString before = QDir::currentPath();
        const auto back = qScopeGuard([&] { QDir::setCurrent(before); });
        QVERIFY(QDir::setCurrent(dir.path()));
        const DriveListBox list;
        const QString drive = QDir::fromNativeSeparators(list.Drive());
        QVERIFY(!drive.isEmpty());
        QVERIFY2(QDir::currentPath().startsWith(drive), qPrintable(drive));
        QVERIFY(!list.currentText().isEmpty());
    }

    void theRootComesFirst()
    {
        const DriveListBox list;
        QVERIFY(list.count() >= 1);
#ifdef Q_OS_WIN
        // The drive letters, shown as "c:" and the like: Wine's C: and Z: at least.
        QStringList roots;
        for (int i = 0; i < list.count(); ++i) {
            roots << QDir::fromNativeSeparators(list.itemData(i).toString()).toUpper();
            const QString letter = roots.last().left(2).toLower();
            QVERIFY2(list.itemText(i).startsWith(letter), qPrintable(list.itemText(i)));
        }
        QVERIFY2(roots.contains(u"C:/"_qs), qPrintable(roots.join(u' ')));
        QVERIFY2(roots.contains(u"Z:/"_qs), qPrintable(roots.join(u' ')));
#else
        QCOMPARE(list.itemData(0).toString(), u"/"_qs);
        QVERIFY(list.itemText(0).startsWith(u"/"_qs));
#endif
        for (int i = 0; i < list.count(); ++i) {
            QVERIFY(!list.itemText(i).isEmpty());
        }
    }
};

QTEST_MAIN(TestDriveListBox)
#include "tst_drivelistbox.moc"
