#include "saveflow.h"

#include "fileprobe.h"
#include "imageencoding.h"
#include "messages.h"
#include "native.h"
#include "savetarget.h"

#include <QFileInfo>

namespace {

constexpr MsgBoxStyles errorStyle =
    MsgBoxStyle::OkOnly | MsgBoxStyle::Exclamation | MsgBoxStyle::SystemModal;
constexpr MsgBoxStyles replaceStyle =
    MsgBoxStyle::YesNo | MsgBoxStyle::Information | MsgBoxStyle::SystemModal;

} // namespace

SaveFlow::SaveFlow(MessageBoxes& boxes, ImageFileWriter writer)
    : m_boxes(boxes), m_writer(std::move(writer))
{
}

bool SaveFlow::save(QWidget* owner, const QString& folder, const QString& name,
                    const std::function<QImage()>& takePicture)
{
    const SaveTarget::NameRules rules = Native::nameRules();
    const QString folderPath = SaveTarget::withSeparator(folder, rules);
    if (!FileProbe::isFolder(folderPath)) {
        showError(owner, Messages::missingFolder());
        return false;
    }

    const SaveTarget::FullName target =
        SaveTarget::fullName(folderPath, name, FileProbe::nameLimits(folderPath), rules);
    if (!target.isValid()) {
        showError(owner, Messages::nameRefusal(target.problem));
        return false;
    }

    // A file is replaced only after a yes. Where nothing was there, the file is made only if
    // that is still so; one that appeared meanwhile brings the question after all.
    QImage picture;
    WriteResult written;
    constexpr int attempts = 3;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        WriteMode mode = WriteMode::CreateNew;
        switch (FileProbe::existingAt(target.path)) {
        case FileProbe::Existing::Nothing:
            break;
        case FileProbe::Existing::File:
            if (MsgBox(m_boxes, owner,
                       QStringLiteral("Het bestand op de aangegeven locatie bestaat al, wil je "
                                      "het bestand vervangen?"),
                       replaceStyle, QStringLiteral("Bestand vervangen")) != MsgBoxAnswer::Yes) {
                return false;
            }
            mode = WriteMode::Replace;
            break;
        case FileProbe::Existing::Other:
            showError(owner, Messages::notAFile(QFileInfo(target.path).fileName()));
            return false;
        }

        if (picture.isNull()) {
            picture = takePicture();
        }
        written = m_writer(target.path, picture, mode);
        if (written.problem != WriteProblem::AlreadyExists || mode != WriteMode::CreateNew) {
            break;
        }
    }
    if (!written) {
        showError(owner, Messages::writeFailure(written, ImageFormat::Bmp));
        return false;
    }
    return true;
}

bool SaveFlow::download(QWidget* owner, const QString& name,
                        const std::function<QImage()>& takePicture, const Downloader& downloader)
{
    const QString fileName = name + SaveTarget::extension;
    const SaveTarget::NameProblem problem = SaveTarget::fileNameProblem(
        fileName, SaveTarget::NameRules::Windows, SaveTarget::NameLimits{}.nameMax);
    if (!problem.isNone()) {
        showError(owner, Messages::nameRefusal(problem));
        return false;
    }
    downloader(fileName, encodeBmp(takePicture()));
    return true;
}

void SaveFlow::showError(QWidget* owner, const QString& reason)
{
    MsgBox(m_boxes, owner, QStringLiteral("Fout opgetreden:\r\n") + reason, errorStyle,
           QStringLiteral("Fout"));
}
