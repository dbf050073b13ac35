// Where the save dialog opens first: the current folder, unless the program was started in
// its own folder; then the first user folder that is there.

#include "startfolder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestStartFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void choose_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("firstUserFolder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("from a prompt elsewhere") << u"prompt"_qs << u"pictures"_qs << u"prompt"_qs;
        QTest::newRow("in the program's folder")
            << u"program"_qs << u"pictures"_qs << u"pictures"_qs;
        QTest::newRow("written another way")
            << u"prompt/../program/"_qs << u"pictures"_qs << u"pictures"_qs;
#ifdef Q_OS_WIN
        QTest::newRow("in other letters") << u"PROGRAM"_qs << u"pictures"_qs << u"pictures"_qs;
#endif
        QTest::newRow("no Pictures: Documents")
            << u"program"_qs << u"missing"_qs << u"documents"_qs;
    }

    void choose()
    {
        QFETCH(QString, current);
        QFETCH(QString, firstUserFolder);
        QFETCH(QString, expected);
        const QTemporaryDir dir;
        for (const char* name : {"program", "prompt", "pictures", "documents"}) {
            QVERIFY(QDir(dir.path()).mkdir(QLatin1String(name)));
        }
        const StartFolder::Places places{
            dir.filePath(current),
            dir.filePath(u"program"_qs),
            {dir.filePath(firstUserFolder), dir.filePath(u"documents"_qs)}};
        QCOMPARE(QDir::cleanPath(StartFolder::choose(places)), dir.filePath(expected));
    }
};

QTEST_GUILESS_MAIN(TestStartFolder)
#include "tst_startfolder.moc"
