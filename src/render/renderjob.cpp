#include "renderjob.h"

#include "atomicfile.h"
#include "catalogue.h"
#include "combinationsheet.h"
#include "contactsheet.h"
#include "faceerror.h"
#include "faceexport.h"
#include "facepictures.h"
#include "messages.h"
#include "randomvalue.h"
#include "stylenames.h"

namespace {

constexpr QStringView programName = u"snoetjesmal-render";

void report(QTextStream& err, const QString& message)
{
    err << programName << ": " << message << '\n';
    err.flush();
}

QString styleLine(StyleNames::Part part, int value)
{
    const Catalogue::Entry* entry =
        part == StyleNames::Part::Eyes ? Catalogue::findEyes(value) : Catalogue::findMouth(value);
    const QString word =
        part == StyleNames::Part::Eyes ? QStringLiteral("ogen") : QStringLiteral("mond");
    const QString box = entry ? FacePictures::toQString(entry->box) : QStringLiteral("-");
    const QString shows = entry
                              ? QString::fromUtf8(entry->description.data(),
                                                  static_cast<qsizetype>(entry->description.size()))
                              : (part == StyleNames::Part::Eyes ? QStringLiteral("geen ogen")
                                                                : QStringLiteral("geen mond"));
    return QStringLiteral("%1 %2  %3 %4\n").arg(word).arg(value, 2).arg(box, -20).arg(shows);
}

QImage renderImage(const RenderOptions& options, int eyes, int mouth)
{
    switch (options.task) {
    case RenderOptions::Task::Sheet:
        return combinationSheet(options.scale);
    case RenderOptions::Task::Styles:
        return stylesSheet(options.scale);
    default:
        return renderFace(options, eyes, mouth);
    }
}

} // namespace

QImage renderFace(const RenderOptions& options, int eyes, int mouth)
{
    QImage face = FaceExport::composeFace(eyes, mouth);
    if (options.transparent) {
        face = FaceExport::withTransparency(face);
    }
    if (options.fit > 0) {
        return FaceExport::fitted(face, options.fit, FaceExport::backgroundFor(face));
    }
    return FaceExport::enlarged(face, options.scale);
}

QString styleList()
{
    QString text;
    for (int value = 0; value <= Catalogue::eyeMaximum; ++value) {
        text += styleLine(StyleNames::Part::Eyes, value);
    }
    for (int value = 0; value <= Catalogue::mouthMaximum; ++value) {
        text += styleLine(StyleNames::Part::Mouth, value);
    }
    return text;
}

int runRender(const RenderOptions& options, QTextStream& out, QTextStream& err)
{
    switch (options.task) {
    case RenderOptions::Task::Help:
        out << helpText();
        return ExitStatus::success;
    case RenderOptions::Task::Version:
        out << versionText();
        return ExitStatus::success;
    case RenderOptions::Task::List:
        out << styleList();
        return ExitStatus::success;
    default:
        break;
    }

    int eyes = options.eyes;
    int mouth = options.mouth;
    if (options.random) {
        // As the Random button: the eyes first, both from 1 to the bar's maximum.
        eyes = RandomValue(static_cast<std::int16_t>(Catalogue::eyeMaximum));
        mouth = RandomValue(static_cast<std::int16_t>(Catalogue::mouthMaximum));
        out << QStringLiteral("--eyes %1 --mouth %2 (ogen: %3, mond: %4)\n")
                   .arg(eyes)
                   .arg(mouth)
                   .arg(StyleNames::nameOf(StyleNames::Part::Eyes, eyes),
                        StyleNames::nameOf(StyleNames::Part::Mouth, mouth));
        out.flush();
    }

    QImage image;
    try {
        image = renderImage(options, eyes, mouth);
    } catch (const FaceError& error) {
        report(err, error.message());
        return ExitStatus::writeFailed;
    }
    if (image.isNull()) {
        report(err, QStringLiteral("De afbeelding kon niet worden gemaakt: te weinig geheugen."));
        return ExitStatus::writeFailed;
    }

    // -o names the file to make; one that is there is replaced, all or nothing.
    const ImageFormat format =
        options.format == RenderOptions::Format::Bmp ? ImageFormat::Bmp : ImageFormat::Png;
    const WriteResult written = writeImageFile(options.output, image, format, WriteMode::Replace);
    if (!written) {
        report(err, QStringLiteral("%1 is niet geschreven. %2")
                        .arg(options.output, Messages::writeFailure(written, format)));
        return ExitStatus::writeFailed;
    }
    return ExitStatus::success;
}

int runCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (!parsed.ok()) {
        report(err, parsed.message);
        err << QStringLiteral("Zie %1 --help.\n").arg(programName);
        err.flush();
        return parsed.status;
    }
    const int status = runRender(parsed.options, out, err);
    out.flush();
    if (status == ExitStatus::success && out.status() != QTextStream::Ok) {
        // What was asked for could not be written out (a full disk, a closed pipe).
        report(err, QStringLiteral("De uitvoer kon niet worden geschreven."));
        err.flush();
        return ExitStatus::writeFailed;
    }
    err.flush();
    return status;
}
