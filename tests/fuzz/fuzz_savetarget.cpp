// libFuzzer target: arbitrary bytes as a typed file name, in one of three folders, through
// SaveTarget::fullName. Any exception, sanitizer report or broken rule stops the run:
// - the path is the folder, the name and ".bmp", nothing else;
// - an accepted file name holds no '/' or NUL, so the file lands in the folder itself, and it
//   fits in NAME_MAX (255) bytes and, with the folder and the closing NUL, in PATH_MAX (4096);
// - a refused name breaks one of those limits.
//
// The first byte chooses the folder and whether the rest is read as UTF-8 or as UTF-16
// (which brings surrogates without their other half).

#include "savetarget.h"

#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

constexpr qsizetype nameMax = 255;
constexpr qsizetype pathMax = 4096;

struct Folders
{
    std::filesystem::path base;
    QString shallow;
    QString deep; // leaves room for names of some 150 bytes
};

Folders makeFolders()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "snoetjesmal-fuzz-XXXXXX");
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror("mkdtemp");
        std::abort();
    }
    Folders folders;
    folders.base = pattern;
    folders.shallow = QFile::decodeName(QByteArray::fromStdString(pattern)) + u'/';
    std::string deep = pattern + "/deep/";
    while (deep.size() < pathMax - 200) {
        deep += std::string(std::min<std::size_t>(200, pathMax - 200 - deep.size()), 'd') + '/';
    }
    std::error_code error;
    std::filesystem::create_directories(deep, error);
    if (error) {
        std::fprintf(stderr, "cannot make %s: %s\n", deep.c_str(), error.message().c_str());
        std::abort();
    }
    folders.deep = QFile::decodeName(QByteArray::fromStdString(deep));
    return folders;
}

const Folders& folders()
{
    static const Folders made = makeFolders();
    return made;
}

void removeFolders()
{
    std::error_code ignored;
    std::filesystem::remove_all(folders().base, ignored);
}

[[noreturn]] void broken(const char* rule, const QString& path)
{
    std::fprintf(stderr, "rule broken: %s\npath: %s\n", rule, QFile::encodeName(path).constData());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    folders();
    std::atexit(removeFolders);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    const std::uint8_t choice = data[0];
    const char* const bytes = reinterpret_cast<const char*>(data + 1);
    const auto length = static_cast<qsizetype>(size - 1);

    const QString folder = (choice & 3) == 0   ? folders().shallow
                           : (choice & 3) == 1 ? folders().deep
                           : (choice & 3) == 2 ? QStringLiteral("/")
                                               : folders().shallow;
    const QString typed =
        (choice & 4) == 0
            ? QString::fromUtf8(bytes, length)
            : QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes), length / 2);

    const SaveTarget::FullName target = SaveTarget::fullName(
        folder, typed, SaveTarget::NameLimits{nameMax, pathMax}, SaveTarget::NameRules::Posix);

    const QString fileName = typed + SaveTarget::extension;
    if (target.path != folder + fileName) {
        broken("the path is folder + name + extension", target.path);
    }
    const QByteArray fileBytes = QFile::encodeName(fileName);
    const bool holdable = !fileName.contains(QChar(0)) && !fileName.contains(u'/') &&
                          fileBytes.size() <= nameMax &&
                          QFile::encodeName(target.path).size() + 1 <= pathMax;
    if (target.isValid() && !holdable) {
        broken("an accepted name fits the file system", target.path);
    }
    if (!target.isValid() && holdable) {
        broken("a refused name does not fit the file system", target.path);
    }
    if (!target.isValid() &&
        (target.problem.refusal == SaveTarget::NameRefusal::NameTooLong ||
         target.problem.refusal == SaveTarget::NameRefusal::PathTooLong) &&
        target.problem.length <= target.problem.limit) {
        broken("a refusal for length names a length over the limit", target.path);
    }
    return 0;
}
