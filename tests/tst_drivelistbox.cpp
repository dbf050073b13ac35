// The drive list of the save dialog: it starts at the volume of the folder it is given, and
// lists the root first.

#include "drivelistbox.h"

#include "othervolume.h"

#include <QDir>
#include <QTest>

class TestDriveListBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // On the root's volume and on another one: a list that ignored the folder, or took the
    // root for every folder, would show the root for both.
    void startsAtTheVolumeOfItsFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("volume");
        addVolumeRows();
    }
    void startsAtTheVolumeOfItsFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QString, volume);
        const DriveListBox list(folder);
        QCOMPARE(QDir::fromNativeSeparators(list.Drive()), volume);
        QVERIFY(!list.currentText().isEmpty());
    }

    void theRootComesFirst()
    {
        const DriveListBox list(QDir::rootPath());
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
