#pragma once

#include <QString>

// Where a face is saved: the folder that the folder list shows, the name as typed, and
// ".bmp". These rules build that full name and check it before anything is written, so that
// a name the file system cannot hold is refused with a reason instead of failing halfway.
// They are pure: what the folder's file system allows is passed in (see fileprobe.h).
namespace SaveTarget {

inline const QString extension = QStringLiteral(".bmp");

// The naming rules of a family of file systems. The program follows the rules of the
// system it runs on, which the platform names and hands in; both sets exist everywhere so
// that both can be checked everywhere.
enum class NameRules
{
    Posix,   // '/' separates folders; a name is at most NAME_MAX bytes; only NUL is forbidden
    Windows, // '\' separates folders; reserved characters and device names; 255 UTF-16 units
};

// The character that ends a folder path: '\' on Windows, '/' elsewhere.
QChar separator(NameRules rules);

// The folder path with the separator added where it does not already end in one; a root
// such as "/" or "C:\" already does.
QString withSeparator(const QString& folder, NameRules rules);

// What a folder's file system allows: the longest file name (in bytes of the file name
// encoding under Posix rules, in UTF-16 units under Windows rules), and the longest path
// with its closing NUL in bytes (0 where no path limit is checked).
struct NameLimits
{
    qsizetype nameMax = 255;
    qsizetype pathMax = 0;
};

// Why a name cannot be used.
enum class NameRefusal
{
    None,
    Nul,                // a NUL character
    Separator,          // a character that separates folders
    ControlCharacter,   // a tab or another character below U+0020 (Windows)
    ReservedCharacter,  // one of < > : " / \ | ? * (Windows)
    DeviceName,         // CON, PRN, AUX, NUL, COM1 ... (Windows)
    TrailingDotOrSpace, // (Windows)
    NameTooLong,
    PathTooLong,
};

struct NameProblem
{
    NameRefusal refusal = NameRefusal::None;
    NameRules rules = NameRules::Posix;
    qsizetype length = 0; // NameTooLong: the name's length; PathTooLong: the path's bytes
    qsizetype limit = 0;  // NameTooLong: the longest name; PathTooLong: the longest path
    QString device;       // DeviceName: the device's name as typed

    bool isNone() const { return refusal == NameRefusal::None; }
    friend bool operator==(const NameProblem&, const NameProblem&) = default;
};

// Why a file name (no folder part) cannot be created under these rules; None when it can.
// maxLength counts as NameLimits::nameMax does.
NameProblem fileNameProblem(const QString& fileName, NameRules rules, qsizetype maxLength);

struct FullName
{
    QString path;        // folder + typed name + ".bmp"
    NameProblem problem; // why no file can be made under that name; None when one can

    bool isValid() const { return problem.isNone(); }
};

// The full name for a folder that already ends in its separator and a name typed by the
// user. The typed name is used unchanged: not trimmed, and an extension of its own is kept,
// so "foto.bmp" gives "foto.bmp.bmp" and an empty name gives ".bmp".
FullName fullName(const QString& folder, const QString& typedName, const NameLimits& limits,
                  NameRules rules);

} // namespace SaveTarget
