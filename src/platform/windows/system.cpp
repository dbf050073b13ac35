// The platform services on Windows.

#include "system.h"

#include <QDir>
#include <QDirIterator>
#include <QFileDevice>
#include <QStorageInfo>

#include <atomic>

#include <io.h>
#include <qt_windows.h>

namespace System {

namespace {

// What NTFS, exFAT and FAT with long names allow, in UTF-16 units.
constexpr qsizetype windowsNameMax = 255;

std::wstring nativePath(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

// The path in the form that is not held to MAX_PATH, as Qt uses for its own file work: a
// folder that the folder list opens and a name of 255 units are written wherever they are.
std::wstring longPath(const QString& path)
{
    const QString native = QDir::toNativeSeparators(QDir::cleanPath(QDir(path).absolutePath()));
    if (native.startsWith(u"\\\\?\\"_qs) || native.startsWith(u"\\\\.\\"_qs)) {
        return native.toStdWString();
    }
    if (native.startsWith(u"\\\\"_qs)) {
        return (u"\\\\?\\UNC\\"_qs + native.mid(2)).toStdWString();
    }
    return (u"\\\\?\\"_qs + native).toStdWString();
}

bool isRemoteDrive(const QString& rootPath)
{
    const UINT type = ::GetDriveTypeW(nativePath(rootPath).c_str());
    return type == DRIVE_REMOTE || type == DRIVE_NO_ROOT_DIR || type == DRIVE_UNKNOWN;
}

// The attributes a replacing file takes over from the one it replaces.
constexpr DWORD keptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                 FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

DWORD attributesOf(const QString& path)
{
    return ::GetFileAttributesW(longPath(path).c_str());
}

bool move(const QString& from, const QString& to, DWORD flags)
{
    return ::MoveFileExW(longPath(from).c_str(), longPath(to).c_str(), flags) != 0;
}

bool isHeld(const QString& path)
{
    // Replacing a file takes the right to delete it. Asked for that while sharing everything
    // ourselves, Windows refuses only when another handle does not share deletion: a viewer,
    // an editor or a virus scanner that holds the file open. (It reports such a replacement
    // as "access denied", the same as a missing permission.)
    const HANDLE handle = ::CreateFileW(
        longPath(path).c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
        ::CloseHandle(handle);
        return false;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// The stop requests. The handler runs on a thread of its own: it notes the request (plus one,
// as Ctrl+C is event 0) and waits until the work has cleared up, since for a closed window
// the system ends the program as soon as it returns.
std::atomic<DWORD> requestedEvent{0};
HANDLE clearedUp = nullptr;

BOOL WINAPI noteStopRequest(DWORD event)
{
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        break;
    default:
        return FALSE;
    }
    requestedEvent.store(event + 1);
    ::WaitForSingleObject(clearedUp, INFINITE);
    return TRUE;
}

} // namespace

int lastError()
{
    return static_cast<int>(::GetLastError());
}

WriteProblem writeProblemOf(int error)
{
    switch (static_cast<DWORD>(error)) {
    case ERROR_ACCESS_DENIED:
        return WriteProblem::NoPermission;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return WriteProblem::InUse;
    case ERROR_WRITE_PROTECT:
        return WriteProblem::ReadOnlyMedium;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return WriteProblem::DiskFull;
    case ERROR_FILENAME_EXCED_RANGE:
        return WriteProblem::NameTooLong;
    case ERROR_INVALID_NAME: // also a name that is too long: the writer looks at the name
        return WriteProblem::Unknown;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_FILE_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
        return WriteProblem::FolderGone;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return WriteProblem::AlreadyExists;
    default:
        return WriteProblem::Unknown;
    }
}

int flushToDisk(QFileDevice& file)
{
    const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle()));
    if (handle == INVALID_HANDLE_VALUE || !::FlushFileBuffers(handle)) {
        return lastError();
    }
    return 0;
}

Move moveIntoPlace(const QString& from, const QString& to, bool replace)
{
    // Without MOVEFILE_REPLACE_EXISTING the move fails when anything has the name.
    DWORD flags = MOVEFILE_WRITE_THROUGH;
    if (replace) {
        flags |= MOVEFILE_REPLACE_EXISTING;
    }
    if (move(from, to, flags)) {
        return {MoveOutcome::Moved, 0};
    }
    int error = lastError();
    // A hidden or system file may refuse to be replaced while it has those attributes: they
    // are taken off for the move (the new file already carries them) and put back if the
    // move fails all the same. A read-only file is not touched.
    const DWORD old = replace ? attributesOf(to) : INVALID_FILE_ATTRIBUTES;
    if (error == ERROR_ACCESS_DENIED && old != INVALID_FILE_ATTRIBUTES &&
        (old & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0 &&
        (old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0 &&
        ::SetFileAttributesW(longPath(to).c_str(),
                             old & ~(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))) {
        if (move(from, to, flags)) {
            return {MoveOutcome::Moved, 0};
        }
        error = lastError();
        ::SetFileAttributesW(longPath(to).c_str(), old);
    }
    if (!replace && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)) {
        return {MoveOutcome::TargetExists, 0};
    }
    return {MoveOutcome::Failed, error};
}

void keepAttributes(const QString& from, const QString& to)
{
    const DWORD old = attributesOf(from);
    const DWORD now = attributesOf(to);
    if (old == INVALID_FILE_ATTRIBUTES || now == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    const DWORD kept = (now & ~keptAttributes) | (old & keptAttributes);
    ::SetFileAttributesW(longPath(to).c_str(), kept == 0 ? FILE_ATTRIBUTE_NORMAL : kept);
}

bool isReadOnlyFile(const QString& path)
{
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) ==
               FILE_ATTRIBUTE_READONLY;
}

bool isInUse(const QString& path)
{
    if (isHeld(path)) {
        return true;
    }
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return false;
    }
    // A folder cannot be moved while a file in it is held so.
    QDirIterator inside(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
    while (inside.hasNext()) {
        if (isHeld(inside.next())) {
            return true;
        }
    }
    return false;
}

bool mayEnter(const QString& folder)
{
    Q_UNUSED(folder);
    return true; // what may be read may be entered
}

qsizetype nameMax(const QString& folder)
{
    Q_UNUSED(folder);
    return windowsNameMax;
}

qsizetype pathMax(const QString& folder)
{
    Q_UNUSED(folder);
    return 0; // not checked: Windows reports a path that is too long when it is written
}

QString volumeLabel(const QString& rootPath)
{
    // "c:", with the volume's name where the drive is ready and has one: "c: [SYSTEEM]". A
    // network drive is not asked: its server may not answer.
    const QString letter = rootPath.left(2).toLower();
    if (isRemoteDrive(rootPath)) {
        return letter;
    }
    const QStorageInfo info(rootPath);
    const QString name = info.isReady() ? info.name() : QString();
    return name.isEmpty() ? letter : QStringLiteral("%1 [%2]").arg(letter, name);
}

void catchStopRequests()
{
    // One event for the life of the program: a handler that is called as the requests are
    // released may still be on its way to waiting for it.
    if (clearedUp == nullptr) {
        clearedUp = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    ::ResetEvent(clearedUp);
    ::SetConsoleCtrlHandler(noteStopRequest, TRUE);
}

void releaseStopRequests()
{
    // A handler that waits is let go first: the system holds its list of handlers while it
    // calls one, so the handler could not be taken off before it returns.
    ::SetEvent(clearedUp);
    ::SetConsoleCtrlHandler(noteStopRequest, FALSE);
}

int stopRequest()
{
    return static_cast<int>(requestedEvent.load());
}

void endAsRequested(int request)
{
    if (request != 0) {
        // The exit code of a console program that Ctrl+C ends.
        ::ExitProcess(static_cast<UINT>(STATUS_CONTROL_C_EXIT));
    }
}

QList<Volume> listVolumes()
{
    QList<Volume> volumes;
    const DWORD drives = ::GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if ((drives & (DWORD{1} << i)) != 0) {
            const QString root = QChar(u'A' + i) + QStringLiteral(":/");
            volumes.append({root, volumeLabel(root)});
        }
    }
    return volumes;
}

namespace {

// The key of a program's settings, HKEY_CURRENT_USER\Software\application\section, open
// for as long as this lives.
class SettingsKey
{
public:
    SettingsKey(const QString& application, const QString& section, bool forWriting)
    {
        const std::wstring path = (u"Software\\"_qs + application + u'\\' + section).toStdWString();
        const LSTATUS status =
            forWriting
                ? ::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                    nullptr, &m_key, nullptr)
                : ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &m_key);
        if (status != ERROR_SUCCESS) {
            m_key = nullptr;
        }
    }
    ~SettingsKey()
    {
        if (m_key != nullptr) {
            ::RegCloseKey(m_key);
        }
    }
    SettingsKey(const SettingsKey&) = delete;
    SettingsKey& operator=(const SettingsKey&) = delete;

    HKEY handle() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

} // namespace

// Qt's own settings would write a string that begins with "@" as "@@...", which every other
// reader of the registry would then take for the value: the registry is read and written here
// directly.
std::optional<QString> readSetting(const QString& application, const QString& section,
                                   const QString& key)
{
    const SettingsKey settings(application, section, false);
    if (settings.handle() == nullptr) {
        return std::nullopt;
    }
    const std::wstring name = key.toStdWString();
    // The value may change between asking its size and reading it: then ask again.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD bytes = 0;
        if (::RegGetValueW(settings.handle(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr,
                           nullptr, &bytes) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
        DWORD read = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        const LSTATUS status = ::RegGetValueW(settings.handle(), nullptr, name.c_str(),
                                              RRF_RT_REG_SZ, nullptr, text.data(), &read);
        if (status == ERROR_MORE_DATA) {
            continue;
        }
        if (status != ERROR_SUCCESS) {
            return std::nullopt;
        }
        // What was read ends with its terminating null.
        text.resize(read / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0') {
            text.pop_back();
        }
        return QString::fromStdWString(text);
    }
    return std::nullopt;
}

bool writeSetting(const QString& application, const QString& section, const QString& key,
                  const QString& value)
{
    const SettingsKey settings(application, section, true);
    if (settings.handle() == nullptr) {
        return false;
    }
    const std::wstring name = key.toStdWString();
    const std::wstring text = value.toStdWString();
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(settings.handle(), name.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()), bytes) == ERROR_SUCCESS;
}

} // namespace System
