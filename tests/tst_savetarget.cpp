// The full name of a saved face and the checks made on it before anything is written: the
// separator rule, names that no file system of the kind can hold, and what is already there
// under exactly that name.

#include "savetarget.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using SaveTarget::Existing;
using SaveTarget::NameRules;

Q_DECLARE_METATYPE(SaveTarget::NameRules)
Q_DECLARE_METATYPE(SaveTarget::Existing)

namespace {

bool touch(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x", 1) == 1;
}

} // namespace

class TestSaveTarget : public QObject
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

    void withSeparator_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<NameRules>("rules");
        QTest::addColumn<QString>("expected");

        const auto posix = NameRules::Posix;
        const auto windows = NameRules::Windows;
        QTest::newRow("posix root") << u"/"_qs << posix << u"/"_qs;
        QTest::newRow("posix folder") << u"/home/anna"_qs << posix << u"/home/anna/"_qs;
        QTest::newRow("posix nested") << u"/home/anna/a/b/c"_qs << posix << u"/home/anna/a/b/c/"_qs;
        QTest::newRow("posix ends in separator") << u"/tmp/"_qs << posix << u"/tmp/"_qs;
        // A backslash is an ordinary character on Linux.
        QTest::newRow("posix backslash is no separator")
            << u"/tmp/a\\"_qs << posix << u"/tmp/a\\/"_qs;
        QTest::newRow("windows drive root") << u"C:\\"_qs << windows << u"C:\\"_qs;
        QTest::newRow("windows folder") << u"C:\\Temp"_qs << windows << u"C:\\Temp\\"_qs;
        QTest::newRow("windows nested")
            << u"C:\\Temp\\Foto's\\2024"_qs << windows << u"C:\\Temp\\Foto's\\2024\\"_qs;
        QTest::newRow("windows slash root") << u"C:/"_qs << windows << u"C:/"_qs;
        QTest::newRow("windows share")
            << u"\\\\server\\share"_qs << windows << u"\\\\server\\share\\"_qs;
    }

    void withSeparator()
    {
        QFETCH(QString, folder);
        QFETCH(NameRules, rules);
        QFETCH(QString, expected);
        QCOMPARE(SaveTarget::withSeparator(folder, rules), expected);
    }

    void nativeSeparator()
    {
#ifdef Q_OS_WIN
        QCOMPARE(SaveTarget::separator(), QLatin1Char('\\'));
#else
        QCOMPARE(SaveTarget::separator(), QLatin1Char('/'));
#endif
    }

    void fullNameKeepsTheTypedText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("fileName");

        QTest::newRow("plain") << u"emoticon"_qs << u"emoticon.bmp"_qs;
        QTest::newRow("own extension") << u"foto.bmp"_qs << u"foto.bmp.bmp"_qs;
        QTest::newRow("empty") << QString() << u".bmp"_qs;
        QTest::newRow("spaces kept") << u"  blij  "_qs << u"  blij  .bmp"_qs;
        QTest::newRow("wildcards") << u"*?"_qs << u"*?.bmp"_qs;
        QTest::newRow("accents") << u"gezichtje é ü"_qs << u"gezichtje é ü.bmp"_qs;
    }

    void fullNameKeepsTheTypedText()
    {
        QFETCH(QString, typed);
        QFETCH(QString, fileName);
        for (const QString& sub : {QString(), u"a/b/c/"_qs}) {
            const QString folder = m_root + sub;
            QVERIFY(QDir().mkpath(folder));
            const SaveTarget::FullName name = SaveTarget::fullName(folder, typed);
            QVERIFY2(name.isValid(), qPrintable(name.refusal));
            QCOMPARE(name.path, folder + fileName);
        }
    }

    void fileNameProblem_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<NameRules>("rules");
        QTest::addColumn<bool>("refused");

        const auto posix = NameRules::Posix;
        const auto windows = NameRules::Windows;
        const QString nul(QChar(0));
        QTest::newRow("posix plain") << u"emoticon.bmp"_qs << posix << false;
        QTest::newRow("posix slash") << u"a/b.bmp"_qs << posix << true;
        QTest::newRow("posix backslash") << u"a\\b.bmp"_qs << posix << false;
        QTest::newRow("posix nul") << (u"a"_qs + nul + u"b.bmp"_qs) << posix << true;
        QTest::newRow("posix reserved on windows only") << u"a<>:\"|?*.bmp"_qs << posix << false;
        QTest::newRow("posix device name") << u"CON.bmp"_qs << posix << false;
        QTest::newRow("posix tab") << u"a\tb.bmp"_qs << posix << false;
        QTest::newRow("posix hidden") << u".bmp"_qs << posix << false;

        QTest::newRow("windows plain") << u"emoticon.bmp"_qs << windows << false;
        QTest::newRow("windows nul") << (nul + u".bmp"_qs) << windows << true;
        for (const char c : {'<', '>', ':', '"', '/', '\\', '|', '?', '*'}) {
            QTest::addRow("windows reserved %c", c)
                << (u"a"_qs + QLatin1Char(c) + u"b.bmp"_qs) << windows << true;
        }
        QTest::newRow("windows tab") << u"a\tb.bmp"_qs << windows << true;
        QTest::newRow("windows control 1") << u"a\x01.bmp"_qs << windows << true;
        QTest::newRow("windows CON") << u"CON.bmp"_qs << windows << true;
        QTest::newRow("windows con") << u"con.bmp"_qs << windows << true;
        QTest::newRow("windows nul device") << u"Nul.bmp"_qs << windows << true;
        QTest::newRow("windows prn") << u"prn.bmp"_qs << windows << true;
        QTest::newRow("windows aux with more") << u"aux.foto.bmp"_qs << windows << true;
        QTest::newRow("windows device space") << u"CON .bmp"_qs << windows << true;
        QTest::newRow("windows com1") << u"COM1.bmp"_qs << windows << true;
        QTest::newRow("windows lpt9") << u"lpt9.bmp"_qs << windows << true;
        QTest::newRow("windows com superscript")
            << (u"COM"_qs + QChar(0x00b9) + u".bmp"_qs) << windows << true;
        QTest::newRow("windows com0 is a name") << u"COM0.bmp"_qs << windows << false;
        QTest::newRow("windows console is a name") << u"CONSOLE.bmp"_qs << windows << false;
        QTest::newRow("windows lpt10 is a name") << u"LPT10.bmp"_qs << windows << false;
        QTest::newRow("windows device inside") << u"mijn con.bmp"_qs << windows << false;
        QTest::newRow("windows trailing dot") << u"a."_qs << windows << true;
        QTest::newRow("windows trailing space") << u"a "_qs << windows << true;
        QTest::newRow("windows hidden") << u".bmp"_qs << windows << false;
    }

    void fileNameProblem()
    {
        QFETCH(QString, fileName);
        QFETCH(NameRules, rules);
        QFETCH(bool, refused);
        const QString problem = SaveTarget::fileNameProblem(fileName, rules, 248);
        QCOMPARE(!problem.isEmpty(), refused);
        if (refused) {
            // A sentence for the user, not a code.
            QVERIFY(problem.endsWith(QLatin1Char('.')) || problem.endsWith(QLatin1Char('*')));
        }
    }

    void lengthCountsBytesOnPosixAndUnitsOnWindows_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<NameRules>("rules");
        QTest::addColumn<bool>("refused");

        const QString e(QChar(0x00e9)); // two bytes in UTF-8
        QTest::newRow("posix at limit") << QString(10, u'a') << NameRules::Posix << false;
        QTest::newRow("posix over limit") << QString(11, u'a') << NameRules::Posix << true;
        QTest::newRow("posix multibyte") << e.repeated(6) << NameRules::Posix << true;
        QTest::newRow("posix multibyte fits") << e.repeated(5) << NameRules::Posix << false;
        QTest::newRow("windows multibyte") << e.repeated(10) << NameRules::Windows << false;
        QTest::newRow("windows over limit") << e.repeated(11) << NameRules::Windows << true;
    }

    void lengthCountsBytesOnPosixAndUnitsOnWindows()
    {
        QFETCH(QString, fileName);
        QFETCH(NameRules, rules);
        QFETCH(bool, refused);
        QCOMPARE(!SaveTarget::fileNameProblem(fileName, rules, 10).isEmpty(), refused);
    }

#ifdef Q_OS_LINUX
    void longestNameLeavesRoomForTheTemporaryName()
    {
        // ext4 and tmpfs both allow 255 bytes; ".XXXXXX" must still fit behind the name.
        QCOMPARE(SaveTarget::maxFileNameLength(m_root), 255 - 7);
        const int typedMax = SaveTarget::maxFileNameLength(m_root) - 4;
        QVERIFY(SaveTarget::fullName(m_root, QString(typedMax, u'a')).isValid());
        const auto tooLong = SaveTarget::fullName(m_root, QString(typedMax + 1, u'a'));
        QVERIFY(!tooLong.isValid());
        QVERIFY2(tooLong.refusal.contains(u"te lang"_qs), qPrintable(tooLong.refusal));
    }

    void pathTooLongIsRefused()
    {
        // Folders nested until the full name passes what the system takes as a path (the
        // folders need not exist for the rule).
        QString folder = m_root;
        const QString part(200, u'm');
        while (folder.toUtf8().size() < 4096 - 15) {
            folder += part + QLatin1Char('/');
        }
        const auto name = SaveTarget::fullName(folder, u"emoticon"_qs);
        QVERIFY(!name.isValid());
        QVERIFY2(name.refusal.contains(u"pad"_qs), qPrintable(name.refusal));
    }
#endif

    void separatorInTheNameIsRefused()
    {
        QVERIFY(QDir(m_root).mkdir(u"sub"_qs));
        const auto name = SaveTarget::fullName(m_root, u"sub/emoticon"_qs);
        QVERIFY(!name.isValid());
        QVERIFY(!QFile::exists(m_root + u"sub/emoticon.bmp"_qs));
    }

    void isFolder()
    {
        QVERIFY(SaveTarget::isFolder(m_root));
        QVERIFY(SaveTarget::isFolder(m_dir->path()));
        QVERIFY(QDir(m_root).mkdir(u"weg"_qs));
        QVERIFY(SaveTarget::isFolder(m_root + u"weg/"_qs));
        QVERIFY(QDir(m_root).rmdir(u"weg"_qs));
        QVERIFY(!SaveTarget::isFolder(m_root + u"weg/"_qs));
        QVERIFY(touch(m_root + u"bestand"_qs));
        QVERIFY(!SaveTarget::isFolder(m_root + u"bestand"_qs));
        QVERIFY(!SaveTarget::isFolder(m_root + u"bestand/"_qs));
        QVERIFY(!SaveTarget::isFolder(QString()));
    }

    void existingAt_data()
    {
        QTest::addColumn<QString>("present"); // what is made first: "file:x", "dir:x", ...
        QTest::addColumn<QString>("asked");
        QTest::addColumn<Existing>("expected");

        QTest::newRow("nothing") << QString() << u"emoticon.bmp"_qs << Existing::Nothing;
        QTest::newRow("file") << u"file:emoticon.bmp"_qs << u"emoticon.bmp"_qs << Existing::File;
        QTest::newRow("hidden file") << u"file:.bmp"_qs << u".bmp"_qs << Existing::File;
        QTest::newRow("hidden named")
            << u"file:.geheim.bmp"_qs << u".geheim.bmp"_qs << Existing::File;
        QTest::newRow("star matches only itself")
            << u"file:emoticon.bmp"_qs << u"*.bmp"_qs << Existing::Nothing;
        QTest::newRow("question mark matches only itself")
            << u"file:a.bmp"_qs << u"?.bmp"_qs << Existing::Nothing;
        QTest::newRow("brackets match only themselves")
            << u"file:a.bmp"_qs << u"[a].bmp"_qs << Existing::Nothing;
        QTest::newRow("star named file") << u"file:*.bmp"_qs << u"*.bmp"_qs << Existing::File;
        QTest::newRow("folder") << u"dir:emoticon.bmp"_qs << u"emoticon.bmp"_qs << Existing::Other;
#ifdef Q_OS_UNIX
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
        QCOMPARE(SaveTarget::existingAt(m_root + asked), expected);
    }

private:
    std::optional<QTemporaryDir> m_dir;
    QString m_root;
};

QTEST_GUILESS_MAIN(TestSaveTarget)
#include "tst_savetarget.moc"
