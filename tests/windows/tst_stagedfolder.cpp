// A folder that appears whole, put in place on Windows while another program holds a file in
// it open, as an Explorer window, a viewer or a virus scanner does: in the earlier folder that
// it replaces, or among the new files. The placement waits about a second for it to be let
// go; held throughout, it is reported as in use and the earlier folder stays as it was.

#include "stagedfolder.h"

#include "folderfiles.h"
#include "heldopen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

Q_DECLARE_METATYPE(WriteProblem)

namespace {

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestStagedFolder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aFileHeldOpenInside_data()
    {
        QTest::addColumn<bool>("inOld"); // in the earlier folder, else in the new one
        QTest::addColumn<int>("heldMs"); // -1: throughout
        QTest::newRow("earlier folder, held throughout: in use, kept") << true << -1;
        QTest::newRow("earlier folder, let go after a moment: replaced") << true << 300;
        QTest::newRow("new folder, held throughout: in use, kept") << false << -1;
        QTest::newRow("new folder, let go after a moment: placed") << false << 300;
    }
    void aFileHeldOpenInside()
    {
        QFETCH(bool, inOld);
        QFETCH(int, heldMs);
        const QTemporaryDir parent;
        QVERIFY(parent.isValid());
        const QString target = parent.filePath(u"pakket"_qs);
        QVERIFY(QDir().mkdir(target));
        QVERIFY(writeFile(target + u"/a.png"_qs, "oud"));
        QVERIFY(writeFile(target + u"/index.csv"_qs, "oud"));

        WriteResult result;
        QString leftOver;
        {
            StagedFolder staged(target);
            QVERIFY(staged.isValid());
            QVERIFY(writeFile(staged.filePath(u"a.png"_qs), "nieuw"));
            QVERIFY(writeFile(staged.filePath(u"index.csv"_qs), "nieuw"));

            const QString heldPath = inOld ? target + u"/a.png"_qs : staged.filePath(u"a.png"_qs);
            const HeldOpen held(heldPath, heldMs);
            QVERIFY(held.opened());
            const StagedFolder::Placement placement = staged.place(
                [](const QString& folder) { return std::optional<QStringList>(entries(folder)); });
            result = placement.result;
            leftOver = placement.leftOver;
        } // the file let go, the staged folder gone
        QCOMPARE(result.problem, heldMs < 0 ? WriteProblem::InUse : WriteProblem::None);
        QCOMPARE(leftOver, QString());
        const QByteArray expected = heldMs < 0 ? "oud" : "nieuw";
        QCOMPARE(contents(target + u"/a.png"_qs), expected);
        QCOMPARE(contents(target + u"/index.csv"_qs), expected);
        // Nothing else beside it: no staged folder, no earlier folder set aside.
        QCOMPARE(entries(parent.path()), QStringList{u"pakket"_qs});
    }
};

QTEST_GUILESS_MAIN(TestStagedFolder)
#include "tst_stagedfolder.moc"
