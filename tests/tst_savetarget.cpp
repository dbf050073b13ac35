// The full name of a saved face and the checks made on it before anything is written: the
// separator rule and names that no file system of the kind can hold. Pure rules: the limits
// of a file system are given, nothing is looked up on the disk.

#include "savetarget.h"

#include <QTest>

using SaveTarget::NameRefusal;
using SaveTarget::NameRules;

Q_DECLARE_METATYPE(SaveTarget::NameRules)
Q_DECLARE_METATYPE(SaveTarget::NameRefusal)

namespace {

// What Linux file systems such as ext4 and tmpfs allow.
constexpr SaveTarget::NameLimits linuxLimits{255, 4096};

} // namespace

class TestSaveTarget : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withSeparator_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<NameRules>("rules");
        QTest::addColumn<QString>("expected");

        const auto posix = NameRules::Posix;
        const auto windows = NameRules::Windows;
        QTest::newRow("posix root") << u"/"_qs << posix << u"/"_qs;
        QTest::newRow("posix folder") << u"/home/anna"_qs << posix << u"/home/anna/"_qs;
        QTest::newRow("posix ends in separator") << u"/tmp/"_qs << posix << u"/tmp/"_qs;
        // A backslash is an ordinary character on Linux.
        QTest::newRow("posix backslash is no separator")
            << u"/tmp/a\\"_qs << posix << u"/tmp/a\\/"_qs;
        QTest::newRow("windows drive root") << u"C:\\"_qs << windows << u"C:\\"_qs;
        QTest::newRow("windows folder") << u"C:\\Temp"_qs << windows << u"C:\\Temp\\"_qs;
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

    void fullNameKeepsTheTypedText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("fileName");

        QTest::newRow("own extension") << u"foto.bmp"_qs << u"foto.bmp.bmp"_qs;
        QTest::newRow("empty") << QString() << u".bmp"_qs;
        QTest::newRow("spaces kept") << u"  blij  "_qs << u"  blij  .bmp"_qs;
    }

    void fullNameKeepsTheTypedText()
    {
        QFETCH(QString, typed);
        QFETCH(QString, fileName);
        for (const QString& folder : {u"/"_qs, u"/home/anna/a/b/c/"_qs}) {
            const SaveTarget::FullName name =
                SaveTarget::fullName(folder, typed, linuxLimits, NameRules::Posix);
            QVERIFY(name.isValid());
            QCOMPARE(name.path, folder + fileName);
        }
    }

    void fileNameProblem_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<NameRules>("rules");
        QTest::addColumn<NameRefusal>("refusal");

        const auto posix = NameRules::Posix;
        const auto windows = NameRules::Windows;
        const auto none = NameRefusal::None;
        const auto device = NameRefusal::DeviceName;
        const QString nul(QChar(0));
        QTest::newRow("posix plain") << u"emoticon.bmp"_qs << posix << none;
        QTest::newRow("posix slash") << u"a/b.bmp"_qs << posix << NameRefusal::Separator;
        QTest::newRow("posix backslash") << u"a\\b.bmp"_qs << posix << none;
        QTest::newRow("posix nul") << (u"a"_qs + nul + u"b.bmp"_qs) << posix << NameRefusal::Nul;
        QTest::newRow("posix reserved on windows only") << u"a<>:\"|?*.bmp"_qs << posix << none;
        QTest::newRow("posix device name") << u"CON.bmp"_qs << posix << none;
        QTest::newRow("posix tab") << u"a\tb.bmp"_qs << posix << none;
        QTest::newRow("posix hidden") << u".bmp"_qs << posix << none;

        QTest::newRow("windows plain") << u"emoticon.bmp"_qs << windows << none;
        QTest::newRow("windows nul") << (nul + u".bmp"_qs) << windows << NameRefusal::Nul;
        for (const char c : {'<', '>', ':', '"', '/', '\\', '|', '?', '*'}) {
            QTest::addRow("windows reserved %c", c)
                << (u"a"_qs + QLatin1Char(c) + u"b.bmp"_qs) << windows
                << (c == '/' || c == '\\' ? NameRefusal::Separator
                                          : NameRefusal::ReservedCharacter);
        }
        QTest::newRow("windows tab") << u"a\tb.bmp"_qs << windows << NameRefusal::ControlCharacter;
        QTest::newRow("windows control 1")
            << u"a\x01.bmp"_qs << windows << NameRefusal::ControlCharacter;
        QTest::newRow("windows CON") << u"CON.bmp"_qs << windows << device;
        QTest::newRow("windows nul device") << u"Nul.bmp"_qs << windows << device;
        QTest::newRow("windows aux with more") << u"aux.foto.bmp"_qs << windows << device;
        QTest::newRow("windows device space") << u"CON .bmp"_qs << windows << device;
        QTest::newRow("windows com1") << u"COM1.bmp"_qs << windows << device;
        QTest::newRow("windows lpt9") << u"lpt9.bmp"_qs << windows << device;
        QTest::newRow("windows com superscript")
            << (u"COM"_qs + QChar(0x00b9) + u".bmp"_qs) << windows << device;
        QTest::newRow("windows com0 is a name") << u"COM0.bmp"_qs << windows << none;
        QTest::newRow("windows console is a name") << u"CONSOLE.bmp"_qs << windows << none;
        QTest::newRow("windows lpt10 is a name") << u"LPT10.bmp"_qs << windows << none;
        QTest::newRow("windows device inside") << u"mijn con.bmp"_qs << windows << none;
        QTest::newRow("windows trailing dot")
            << u"a."_qs << windows << NameRefusal::TrailingDotOrSpace;
        QTest::newRow("windows trailing space")
            << u"a "_qs << windows << NameRefusal::TrailingDotOrSpace;
        QTest::newRow("windows hidden") << u".bmp"_qs << windows << none;
    }

    void fileNameProblem()
    {
        QFETCH(QString, fileName);
        QFETCH(NameRules, rules);
        QFETCH(NameRefusal, refusal);
        QCOMPARE(SaveTarget::fileNameProblem(fileName, rules, 255).refusal, refusal);
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
#ifdef Q_OS_WIN
        // Posix names are counted in the bytes the system is handed, which on Windows are
        // not UTF-8.
        if (rules == NameRules::Posix && fileName.front().unicode() > 0x7f) {
            QSKIP("Posix byte counts need a UTF-8 system");
        }
#endif
        QCOMPARE(!SaveTarget::fileNameProblem(fileName, rules, 10).isNone(), refused);
    }

    // The file system's own limits, nothing less: 251 bytes and ".bmp" make 255.
    void longestName()
    {
        QVERIFY(SaveTarget::fullName(u"/tmp/"_qs, QString(251, u'a'), linuxLimits, NameRules::Posix)
                    .isValid());
        const auto tooLong =
            SaveTarget::fullName(u"/tmp/"_qs, QString(252, u'a'), linuxLimits, NameRules::Posix);
        QCOMPARE(tooLong.problem, (SaveTarget::NameProblem{
                                      NameRefusal::NameTooLong, NameRules::Posix, 256, 255, {}}));
    }

    void pathTooLongIsRefused()
    {
        // Folders nested until the full name passes what the system takes as a path (the
        // folders need not exist for the rule).
        QString folder = u"/"_qs;
        const QString part(200, u'm');
        while (folder.size() + 200 < 4096 - 12) {
            folder += part + QLatin1Char('/');
        }
        const auto fits = 4096 - 1 - 4 - folder.size(); // bytes left for the typed name
        QVERIFY(SaveTarget::fullName(folder, QString(fits, u'a'), linuxLimits, NameRules::Posix)
                    .isValid());
        const auto name =
            SaveTarget::fullName(folder, QString(fits + 1, u'a'), linuxLimits, NameRules::Posix);
        QCOMPARE(name.problem.refusal, NameRefusal::PathTooLong);
        QCOMPARE(name.problem.limit, 4095);
    }
};
QTEST_GUILESS_MAIN(TestSaveTarget)
#include "tst_savetarget.moc"
