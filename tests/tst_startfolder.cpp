// Where the save dialog opens first: the current folder, unless the program was started in
// its own folder (as the Start menu and a double-click start it); then the first user folder
// that is there.

#include "startfolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestStartFolder : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    // A folder of the test by name; "missing" is never made.
    QString folder(const QString& name) const { return m_dir.filePath(name); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        for (const char* name : {"program", "prompt", "pictures", "documents"}) {
            QVERIFY(QDir(m_dir.path()).mkdir(QLatin1String(name)));
        }
    }

    void choose_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QStringList>("userFolders");
        QTest::addColumn<QString>("expected");

        const QStringList usual{u"pictures"_qs, u"documents"_qs};
        QTest::newRow("from a prompt elsewhere") << u"prompt"_qs << usual << u"prompt"_qs;
        QTest::newRow("in the program's folder") << u"program"_qs << usual << u"pictures"_qs;
        QTest::newRow("the program's folder with a trailing separator")
            << u"program/"_qs << usual << u"pictures"_qs;
        QTest::newRow("the program's folder through a subfolder and back")
            << u"prompt/../program"_qs << usual << u"pictures"_qs;
#ifdef Q_OS_WIN
        QTest::newRow("the program's folder in other letters")
            << u"PROGRAM"_qs << usual << u"pictures"_qs;
#endif
        QTest::newRow("no Pictures folder: Documents")
            << u"program"_qs << QStringList{u"missing"_qs, u"documents"_qs} << u"documents"_qs;
        QTest::newRow("no user folder at all: where it was started")
            << u"program"_qs << QStringList{u"missing"_qs, QString()} << u"program"_qs;
    }

    void choose()
    {
        QFETCH(QString, current);
        QFETCH(QStringList, userFolders);
        QFETCH(QString, expected);

        StartFolder::Places places{folder(current), folder(u"program"_qs), {}};
        for (const QString& name : userFolders) {
            places.userFolders.append(name.isEmpty() ? QString() : folder(name));
        }
        const QString chosen = StartFolder::choose(places);
        QCOMPARE(QDir::cleanPath(chosen), QDir::cleanPath(folder(expected)));
    }
};

QTEST_GUILESS_MAIN(TestStartFolder)
#include "tst_startfolder.moc"
