#include "facepack.h"

#include "atomicfile.h"
#include "catalogue.h"
#include "faceerror.h"
#include "messages.h"
#include "native.h"
#include "renderjob.h"
#include "stagedfolder.h"
#include "stoprequests.h"
#include "stylenames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <vector>

namespace FacePack {

namespace {

using StyleNames::Part;

// How often the count is told while several writers write.
constexpr int progressInterval = 100; // milliseconds

QString quoted(const QString& text)
{
    return u'"' + text + u'"';
}

const QString indexHeader = QStringLiteral("naam,ogen,mond,bestand");

// No index of ours comes near this; a larger file is not read.
constexpr qint64 largestIndex = 1 << 20;

// What a folder holds, as far as an earlier pack goes: the names of its entries, which are all
// files of the pack, or else the first entry that is not one.
struct Contents
{
    QStringList entries;
    QString notOurs;
};

// The files an index of ours lists, or nothing when the file is not such an index: its first
// line is the header, and every other line names a face and its file.
std::optional<QSet<QString>> listedFiles(const QString& path)
{
    QFile index(path);
    if (index.size() > largestIndex || !index.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QStringList lines = QString::fromUtf8(index.readAll()).split(u'\n');
    if (lines.isEmpty() || lines.first() != indexHeader) {
        return std::nullopt;
    }
    QSet<QString> files;
    for (const QString& line : lines.mid(1)) {
        if (line.isEmpty()) {
            continue;
        }
        const QStringList fields = line.split(u',');
        if (fields.size() != 4) {
            return std::nullopt;
        }
        files.insert(fields.last());
    }
    return files;
}

// An earlier pack holds its index and the files the index lists, nothing else: no subfolder,
// no file of the user's. An empty folder holds nothing to lose either.
Contents contentsOf(const QString& folder)
{
    const QFileInfoList found = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    Contents contents;
    std::optional<QSet<QString>> listed;
    const auto isIndex = [](const QFileInfo& entry) {
        return entry.fileName() == indexName && entry.isFile() && !entry.isSymLink();
    };
    if (const auto index = std::find_if(found.begin(), found.end(), isIndex);
        index != found.end()) {
        listed = listedFiles(index->filePath());
    }
    for (const QFileInfo& entry : found) {
        const QString name = entry.fileName();
        const bool ours = entry.isFile() && !entry.isSymLink() && listed &&
                          (name == indexName || listed->contains(name));
        if (!ours) {
            contents.notOurs = name;
            return contents;
        }
        contents.entries.append(name);
    }
    return contents;
}

// The entries that go when a pack replaces the folder: all of them, where the folder holds
// an earlier pack and nothing else.
std::optional<QStringList> replaceable(const QString& folder)
{
    Contents contents = contentsOf(folder);
    if (!contents.notOurs.isEmpty()) {
        return std::nullopt;
    }
    return std::move(contents.entries);
}

// Why the folder cannot become the pack, or an empty string when it can: a new name, or with
// force an earlier pack or an empty folder. A folder with anything else in it is never
// replaced, whatever is asked.
QString refusal(const QString& folder, bool force)
{
    const QFileInfo info(folder);
    if (!info.exists() && !info.isSymLink()) {
        return {};
    }
    if (!info.isDir() || info.isSymLink()) {
        return QStringLiteral("%1 bestaat al en is geen map.").arg(quoted(folder));
    }
    if (!force) {
        return QStringLiteral("De map %1 bestaat al en blijft zoals ze is; --force vervangt een "
                              "eerder geschreven pakket.")
            .arg(quoted(folder));
    }
    if (const Contents contents = contentsOf(folder); !contents.notOurs.isEmpty()) {
        return QStringLiteral("De map %1 wordt niet vervangen: %2 hoort niet bij een eerder "
                              "geschreven pakket. De map blijft zoals ze is.")
            .arg(quoted(folder), quoted(contents.notOurs));
    }
    return {};
}

} // namespace

QString fileName(int eyes, int mouth, ImageFormat format)
{
    return QStringLiteral("%1-%2.%3")
        .arg(StyleNames::nameOf(Part::Eyes, eyes), StyleNames::nameOf(Part::Mouth, mouth),
             extensionOf(format));
}

int write(const RenderOptions& options, QTextStream& err, const Progress& progress)
{
    const QString folder = options.output;
    if (const QString reason = refusal(folder, options.force); !reason.isEmpty()) {
        reportError(err, reason);
        return ExitStatus::writeFailed;
    }
    const auto failed = [&err, &folder](const QString& why) {
        reportError(
            err, QStringLiteral("Het pakket %1 is niet geschreven. %2").arg(quoted(folder), why));
        return ExitStatus::writeFailed;
    };

    // Asked to stop, the pack clears up before the program ends: the staged folder goes, and
    // an earlier pack stays as it was.
    const StopRequests stops;
    StagedFolder staged(folder);
    if (!staged.isValid()) {
        return failed(QStringLiteral("De map kon niet worden aangemaakt."));
    }
    struct Face
    {
        int eyes;
        int mouth;
        QString name;
    };
    std::vector<Face> faces;
    for (int eyes = 0; eyes <= Catalogue::eyeMaximum; ++eyes) {
        for (int mouth = 0; mouth <= Catalogue::mouthMaximum; ++mouth) {
            faces.push_back({eyes, mouth, fileName(eyes, mouth, options.format)});
        }
    }
    const int total = static_cast<int>(faces.size());
    std::atomic<int> written{0};
    std::atomic<bool> stopped{false};
    std::mutex failureMutex;
    QString failure;
    const auto fail = [&](const QString& why) {
        const std::lock_guard lock(failureMutex);
        if (failure.isEmpty()) {
            failure = why;
        }
        stopped = true;
    };
    // Each writer takes the next face until none is left. Faces are written at the same time
    // where the system allows it, so that their waits for the disk overlap.
    const int writers = Native::parallelWrites();
    std::atomic<std::size_t> next{0};
    std::atomic<int> running{writers};
    int told = 0;
    const auto tell = [&] {
        if (const int now = written; now != told) {
            told = now;
            progress(now, total);
        }
    };
    const auto writeFaces = [&](bool onCallersThread) {
        for (std::size_t i = next++; i < faces.size() && !stopped && !stops.requested();
             i = next++) {
            const Face& face = faces[i];
            try {
                const RenderedPicture picture = renderFace(options, face.eyes, face.mouth);
                const WriteResult result =
                    writeImageFile(staged.filePath(face.name), picture.image, options.format,
                                   WriteMode::CreateNew, picture.shownSize);
                if (!result) {
                    fail(Messages::writeFailure(result, options.format));
                    break;
                }
                ++written;
            } catch (const FaceError& error) {
                fail(Messages::faceFailure(error));
            } catch (const std::bad_alloc&) {
                fail(QStringLiteral("Een gezicht kon niet worden gemaakt: te weinig geheugen."));
            } catch (const std::exception&) {
                fail(QStringLiteral("Een gezicht kon niet worden gemaakt."));
            }
            if (onCallersThread) {
                tell();
            }
        }
        --running;
    };
    if (writers == 1) {
        writeFaces(true);
    } else {
        std::vector<std::jthread> threads;
        threads.reserve(writers);
        for (int i = 0; i < writers; ++i) {
            threads.emplace_back(writeFaces, false);
        }
        // The count is told here, on the caller's thread, as it grows.
        while (running > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(progressInterval));
            tell();
        }
    }
    tell();
    const auto interrupted = [&err, &folder] {
        reportError(err, QStringLiteral("Afgebroken: het pakket %1 is niet geschreven; er is niets "
                                        "veranderd.")
                             .arg(quoted(folder)));
        return ExitStatus::writeFailed;
    };
    if (stops.requested()) {
        return interrupted();
    }
    if (!failure.isEmpty()) {
        return failed(failure);
    }

    QString index = indexHeader + u'\n';
    for (const Face& face : faces) {
        index += QStringLiteral("%1,%2,%3,%4\n")
                     .arg(QFileInfo(face.name).completeBaseName())
                     .arg(face.eyes)
                     .arg(face.mouth)
                     .arg(face.name);
    }
    if (const WriteResult result =
            writeFileAtomically(staged.filePath(indexName), index.toUtf8(), WriteMode::CreateNew);
        !result) {
        return failed(Messages::writeFailure(result, options.format));
    }
    if (stops.requested()) {
        return interrupted();
    }
    const StagedFolder::Placement placed =
        options.force ? staged.place(replaceable) : staged.place();
    if (!placed.result) {
        const QString why = placed.result.problem != WriteProblem::AlreadyExists
                                ? Messages::folderFailure(placed.result)
                            : options.force
                                ? QStringLiteral("Wat er met die naam staat, veranderde intussen "
                                                 "en blijft zoals het is.")
                                : QStringLiteral("Er verscheen intussen iets met die naam.");
        return failed(placed.leftOver.isEmpty()
                          ? why
                          : QStringLiteral("%1 Het vorige pakket staat nu in %2.")
                                .arg(why, quoted(placed.leftOver)));
    }
    if (!placed.leftOver.isEmpty()) {
        reportError(err, QStringLiteral("Het pakket %1 is geschreven, maar het vorige pakket kon "
                                        "niet helemaal worden verwijderd: wat ervan over is, "
                                        "staat in %2.")
                             .arg(quoted(folder), quoted(placed.leftOver)));
        return ExitStatus::writeFailed;
    }
    return ExitStatus::success;
}

} // namespace FacePack
