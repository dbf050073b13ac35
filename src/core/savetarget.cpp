#include "savetarget.h"

#include <QFile>

#include <algorithm>
#include <array>

namespace SaveTarget {

namespace {

const QString reservedOnWindows = QStringLiteral("<>:\"/\\|?*");

// The name without what follows its first dot and without the spaces before that dot:
// what Windows compares with its device names.
QString deviceStem(const QString& fileName)
{
    QString stem = fileName.section(QLatin1Char('.'), 0, 0);
    while (stem.endsWith(QLatin1Char(' '))) {
        stem.chop(1);
    }
    return stem;
}

// Names that Windows gives to devices, whatever extension follows them.
bool isWindowsDeviceName(const QString& fileName)
{
    const QString stem = deviceStem(fileName).toUpper();
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

NameProblem problem(NameRefusal refusal, NameRules rules)
{
    return {refusal, rules, 0, 0, {}};
}

} // namespace

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

NameProblem fileNameProblem(const QString& fileName, NameRules rules, qsizetype maxLength)
{
    if (fileName.contains(QChar(0))) {
        return problem(NameRefusal::Nul, rules);
    }
    if (fileName.contains(QLatin1Char('/')) ||
        (rules == NameRules::Windows && fileName.contains(QLatin1Char('\\')))) {
        return problem(NameRefusal::Separator, rules);
    }
    if (rules == NameRules::Windows) {
        for (const QChar c : fileName) {
            if (c.unicode() < 0x20) {
                return problem(NameRefusal::ControlCharacter, rules);
            }
            if (reservedOnWindows.contains(c)) {
                return problem(NameRefusal::ReservedCharacter, rules);
            }
        }
        if (isWindowsDeviceName(fileName)) {
            NameProblem device = problem(NameRefusal::DeviceName, rules);
            device.device = deviceStem(fileName).trimmed();
            return device;
        }
        if (fileName.endsWith(QLatin1Char('.')) || fileName.endsWith(QLatin1Char(' '))) {
            return problem(NameRefusal::TrailingDotOrSpace, rules);
        }
    }
    const qsizetype length =
        rules == NameRules::Posix ? QFile::encodeName(fileName).size() : fileName.size();
    if (length > maxLength) {
        return {NameRefusal::NameTooLong, rules, length, maxLength, {}};
    }
    return {};
}

FullName fullName(const QString& folder, const QString& typedName, const NameLimits& limits,
                  NameRules rules)
{
    const QString fileName = typedName + extension;
    FullName result{folder + fileName, fileNameProblem(fileName, rules, limits.nameMax)};
    if (result.isValid() && rules == NameRules::Posix && limits.pathMax > 0) {
        // The system counts the closing NUL.
        const qsizetype bytes = QFile::encodeName(result.path).size();
        if (bytes + 1 > limits.pathMax) {
            result.problem = {NameRefusal::PathTooLong, rules, bytes, limits.pathMax - 1, {}};
        }
    }
    return result;
}

} // namespace SaveTarget
