#include "renderjob.h"

#include "atomicfile.h"
#include "catalogue.h"
#include "combinationsheet.h"
#include "contactsheet.h"
#include "faceerror.h"
#include "faceexport.h"
#include "facepack.h"
#include "messages.h"
#include "randomvalue.h"
#include "stylenames.h"

namespace {

constexpr QStringView programName = u"snoetjesmal-render";

QString styleLine(StyleNames::Part part, int value)
{
    const QString word =
        part == StyleNames::Part::Eyes ? QStringLiteral("ogen") : QStringLiteral("mond");
    return QStringLiteral("%1 %2  %3\n")
        .arg(word)
        .arg(value, 2)
        .arg(StyleNames::nameOf(part, value));
}

RenderedPicture renderPicture(const RenderOptions& options, int eyes, int mouth)
{
    QImage sheet;
    switch (options.task) {
    case RenderOptions::Task::Sheet:
        sheet = combinationSheet(options.scale);
        break;
    case RenderOptions::Task::Styles:
        sheet = stylesSheet(options.scale);
        break;
    default:
        return renderFace(options, eyes, mouth);
    }
    return {sheet, sheet.size()};
}

void showProgress(QTextStream& err, int written, int total)
{
    // Back to the start of the line, so that the count replaces itself.
    err << '\r' << QStringLiteral("%1 van %2 gezichten geschreven").arg(written).arg(total);
    if (written == total) {
        err << '\n';
    }
    err.flush();
}

} // namespace

void reportError(QTextStream& err, const QString& message)
{
    err << programName << ": " << message << '\n';
    err.flush();
}

RenderedPicture renderFace(const RenderOptions& options, int eyes, int mouth)
{
    QImage face = FaceExport::composeFace(eyes, mouth,
                                          options.eyesLast ? FaceExport::DrawingOrder::EyesLast
                                                           : FaceExport::DrawingOrder::MouthLast);
    if (options.transparent) {
        face = FaceExport::withTransparency(face);
    }
    const QSize shown =
        options.fit > 0 ? QSize(options.fit, options.fit) : face.size() * options.scale;
    if (options.format == ImageFormat::Svg) {
        return {face, shown};
    }
    const QImage image =
        options.fit > 0 ? FaceExport::fitted(face, options.fit, FaceExport::backgroundFor(face))
                        : FaceExport::enlarged(face, options.scale);
    return {image, image.size()};
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

int runRender(const RenderOptions& options, QTextStream& out, QTextStream& err, bool showProgress)
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
    case RenderOptions::Task::Pack: {
        // A message waits until the count's line is ended.
        QString messages;
        QTextStream packErr(&messages);
        bool counting = false;
        const int status = FacePack::write(options, packErr, [&](int written, int total) {
            if (showProgress) {
                ::showProgress(err, written, total);
                counting = written < total;
            }
        });
        packErr.flush();
        if (counting) {
            err << '\n';
        }
        err << messages;
        err.flush();
        return status;
    }
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

    RenderedPicture picture;
    try {
        picture = renderPicture(options, eyes, mouth);
    } catch (const FaceError& error) {
        reportError(err, Messages::faceFailure(error));
        return ExitStatus::writeFailed;
    }
    if (picture.image.isNull()) {
        reportError(err,
                    QStringLiteral("De afbeelding kon niet worden gemaakt: te weinig geheugen."));
        return ExitStatus::writeFailed;
    }

    // -o names the file to make; one that is there is replaced, all or nothing.
    const WriteResult written = writeImageFile(options.output, picture.image, options.format,
                                               WriteMode::Replace, picture.shownSize);
    if (!written) {
        reportError(err, QStringLiteral("%1 is niet geschreven. %2")
                             .arg(options.output, Messages::writeFailure(written, options.format)));
        return ExitStatus::writeFailed;
    }
    return ExitStatus::success;
}

int runCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err,
                   bool showProgress)
{
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (!parsed.ok()) {
        reportError(err, parsed.message);
        err << QStringLiteral("Zie %1 --help.\n").arg(programName);
        err.flush();
        return parsed.status;
    }
    const int status = runRender(parsed.options, out, err, showProgress);
    out.flush();
    if (status == ExitStatus::success && out.status() != QTextStream::Ok) {
        // What was asked for could not be written out (a full disk, a closed pipe).
        reportError(err, QStringLiteral("De uitvoer kon niet worden geschreven."));
        err.flush();
        return ExitStatus::writeFailed;
    }
    err.flush();
    return status;
}
