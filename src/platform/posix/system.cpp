// The platform services on Linux and other Posix systems.

#include "system.h"

#include "mounttable.h"

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QSettings>
#include <QStorageInfo>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef Q_OS_LINUX
#include <sys/syscall.h>
#endif

namespace System {

namespace {

// What Linux and most Posix file systems allow when the folder does not say.
constexpr long defaultNameMax = 255;
constexpr long defaultPathMax = 4096;

long pathconfOr(const QString& folder, int name, long fallback)
{
    const long limit = ::pathconf(QFile::encodeName(folder).constData(), name);
    return limit > 0 ? std::min(limit, defaultPathMax) : fallback;
}

// renameat2 with RENAME_NOREPLACE: fails with EEXIST when the target is there. Called through
// syscall, as older C libraries have no wrapper; ENOSYS where the kernel lacks it.
int renameNoReplace(const char* from, const char* to)
{
#if defined(Q_OS_LINUX) && defined(SYS_renameat2)
    constexpr unsigned int noReplace = 1; // RENAME_NOREPLACE
    return static_cast<int>(::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, noReplace));
#else
    Q_UNUSED(from);
    Q_UNUSED(to);
    errno = ENOSYS;
    return -1;
#endif
}

bool unsupported(int error)
{
    return error == EINVAL || error == ENOSYS || error == ENOTSUP || error == EOPNOTSUPP ||
           error == EPERM;
}

// The new name must survive a power cut too: the folder is pushed onto the disk.
void flushFolderOf(const QByteArray& path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(path)).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

Move moved(const QByteArray& to)
{
    flushFolderOf(to);
    return {MoveOutcome::Moved, 0};
}

Move failed()
{
    return {MoveOutcome::Failed, errno};
}

Move createInPlace(const QByteArray& from, const QByteArray& to)
{
    if (renameNoReplace(from.constData(), to.constData()) == 0) {
        return moved(to);
    }
    if (errno == EEXIST) {
        return {MoveOutcome::TargetExists, 0};
    }
    if (!unsupported(errno)) {
        return failed();
    }
    // A kernel or file system without renameat2: a second link fails as well when the name
    // is taken, and then the temporary name goes.
    if (::link(from.constData(), to.constData()) == 0) {
        ::unlink(from.constData());
        return moved(to);
    }
    if (errno == EEXIST) {
        return {MoveOutcome::TargetExists, 0};
    }
    if (!unsupported(errno)) {
        return failed();
    }
    // A file system without links either (FAT): look, then move. Only a file that appears
    // between the two steps would be replaced.
    struct stat there = {};
    if (::lstat(to.constData(), &there) == 0) {
        return {MoveOutcome::TargetExists, 0};
    }
    if (::rename(from.constData(), to.constData()) == 0) {
        return moved(to);
    }
    return failed();
}

// The stop requests: a handler may do no more than note the signal, in a variable that needs
// no lock.
constexpr std::array stopSignals{SIGINT, SIGTERM, SIGHUP};
std::atomic<int> requestedSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);
std::array<struct sigaction, stopSignals.size()> handledBefore{};
std::array<bool, stopSignals.size()> caught{};

void noteStopRequest(int signal)
{
    requestedSignal.store(signal, std::memory_order_relaxed);
}

} // namespace

int lastError()
{
    return errno;
}

WriteProblem writeProblemOf(int error)
{
    switch (error) {
    case EACCES:
    case EPERM:
        return WriteProblem::NoPermission;
    case EROFS:
        return WriteProblem::ReadOnlyMedium;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return WriteProblem::DiskFull;
    case ENAMETOOLONG:
        return WriteProblem::NameTooLong;
    case ENOENT:
    case ENOTDIR:
        return WriteProblem::FolderGone;
    case EISDIR:
        return WriteProblem::IsFolder;
    case EEXIST:
        return WriteProblem::AlreadyExists;
    default:
        return WriteProblem::Unknown;
    }
}

int flushToDisk(QFileDevice& file)
{
    // A file system that cannot sync (a pipe, a read-only one) loses nothing by it.
    if (::fsync(file.handle()) != 0 && errno != EINVAL && errno != EROFS) {
        return errno;
    }
    return 0;
}

Move moveIntoPlace(const QString& from, const QString& to, bool replace)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (!replace) {
        return createInPlace(source, target);
    }
    if (::rename(source.constData(), target.constData()) == 0) {
        return moved(target);
    }
    return failed();
}

void keepAttributes(const QString& from, const QString& to)
{
    QFile::setPermissions(to, QFileInfo(from).permissions());
}

bool isReadOnlyFile(const QString& path)
{
    Q_UNUSED(path);
    return false; // a file's own permissions do not stop its replacement here
}

bool isInUse(const QString& path)
{
    Q_UNUSED(path);
    return false; // an open file does not stop its replacement here
}

bool mayEnter(const QString& folder)
{
    return ::access(QFile::encodeName(folder).constData(), X_OK) == 0;
}

qsizetype nameMax(const QString& folder)
{
    return pathconfOr(folder, _PC_NAME_MAX, defaultNameMax);
}

qsizetype pathMax(const QString& folder)
{
    return pathconfOr(folder, _PC_PATH_MAX, defaultPathMax);
}

QString volumeLabel(const QString& rootPath)
{
    QString name = QStorageInfo(rootPath).name();
    if (name.isEmpty() && rootPath == QLatin1String("/")) {
        name = QStringLiteral("systeem");
    }
    return name.isEmpty() ? rootPath : QStringLiteral("%1 [%2]").arg(rootPath, name);
}

void catchStopRequests()
{
    for (std::size_t i = 0; i < stopSignals.size(); ++i) {
        struct sigaction before = {};
        caught[i] =
            ::sigaction(stopSignals[i], nullptr, &before) == 0 && before.sa_handler != SIG_IGN;
        if (caught[i]) {
            struct sigaction noting = {};
            noting.sa_handler = noteStopRequest;
            sigemptyset(&noting.sa_mask);
            // A write or a wait for the disk goes on where the signal found it.
            noting.sa_flags = SA_RESTART;
            caught[i] = ::sigaction(stopSignals[i], &noting, &handledBefore[i]) == 0;
        }
    }
}

void releaseStopRequests()
{
    for (std::size_t i = 0; i < stopSignals.size(); ++i) {
        if (caught[i]) {
            ::sigaction(stopSignals[i], &handledBefore[i], nullptr);
            caught[i] = false;
        }
    }
}

int stopRequest()
{
    return requestedSignal.load(std::memory_order_relaxed);
}

void endAsRequested(int request)
{
    if (request == 0) {
        return;
    }
    // Ended by the signal itself, so that a shell or a script sees what ended it (and a
    // loop in a shell stops at Ctrl+C).
    std::signal(request, SIG_DFL);
    std::raise(request);
}

QList<Volume> listVolumes()
{
    // The kernel's table says where each file system is mounted and what it is, without
    // asking the file system itself.
    QByteArray table;
    for (const QString& source :
         {QStringLiteral("/proc/self/mountinfo"), QStringLiteral("/proc/mounts")}) {
        QFile file(source);
        if (file.open(QIODevice::ReadOnly)) {
            table = file.readAll();
        }
        if (!table.isEmpty()) {
            break;
        }
    }
    if (table.isEmpty()) {
        // No such table on this system: Qt asks each volume in turn.
        for (const QStorageInfo& info : QStorageInfo::mountedVolumes()) {
            table += "0 0 0:0 / " + QFile::encodeName(info.rootPath()).replace(' ', "\\040") +
                     " rw - " + info.fileSystemType() + " none rw\n";
        }
    }
    return volumesOfMountTable(table, volumeLabel,
                               [](const QString& root) { return QFileInfo(root).isDir(); });
}

std::optional<QString> readSetting(const QString& application, const QString& section,
                                   const QString& key)
{
    const QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application, section);
    if (settings.status() != QSettings::NoError) {
        return std::nullopt;
    }
    const QVariant value = settings.value(key);
    if (!value.isValid() || !value.canConvert<QString>()) {
        return std::nullopt;
    }
    return value.toString();
}

bool writeSetting(const QString& application, const QString& section, const QString& key,
                  const QString& value)
{
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application, section);
    if (settings.status() != QSettings::NoError) {
        return false;
    }
    settings.setValue(key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace System
