#include "facepack.h"

#include "atomicfile.h"
#include "catalogue.h"
#include "faceerror.h"
#include "messages.h"
#include "renderjob.h"
#include "stagedfolder.h"
#include "stylenames.h"

#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <chrono>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

namespace FacePack {

namespace {

using StyleNames::Part;

// Faces written at the same time, so that their waits for the disk overlap, and how often the
// count is told. The Windows build writes them one after another on the caller's thread:
// there a thread that ends after Qt has used its regular-expression engine on it can crash in
// PCRE2's clean-up of its per-thread stack (seen under Wine, with the threads of a QThreadPool
// as with plain ones).
#ifdef Q_OS_WIN
constexpr int writers = 1;
#else
constexpr int writers = 8;
#endif
constexpr int progressInterval = 100; // milliseconds

QString quoted(const QString& text)
{
    return u'"' + text + u'"';
}

// Why the folder cannot become the pack, or an empty string when it can: a new name, or with
// force an earlier pack (one with an index) or an empty folder. A folder with anything else
// in it is never replaced, whatever is asked.
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
    const QDir dir(folder);
    if (!dir.exists(indexName) &&
        !dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
             .isEmpty()) {
        return QStringLiteral("De map %1 is geen pakket (er staat geen %2 in) en wordt niet "
                              "vervangen.")
            .arg(quoted(folder), indexName);
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
    // Each writer takes the next face until none is left.
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
        for (std::size_t i = next++; i < faces.size() && !stopped; i = next++) {
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
    if (!failure.isEmpty()) {
        return failed(failure);
    }

    QString index = QStringLiteral("naam,ogen,mond,bestand\n");
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
    const WriteResult placed =
        staged.place(options.force ? WriteMode::Replace : WriteMode::CreateNew);
    if (!placed) {
        return failed(placed.problem == WriteProblem::AlreadyExists
                          ? QStringLiteral("Er verscheen intussen iets met die naam.")
                          : Messages::writeFailure(placed, options.format));
    }
    return ExitStatus::success;
}

} // namespace FacePack
