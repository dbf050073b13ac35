#include "savetarget.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace SaveTarget {

namespace {

#ifdef Q_OS_UNIX
// What Linux and most Posix file systems allow when the folder does not say.
constexpr long posixNameMax = 255;
constexpr long posixPathMax = 4096;
#else
// What NTFS, exFAT and FAT with long names allow, in UTF-16 units.
constexpr int windowsNameMax = 255;
#endif

const QString reservedOnWindows = QStringLiteral("<>:\"/\\|?*");

// Names that Windows gives to devices, whatever extension follows them.
bool isWindowsDeviceName(const QString& fileName)
{
    // Windows ignores what follows the first dot, and spaces before it.
    QString stem = fileName.section(QLatin1Char('.'), 0, 0);
    while (stem.endsWith(QLatin1Char(' '))) {
        stem.chop(1);
    }
    stem = stem.toUpper();
    static const std::array<QString, 6> plain = {
        QStringLiteral("CON"), QStringLiteral("PRN"),    QStringLiteral("AUX"),
        QStringLiteral("NUL"), QStringLiteral("CONIN$"), QStringLiteral("CONOUT$"),
    };
    if (std::find(plain.begin(), plain.end(), stem) != plain.end()) {
        return true;
    }
    if (stem.size() != 4 ||
        !(stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT")))) {
        return false;
    }
    // COM1 to COM9 and LPT1 to LPT9, and the same with a superscript 1, 2 or 3.
    const QChar digit = stem.at(3);
    return (digit >= QLatin1Char('1') && digit <= QLatin1Char('9')) || digit == QChar(0x00b9) ||
           digit == QChar(0x00b2) || digit == QChar(0x00b3);
}

QString tooLong(int length, int maxLength, NameRules rules)
{
    const QString unit =
        rules == NameRules::Posix ? QStringLiteral("bytes") : QStringLiteral("tekens");
    return QStringLiteral("De bestandsnaam is te lang voor deze map: %1 %3 met \"%4\" erbij, "
                          "ten hoogste %2 %3 kan.")
        .arg(length)
        .arg(maxLength)
        .arg(unit, extension);
}

} // namespace

NameRules nativeRules()
{
#ifdef Q_OS_WIN
    return NameRules::Windows;
#else
    return NameRules::Posix;
#endif
}

QChar separator(NameRules rules)
{
    return rules == NameRules::Windows ? QLatin1Char('\\') : QLatin1Char('/');
}

QString withSeparator(const QString& folder, NameRules rules)
{
    // Windows takes '/' as a separator too, so a folder written that way needs no other.
    const bool ends = folder.endsWith(separator(rules)) ||
                      (rules == NameRules::Windows && folder.endsWith(QLatin1Char('/')));
    return ends ? folder : folder + separator(rules);
}

bool isFolder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

int maxFileNameLength(const QString& folder)
{
#ifdef Q_OS_UNIX
    long limit = ::pathconf(QFile::encodeName(folder).constData(), _PC_NAME_MAX);
    if (limit <= 0) {
        limit = posixNameMax;
    }
    return static_cast<int>(std::min(limit, posixPathMax)) - temporarySuffixLength;
#else
    Q_UNUSED(folder);
    return windowsNameMax - temporarySuffixLength;
#endif
}

QString fileNameProblem(const QString& fileName, NameRules rules, int maxLength)
{
    if (fileName.contains(QChar(0))) {
        return QStringLiteral("De bestandsnaam bevat een nulteken; dat kan in geen enkele "
                              "bestandsnaam staan.");
    }
    if (fileName.contains(QLatin1Char('/')) ||
        (rules == NameRules::Windows && fileName.contains(QLatin1Char('\\')))) {
        return rules == NameRules::Windows
                   ? QStringLiteral("De bestandsnaam mag geen \\ of / bevatten: die tekens "
                                    "scheiden mappen.")
                   : QStringLiteral("De bestandsnaam mag geen / bevatten: dat teken scheidt "
                                    "mappen.");
    }
    if (rules == NameRules::Windows) {
        for (const QChar c : fileName) {
            if (c.unicode() < 0x20) {
                return QStringLiteral("De bestandsnaam bevat een stuurteken (zoals een tab); "
                                      "dat kan niet in een bestandsnaam staan.");
            }
            if (reservedOnWindows.contains(c)) {
                return QStringLiteral("De bestandsnaam mag geen van deze tekens bevatten: "
                                      "< > : \" / \\ | ? *");
            }
        }
        if (isWindowsDeviceName(fileName)) {
            return QStringLiteral("\"%1\" is de naam van een apparaat van Windows en kan "
                                  "geen bestandsnaam zijn.")
                .arg(fileName.section(QLatin1Char('.'), 0, 0).trimmed());
        }
        if (fileName.endsWith(QLatin1Char('.')) || fileName.endsWith(QLatin1Char(' '))) {
            return QStringLiteral("Een bestandsnaam mag niet op een punt of een spatie "
                                  "eindigen.");
        }
    }
    const auto length =
        rules == NameRules::Posix ? QFile::encodeName(fileName).size() : fileName.size();
    if (length > maxLength) {
        return tooLong(static_cast<int>(length), maxLength, rules);
    }
    return {};
}

FullName fullName(const QString& folder, const QString& typedName)
{
    const QString fileName = typedName + extension;
    FullName result{folder + fileName,
                    fileNameProblem(fileName, nativeRules(), maxFileNameLength(folder))};
#ifdef Q_OS_UNIX
    if (result.isValid()) {
        long pathMax = ::pathconf(QFile::encodeName(folder).constData(), _PC_PATH_MAX);
        if (pathMax <= 0) {
            pathMax = posixPathMax;
        }
        // The temporary name must fit as well, and the system counts the closing NUL.
        if (QFile::encodeName(result.path).size() + temporarySuffixLength >= pathMax) {
            result.refusal = QStringLiteral("De map en de bestandsnaam samen vormen een te "
                                            "lang pad: ten hoogste %1 bytes kan.")
                                 .arg(pathMax - 1 - temporarySuffixLength);
        }
    }
#endif
    return result;
}

Existing existingAt(const QString& path)
{
    // The exact name: no pattern search, so '*' and '?' are ordinary characters and hidden
    // files are found like any other.
    const QFileInfo info(path);
    if (info.isFile()) {
        return Existing::File;
    }
    // A link that leads nowhere does not "exist", but the name is taken all the same.
    if (info.exists() || info.isSymbolicLink()) {
        return Existing::Other;
    }
    return Existing::Nothing;
}

} // namespace SaveTarget
