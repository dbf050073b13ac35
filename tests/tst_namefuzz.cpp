// Generated file names against the rules that turn a folder and a typed name into the file a
// face is saved to. Every run tries at least 100 000 names made of separators, dots,
// wildcards, control characters, spaces, multi-byte and broken characters, in short, long and
// borderline lengths, in a folder of the temporary folder and in one near the longest path,
// and checks for each one:
//
// - fullName neither throws nor crashes, and keeps folder + name + ".bmp" as the path;
// - a name is accepted exactly when the system itself creates that file in the folder
//   (open() with O_CREAT | O_EXCL, the file removed again). A name with a NUL or a '/' is
//   never asked about: a NUL ends the system's path and a '/' leads into another folder, so
//   such a name must be refused;
// - for a sample, an accepted name is written through the program's own writer and lands as
//   the one new entry of the folder, found by existingAt.
//
// The names come from a seeded generator. The seed is printed at the start; set
// SNOETJESMAL_NAMEFUZZ_SEED to run the same names again, SNOETJESMAL_NAMEFUZZ_COUNT for more.

#include "atomicfile.h"
#include "fileprobe.h"
#include "native.h"
#include "savetarget.h"

#include "folderfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <source_location>

#include <fcntl.h>
#include <unistd.h>

namespace {

// What Linux file systems hold: a file name of at most 255 bytes, a path of fewer than 4096.
constexpr qsizetype nameMax = 255;
constexpr qsizetype pathMax = 4096;

constexpr int defaultCount = 100'000;
// One name in this many is also tried on the disk, up to the limit.
constexpr int diskSampleEvery = 64;
constexpr int diskSampleLimit = 800;

std::uint64_t seedFromEnvironment()
{
    bool ok = false;
    const auto given = qEnvironmentVariable("SNOETJESMAL_NAMEFUZZ_SEED").toULongLong(&ok, 0);
    return ok ? given : QRandomGenerator::system()->generate64();
}

int countFromEnvironment()
{
    bool ok = false;
    const int given = qEnvironmentVariableIntValue("SNOETJESMAL_NAMEFUZZ_COUNT", &ok);
    return ok && given > defaultCount ? given : defaultCount;
}

// The seed of this run, the same for every test function so that one value repeats it all.
std::uint64_t runSeed()
{
    static const std::uint64_t seed = seedFromEnvironment();
    return seed;
}

// Makes names from a seeded std::mt19937_64, whose output the C++ standard fixes; the
// choices are taken with plain modulo so that a seed gives the same names everywhere.
class NameGenerator
{
public:
    explicit NameGenerator(std::uint64_t seed) : m_random(seed) {}

    // A name whose byte length tends to lie near the given limits, among others.
    QString next(std::initializer_list<qsizetype> borders)
    {
        switch (pick(10)) {
        case 0:
            return {};
        case 1:
        case 2:
        case 3:
        case 4: { // a few pieces of any kind
            QString name;
            for (int n = 1 + pick(6); n > 0; --n) {
                name += piece();
            }
            return name;
        }
        case 5:
        case 6:
        case 7: { // grown a character at a time to just below, at or just past a limit
            const auto border = *(borders.begin() + pick(static_cast<int>(borders.size())));
            const qsizetype target = border - 10 + pick(21);
            QString name;
            qsizetype bytes = 0; // near enough: a broken surrogate may pair up with the next
            name.reserve(target + 8);
            while (bytes < target) {
                if (pick(4) == 0) {
                    const QString more = piece();
                    name += more;
                    bytes += more.toUtf8().size();
                } else {
                    const QChar c = lengthFiller();
                    name += c;
                    bytes += c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 ? 2 : 3;
                }
            }
            return name;
        }
        default: { // many pieces, and long runs of one character
            QString name;
            for (int n = 8 + pick(32); n > 0; --n) {
                name += pick(8) == 0 ? QString(1 + pick(300), lengthFiller()) : piece();
            }
            return name;
        }
        }
    }

private:
    int pick(int n) { return static_cast<int>(m_random() % static_cast<std::uint64_t>(n)); }

    template <typename T, std::size_t N> const T& oneOf(const std::array<T, N>& items)
    {
        return items[static_cast<std::size_t>(pick(static_cast<int>(N)))];
    }

    // Characters of one to four bytes, to fill a name up to a length.
    QChar lengthFiller()
    {
        static const std::array<char16_t, 8> fillers = {u'a',      u'Z',      u'7',      u'_',
                                                        u'\u00e9', u'\u20ac', u'\u4e2d', u'-'};
        return QChar(oneOf(fillers));
    }

    QString piece()
    {
        static const std::array<const char16_t*, 10> separatorsAndDots = {
            u"/", u"\\", u"//", u".", u"..", u"...", u"./", u"../", u"/..", u"\\..\\"};
        static const std::array<char16_t, 24> wildcards = {
            u'*',  u'?', u'[', u']', u'{', u'}', u'~', u'$', u'!', u'%', u'&', u';',
            u'\'', u'"', u'`', u'<', u'>', u':', u'|', u'#', u'@', u'^', u'=', u'+'};
        static const std::array<char16_t, 7> spaces = {u' ',      u'\t',     u'\n',    u'\r',
                                                       u'\u00a0', u'\u3000', u'\u2028'};
        // Accents, the euro sign, a CJK character, a combining mark, direction and
        // zero-width marks, a byte-order mark, the replacement character.
        static const std::array<char16_t, 10> multiByte = {
            u'\u00e9', u'\u00df', u'\u20ac', u'\u4e2d', u'\u0301',
            u'\u202e', u'\u200b', u'\ufeff', u'\ufffd', u'\u0416'};
        // Characters outside the basic plane, written as surrogate pairs.
        static const std::array<char32_t, 4> astral = {U'\U0001F600', U'\U0001F44D', U'\U00020BB7',
                                                       U'\U0010FFFF'};
        static const std::array<const char16_t*, 6> devices = {u"CON",  u"nul", u"COM1",
                                                               u"LPT9", u"aux", u"PRN"};

        switch (pick(12)) {
        case 0: {
            QString word;
            for (int n = 1 + pick(8); n > 0; --n) {
                word += QChar(u'a' + pick(26));
            }
            return word;
        }
        case 1:
            return QString::fromUtf16(oneOf(separatorsAndDots));
        case 2:
            return QString(QChar(oneOf(wildcards)));
        case 3: // control characters, NUL rarely
            return QString(QChar(pick(16) == 0 ? 0 : (pick(8) == 0 ? 0x7f : 1 + pick(31))));
        case 4:
            return QString(QChar(oneOf(spaces)));
        case 5:
            return QString(QChar(oneOf(multiByte)));
        case 6: {
            const char32_t c = oneOf(astral);
            return QString::fromUcs4(&c, 1);
        }
        case 7: // a surrogate without its other half
            return QString(
                QChar(static_cast<char16_t>((pick(2) == 0 ? 0xd800 : 0xdc00) + pick(0x400))));
        case 8:
            return QString::fromUtf16(oneOf(devices));
        case 9:
            return QStringLiteral(".bmp");
        case 10:
            return QString(QChar(0x80 + pick(0x780))); // two-byte range
        default:
            return QString::number(pick(1000));
        }
    }

    std::mt19937_64 m_random;
};

// A name as code points, readable in a failure message whatever it holds.
QString printable(const QString& name)
{
    QString text;
    for (const QChar c : name) {
        if (c.unicode() >= 0x21 && c.unicode() < 0x7f && c != u'\\') {
            text += c;
        } else {
            text += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
    }
    return u'"' + text + u'"';
}

// One generated name, and how to tell which when a check fails.
struct Case
{
    int index;
    QString typed;

    // Records the failure with everything needed to repeat it.
    void fail(const QString& what,
              std::source_location where = std::source_location::current()) const
    {
        const QString message = QStringLiteral("%1; name %2 of seed %3: %4")
                                    .arg(what)
                                    .arg(index)
                                    .arg(runSeed())
                                    .arg(printable(typed));
        QTest::qFail(qPrintable(message), where.file_name(), static_cast<int>(where.line()));
    }
};

// Whether the system creates a file of exactly this path; the file is removed again. Any
// answer other than a new file or a name too long fails the case.
std::optional<bool> systemCreates(const QString& path)
{
    const QByteArray bytes = QFile::encodeName(path);
    const int fd = ::open(bytes.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        ::unlink(bytes.constData());
        return true;
    }
    return errno == ENAMETOOLONG ? std::optional<bool>(false) : std::nullopt;
}

} // namespace

class TestNameFuzz : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qInfo("seed %llu (set SNOETJESMAL_NAMEFUZZ_SEED=%llu to repeat), %d names a folder",
              static_cast<unsigned long long>(runSeed()),
              static_cast<unsigned long long>(runSeed()), countFromEnvironment());
        QVERIFY(m_base.isValid());
        // The chosen folder sits inside another, so that anything written beside it is seen.
        m_outer = m_base.path() + u"/outer"_qs;
        m_shallow = m_outer + u"/folder/"_qs;
        QVERIFY(QDir().mkpath(m_shallow));

        // A folder so deep that its path leaves room for names of only some 150 bytes.
        QString deep = m_base.path() + u"/deep/"_qs;
        while (QFile::encodeName(deep).size() < pathMax - 200) {
            deep += QString(std::min<qsizetype>(200, pathMax - 200 - deep.size()), u'd') + u'/';
        }
        QVERIFY2(QDir().mkpath(deep), qPrintable(deep.left(80)));
        m_deep = deep;
    }

    void generatedNames_data()
    {
        QTest::addColumn<bool>("deep");
        QTest::addColumn<quint64>("salt"); // gives each folder names of its own
        QTest::newRow("folder in the temporary folder") << false << quint64{1};
        QTest::newRow("folder near the longest path") << true << quint64{2};
    }

    void generatedNames()
    {
        QFETCH(bool, deep);
        QFETCH(quint64, salt);
        const QString folder = deep ? m_deep : m_shallow;
        const qsizetype folderBytes = QFile::encodeName(folder).size();
        const qsizetype pathRoom = pathMax - 1 - folderBytes;
        const qsizetype extensionBytes = SaveTarget::extension.size();

        const SaveTarget::NameLimits limits = FileProbe::nameLimits(folder);
        NameGenerator names(runSeed() + salt * 0x9E3779B97F4A7C15ULL);
        const int count = countFromEnvironment();
        int accepted = 0;
        int triedOnDisk = 0;
        for (int i = 0; i < count; ++i) {
            const Case name{i, names.next({nameMax - extensionBytes, nameMax - extensionBytes + 1,
                                           pathRoom - extensionBytes})};

            SaveTarget::FullName target;
            try {
                target = SaveTarget::fullName(folder, name.typed, limits, Native::nameRules());
            } catch (...) {
                return name.fail(u"fullName threw"_qs);
            }

            const QString fileName = name.typed + SaveTarget::extension;
            if (target.path != folder + fileName) {
                return name.fail(u"the path is not folder + name + extension: "_qs + target.path);
            }
            std::optional<bool> created = false;
            if (!fileName.contains(QChar(0)) && !fileName.contains(u'/')) {
                created = systemCreates(target.path);
            }
            if (!created) {
                return name.fail(u"the system neither creates the file nor finds its name "
                                 "too long: "_qs +
                                 QString::fromLocal8Bit(strerror(errno)));
            }
            if (target.isValid() != *created) {
                return name.fail(target.isValid() ? u"accepted, but the system refuses it"_qs
                                                  : u"refused, but the system creates it"_qs);
            }
            if (target.isValid()) {
                ++accepted;
                if (i % diskSampleEvery == 0 && triedOnDisk < diskSampleLimit) {
                    ++triedOnDisk;
                    if (!checkCreated(folder, target.path, name)) {
                        return;
                    }
                }
            }
        }
        qInfo("%d names, %d accepted, %d written", count, accepted, triedOnDisk);
        // The generator must reach both sides of the rules.
        QVERIFY(accepted > count / 10);
        QVERIFY(accepted < count - count / 10);
    }

    // Whatever was written, nothing is left outside the chosen folders.
    void cleanupTestCase()
    {
        QCOMPARE(entries(m_outer), QStringList{u"folder"_qs});
        QCOMPARE(entries(m_shallow), QStringList{});
        QCOMPARE(entries(m_deep), QStringList{});
    }

private:
    // An accepted name is really written, as the one new entry of the folder, under the bytes
    // the name has.
    static bool checkCreated(const QString& folder, const QString& path, const Case& name)
    {
        if (FileProbe::existingAt(path) != FileProbe::Existing::Nothing) {
            return name.fail(u"something is there before the file is written"_qs), false;
        }
        if (const WriteResult written = writeFileAtomically(path, "BM", WriteMode::CreateNew);
            !written) {
            return name.fail(u"an accepted name cannot be written: "_qs +
                             QString::number(static_cast<int>(written.problem))),
                   false;
        }
        const QStringList found = entries(folder);
        if (found.size() != 1 ||
            QFile::encodeName(found.front()) != QFile::encodeName(QFileInfo(path).fileName())) {
            return name.fail(u"the folder holds "_qs + found.join(u", "_qs)), false;
        }
        if (FileProbe::existingAt(path) != FileProbe::Existing::File) {
            return name.fail(u"the written file is not found by existingAt"_qs), false;
        }
        if (!QFile::remove(path)) {
            return name.fail(u"the written file cannot be removed"_qs), false;
        }
        return true;
    }

    // In memory where the system offers it: 200 000 files made and removed again are then
    // not held up by a disk's journal.
    QTemporaryDir m_base{QFileInfo(u"/dev/shm"_qs).isWritable()
                             ? u"/dev/shm/snoetjesmal-namefuzz-XXXXXX"_qs
                             : QDir::tempPath() + u"/snoetjesmal-namefuzz-XXXXXX"_qs};
    QString m_outer;
    QString m_shallow;
    QString m_deep;
};

QTEST_GUILESS_MAIN(TestNameFuzz)
#include "tst_namefuzz.moc"
