#pragma once

#include <QString>

// Where a face is saved: the folder that the folder list shows, the name as typed, and
// ".bmp". These rules build that full name and check it before anything is written, so that
// a name the file system cannot hold is refused with a reason instead of failing halfway.
namespace SaveTarget {

inline const QString extension = QStringLiteral(".bmp");

// The naming rules of a family of file systems. The program follows the rules of the
// system it runs on; both sets exist everywhere so that both can be checked everywhere.
enum class NameRules
{
    Posix,   // '/' separates folders; a name is at most NAME_MAX bytes; only NUL is forbidden
    Windows, // '\' separates folders; reserved characters and device names; 255 UTF-16 units
};

NameRules nativeRules();

// The character that ends a folder path: '\' on Windows, '/' elsewhere.
QChar separator(NameRules rules = nativeRules());

// The folder path with the separator added where it does not already end in one; a root
// such as "/" or "C:\" already does.
QString withSeparator(const QString& folder, NameRules rules = nativeRules());

// True when the path names an existing folder, or a link to one.
bool isFolder(const QString& path);

// Writing a file replaces it through a temporary file next to it, whose name is the file's
// own name with ".XXXXXX" added. A name must leave room for that.
inline constexpr int temporarySuffixLength = 7;

// The longest file name that can be saved in the folder: what its file system allows (in
// bytes of the file name encoding on Posix systems, in UTF-16 units on Windows) less the
// room for the temporary name.
int maxFileNameLength(const QString& folder);

// Why a file name (no folder part) cannot be created under these rules, as a Dutch
// sentence; empty when it can. maxLength counts as maxFileNameLength does.
QString fileNameProblem(const QString& fileName, NameRules rules, int maxLength);

struct FullName
{
    QString path;    // folder + typed name + ".bmp"
    QString refusal; // why no file can be made under that name; empty when one can

    bool isValid() const { return refusal.isEmpty(); }
};

// The full name for a folder that already ends in its separator and a name typed by the
// user. The typed name is used unchanged: not trimmed, and an extension of its own is kept,
// so "foto.bmp" gives "foto.bmp.bmp" and an empty name gives ".bmp".
FullName fullName(const QString& folder, const QString& typedName);

// What is already there under exactly this name. Hidden files count, and wildcard
// characters in the name stand only for themselves.
enum class Existing
{
    Nothing,
    File,  // a file, or a link that leads to one
    Other, // a folder, a link to a folder or to nothing, a device or pipe
};

Existing existingAt(const QString& path);

} // namespace SaveTarget
