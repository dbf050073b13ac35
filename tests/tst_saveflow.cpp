// The steps of saving a face, without the dialog: where the file goes, what is asked before
// one is replaced, and the faults that are reported. Files are written into temporary
// folders only (on Windows also into C:\ of the test's own Wine prefix); message boxes are
// written down instead of shown.

#include "facecanvas.h"
#include "folderfiles.h"
#include "recordedboxes.h"
#include "saveflow.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

const QString replaceText = QStringLiteral(
    "Het bestand op de aangegeven locatie bestaat al, wil je het bestand vervangen?");

// A face other than the blank one, so that a file of the blank face proves nothing.
QImage testFace(int eyes, int mouth)
{
    FaceCanvas canvas;
    canvas.recomposeEyes(eyes);
    canvas.recomposeMouth(mouth);
    return canvas.image();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The two answers to the replace question.
void addAnswerRows()
{
    QTest::addColumn<MsgBoxAnswer>("answer");
    QTest::newRow("yes") << MsgBoxAnswer::Yes;
    QTest::newRow("no") << MsgBoxAnswer::No;
}

} // namespace

class TestSaveFlow : public QObject
{
    Q_OBJECT

    RecordedBoxes m_boxes;
    std::optional<QTemporaryDir> m_dir;
    QString m_folder;
    QImage m_image;  // the face to save
    int m_taken = 0; // how often the face was asked for

    bool save(const QString& folder, const QString& name, ImageFileWriter writer = writeBmpFile)
    {
        SaveFlow flow(m_boxes, std::move(writer));
        return flow.save(nullptr, folder, name, [this] {
            ++m_taken;
            return m_image;
        });
    }

    // One "Fout" box that gives this reason (or any, where it is empty); nothing taken.
    void verifyRefused(bool saved, const QString& reason)
    {
        QVERIFY(!saved);
        QCOMPARE(m_boxes.boxes.size(), 1);
        const MsgBoxRequest& box = m_boxes.boxes.at(0).request;
        QCOMPARE(box.title, u"Fout"_qs);
        QCOMPARE(box.style, errorBox);
        QVERIFY2(box.text.startsWith(u"Fout opgetreden:\r\n"_qs), qPrintable(box.text));
        if (!reason.isEmpty()) {
            QCOMPARE(box.text, u"Fout opgetreden:\r\n"_qs + reason);
        }
    }

private Q_SLOTS:
    void init()
    {
        m_boxes.clear();
        m_dir.emplace();
        QVERIFY(m_dir->isValid());
        m_folder = m_dir->path();
        m_image = testFace(3, 4);
        m_taken = 0;
    }

    void saves_data()
    {
        QTest::addColumn<QString>("folder"); // below the test's folder, or a path of its own
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("folder") << QString() << u"emoticon"_qs << u"emoticon.bmp"_qs;
        QTest::newRow("folder named like a file") << u"x.bmp"_qs << u"blij"_qs << u"blij.bmp"_qs;
        // The typed name is used unchanged.
        QTest::newRow("own extension") << QString() << u"foto.bmp"_qs << u"foto.bmp.bmp"_qs;
        QTest::newRow("empty") << QString() << QString() << u".bmp"_qs;
        // As long as the file system allows: 251 bytes (UTF-16 units on Windows) and ".bmp"
        // make 255.
        QTest::newRow("longest name")
            << QString() << QString(251, u'a') << QString(251, u'a') + u".bmp"_qs;
#ifdef Q_OS_WIN
        // The test's own Wine prefix: a separator is added only where the folder lacks one.
        QTest::newRow("root of C") << u"C:\\"_qs << u"emoticon"_qs << u"C:\\emoticon.bmp"_qs;
        QTest::newRow("C:\\Temp") << u"C:\\Temp"_qs << u"emoticon"_qs
                                  << u"C:\\Temp\\emoticon.bmp"_qs;
        // Deeper than MAX_PATH.
        QString deep;
        while (deep.size() < 300) {
            deep += u"/"_qs + QString(40, u'm');
        }
        QTest::newRow("deeper than MAX_PATH") << deep << u"emoticon"_qs << u"emoticon.bmp"_qs;
#endif
    }

    void saves()
    {
        QFETCH(QString, folder);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        if (QDir::isRelativePath(folder) || folder.startsWith(u'/')) {
            folder = QDir::cleanPath(m_folder + u'/' + folder);
            written = folder + u'/' + written;
        }
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(!QFileInfo::exists(written));
        const auto remove = qScopeGuard([&] { QFile::remove(written); });
        const QStringList before = entries(folder);

        QVERIFY(save(folder, typed));

        QVERIFY(m_boxes.boxes.isEmpty());
        QCOMPARE(m_taken, 1);
        QVERIFY2(isBmpOf(contents(written), m_image), qPrintable(written));
        QStringList after = before;
        after << QFileInfo(written).fileName();
        after.sort();
        QCOMPARE(entries(folder), after);
    }

    void replaceQuestion_data()
    {
        addAnswerRows();
    }

    void replaceQuestion()
    {
        QFETCH(MsgBoxAnswer, answer);
        const QString path = m_folder + u"/emoticon.bmp"_qs;
        QVERIFY(save(m_folder, u"emoticon"_qs));
        const QByteArray first = contents(path);

        // Another face, saved under the same name.
        m_image = testFace(3, 9);
        m_boxes.answers = {answer};
        m_taken = 0;
        QCOMPARE(save(m_folder, u"emoticon"_qs), answer == MsgBoxAnswer::Yes);

        QCOMPARE(m_boxes.boxes.size(), 1);
        const MsgBoxRequest& question = m_boxes.boxes.at(0).request;
        QCOMPARE(question.text, replaceText);
        QCOMPARE(question.title, u"Bestand vervangen"_qs);
        QCOMPARE(question.style, replaceStyle);
        if (answer == MsgBoxAnswer::No) {
            QCOMPARE(contents(path), first);
            QCOMPARE(m_taken, 0);
        } else {
            QVERIFY(isBmpOf(contents(path), m_image));
        }
        QCOMPARE(entries(m_folder), QStringList{u"emoticon.bmp"_qs});
    }

    void aFileThatAppearsMeanwhileBringsTheQuestion_data()
    {
        addAnswerRows();
    }

    // Nothing was there when the flow looked, but a file of that name is there by the time
    // it writes: that file is not replaced unasked.
    void aFileThatAppearsMeanwhileBringsTheQuestion()
    {
        QFETCH(MsgBoxAnswer, answer);
        const QString path = m_folder + u"/emoticon.bmp"_qs;
        QList<WriteMode> modes;
        m_boxes.answers = {answer};
        const bool saved = save(m_folder, u"emoticon"_qs,
                                [&](const QString& target, const QImage& image, WriteMode mode) {
                                    if (modes.isEmpty()) {
                                        writeFile(target, "van een ander");
                                    }
                                    modes << mode;
                                    return writeBmpFile(target, image, mode);
                                });

        QCOMPARE(m_boxes.boxes.size(), 1);
        QCOMPARE(m_boxes.boxes.at(0).request.text, replaceText);
        QCOMPARE(saved, answer == MsgBoxAnswer::Yes);
        if (answer == MsgBoxAnswer::No) {
            QCOMPARE(modes, QList<WriteMode>{WriteMode::CreateNew});
            QCOMPARE(contents(path), QByteArray("van een ander"));
        } else {
            QCOMPARE(modes, (QList<WriteMode>{WriteMode::CreateNew, WriteMode::Replace}));
            QVERIFY(isBmpOf(contents(path), m_image));
        }
        QCOMPARE(entries(m_folder), QStringList{u"emoticon.bmp"_qs});
    }

    void aFolderOfThatNameIsRefused()
    {
        QVERIFY(QDir(m_folder).mkpath(u"emoticon.bmp/binnen"_qs));
        verifyRefused(save(m_folder, u"emoticon"_qs), {});
        QVERIFY(m_boxes.boxes.at(0).request.text.contains(u"map"_qs));
        QCOMPARE(entries(m_folder + u"/emoticon.bmp"_qs), QStringList{u"binnen"_qs});
        // The face is only taken on the way to writing.
        QCOMPARE(m_taken, 0);
    }

    void aRemovedFolder()
    {
        const QString folder = m_folder + u"/weg"_qs;
        verifyRefused(save(folder, u"blij"_qs), u"Opgegeven map bestaat niet."_qs);
        QVERIFY(entries(m_folder).isEmpty());
    }

    void badNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("says");
        QTest::newRow("separator") << u"sub/emoticon"_qs << u"/"_qs;
        QTest::newRow("nul") << (u"emo"_qs + QChar(0) + u"ticon"_qs) << u"nulteken"_qs;
#ifdef Q_OS_WIN
        // 252 units and ".bmp" are one more than the file system takes.
        QTest::newRow("too long") << QString(252, u'a') << u"256 tekens"_qs;
        QTest::newRow("reserved") << u"a?b"_qs << u"< > : \" / \\ | ? *"_qs;
        QTest::newRow("device") << u"Com1.emoticon"_qs << u"apparaat"_qs;
#else
        // 252 bytes and ".bmp" are one byte more than the file system takes.
        QTest::newRow("too long") << QString(252, u'a') << u"256 bytes"_qs;
        QTest::newRow("too long in bytes") << QString(126, QChar(0x00e9)) << u"te lang"_qs;
#endif
    }

    void badNames()
    {
        QFETCH(QString, typed);
        QFETCH(QString, says);
        QVERIFY(QDir(m_folder).mkdir(u"sub"_qs));
        verifyRefused(save(m_folder, typed), {});
        QVERIFY2(m_boxes.boxes.at(0).request.text.contains(says),
                 qPrintable(m_boxes.boxes.at(0).request.text));
        QCOMPARE(entries(m_folder), QStringList{u"sub"_qs});
        QVERIFY(entries(m_folder + u"/sub"_qs).isEmpty());
    }

    void aFailedWriteIsReported()
    {
        verifyRefused(save(m_folder, u"emoticon"_qs,
                           [](const QString&, const QImage&, WriteMode) {
                               return WriteResult{WriteProblem::DiskFull, {}};
                           }),
                      u"De schijf is vol."_qs);
    }

#ifdef Q_OS_WIN
    void fileAttributes_data()
    {
        QTest::addColumn<uint>("attributes");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("hidden") << uint{FILE_ATTRIBUTE_HIDDEN} << true;
        QTest::newRow("system") << uint{FILE_ATTRIBUTE_SYSTEM} << true;
        QTest::newRow("read-only") << uint{FILE_ATTRIBUTE_READONLY} << false;
    }

    // A file with attributes of its own is asked about like any other. After a yes it is
    // replaced and keeps them, or (read-only) it stays as it was and the box says why.
    void fileAttributes()
    {
        QFETCH(uint, attributes);
        QFETCH(bool, replaced);
        const QString path = m_folder + u"/emoticon.bmp"_qs;
        const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
        writeFile(path, "van de gebruiker");
        QVERIFY(::SetFileAttributesW(native.c_str(), attributes));
        const auto writable =
            qScopeGuard([&] { ::SetFileAttributesW(native.c_str(), FILE_ATTRIBUTE_NORMAL); });
        m_boxes.answers = {MsgBoxAnswer::Yes};
        QCOMPARE(save(m_folder, u"emoticon"_qs), replaced);

        QVERIFY(!m_boxes.boxes.isEmpty());
        QCOMPARE(m_boxes.boxes.at(0).request.text, replaceText);
        if (replaced) {
            QCOMPARE(m_boxes.boxes.size(), 1);
            QVERIFY(isBmpOf(contents(path), m_image));
        } else {
            QCOMPARE(m_boxes.boxes.size(), 2);
            const MsgBoxRequest& outcome = m_boxes.boxes.at(1).request;
            QCOMPARE(outcome.title, u"Fout"_qs);
            QCOMPARE(outcome.text,
                     u"Fout opgetreden:\r\nHet bestaande bestand is alleen-lezen en kan daarom "
                     "niet worden vervangen."_qs);
            QCOMPARE(contents(path), QByteArray("van de gebruiker"));
        }
        const DWORD now = ::GetFileAttributesW(native.c_str());
        QVERIFY(now != INVALID_FILE_ATTRIBUTES);
        QCOMPARE(now & attributes, DWORD{attributes});
        // No temporary file is left, hidden or not.
        QCOMPARE(entries(m_folder), QStringList{u"emoticon.bmp"_qs});
    }
#endif
};

QTEST_GUILESS_MAIN(TestSaveFlow)
#include "tst_saveflow.moc"
