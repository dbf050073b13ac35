#include "renderoptions.h"

#include "facepictures.h"
#include "programinfo.h"
#include "stylenames.h"

#include <QCommandLineParser>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <tuple>

namespace {

constexpr int faceSize = FacePictures::faceSize;
constexpr int minimumFit = faceSize;
constexpr int maximumFit = faceSize * RenderLimits::maximumScale;

// The options, made afresh for every parser: QCommandLineParser keeps what it parsed.
struct Options
{
    QCommandLineOption eyes{QStringList{QStringLiteral("eyes")},
                            QStringLiteral("De ogen: een waarde van 0 tot %1 of een naam (zie "
                                           "--list). Standaard 0, geen ogen.")
                                .arg(Catalogue::eyeMaximum),
                            QStringLiteral("WAARDE")};
    QCommandLineOption mouth{QStringList{QStringLiteral("mouth")},
                             QStringLiteral("De mond: een waarde van 0 tot %1 of een naam. "
                                            "Standaard 0, geen mond.")
                                 .arg(Catalogue::mouthMaximum),
                             QStringLiteral("WAARDE")};
    QCommandLineOption random{QStringList{QStringLiteral("random")},
                              QStringLiteral("Kies ogen en mond willekeurig, zoals de knop "
                                             "Random, en meld de keuze.")};
    QCommandLineOption scale{QStringList{QStringLiteral("scale")},
                             QStringLiteral("Vergroot elk beeldpunt tot een blok van K x K "
                                            "(1 tot %1; standaard 1, voor --sheet %2, voor "
                                            "--styles %3).")
                                 .arg(RenderLimits::maximumScale)
                                 .arg(RenderLimits::defaultSheetScale)
                                 .arg(RenderLimits::defaultStylesScale),
                             QStringLiteral("K")};
    QCommandLineOption fit{QStringList{QStringLiteral("fit")},
                           QStringLiteral("Zo groot mogelijk in hele beeldpunten, midden op een "
                                          "vierkant van N x N (%1 tot %2), bijvoorbeeld 128.")
                               .arg(minimumFit)
                               .arg(maximumFit),
                           QStringLiteral("N")};
    QCommandLineOption transparent{QStringList{QStringLiteral("transparent")},
                                   QStringLiteral("Maak het wit rond het gezicht doorzichtig "
                                                  "(voor PNG en SVG).")};
    QCommandLineOption sheet{QStringList{QStringLiteral("sheet")},
                             QStringLiteral("Teken alle combinaties: de ogen als rijen, de "
                                            "monden als kolommen.")};
    QCommandLineOption styles{QStringList{QStringLiteral("styles")},
                              QStringLiteral("Teken elke stijl afzonderlijk, met waarde en "
                                             "naam.")};
    QCommandLineOption list{QStringList{QStringLiteral("list")},
                            QStringLiteral("Toon alle stijlen met hun waarde en naam.")};
    QCommandLineOption eyesLast{QStringList{QStringLiteral("eyes-last")},
                                QStringLiteral("Teken de ogen na de mond, zoals het venster doet "
                                               "als de ogenbalk het laatst is verschoven.")};
    QCommandLineOption pack{QStringList{QStringLiteral("all")},
                            QStringLiteral("Schrijf elk gezicht als eigen bestand in een nieuwe "
                                           "map (-o MAP), met een index.csv.")};
    QCommandLineOption force{QStringList{QStringLiteral("force")},
                             QStringLiteral("Vervang met --all een eerder geschreven pakket "
                                            "met dezelfde naam.")};
    QCommandLineOption format{QStringList{QStringLiteral("format")},
                              QStringLiteral("De soort bestand: png, bmp of svg. Standaard "
                                             "volgt die uit de naam, voor --all png."),
                              QStringLiteral("SOORT")};
    QCommandLineOption output{QStringList{QStringLiteral("o"), QStringLiteral("output")},
                              QStringLiteral("Schrijf naar BESTAND; .png, .bmp of .svg bepaalt "
                                             "de soort. Met --all de map die ontstaat."),
                              QStringLiteral("BESTAND")};
    QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Toon deze hulp.")};
    QCommandLineOption version{QStringList{QStringLiteral("v"), QStringLiteral("version")},
                               QStringLiteral("Toon het versienummer.")};

    QList<const QCommandLineOption*> all() const
    {
        return {&eyes,   &mouth, &random, &scale,  &fit,    &transparent, &eyesLast, &sheet,
                &styles, &pack,  &force,  &format, &output, &list,        &help,     &version};
    }

    void addTo(QCommandLineParser& parser) const
    {
        parser.setApplicationDescription(
            QStringLiteral("Tekent emoticons van Snoetjesmal als PNG-, BMP- of SVG-bestand, "
                           "met dezelfde plaatjes als het programma."));
        for (const QCommandLineOption* option : all()) {
            parser.addOption(*option);
        }
    }
};

QString quoted(const QString& text)
{
    return u'"' + text + u'"';
}

std::optional<int> wholeNumber(const QString& text, int lowest, int highest)
{
    // Digits only, no sign or spaces; a long row of digits is out of range anyway.
    if (text.isEmpty() || text.size() > 6) {
        return std::nullopt;
    }
    for (const QChar c : text) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
    }
    const int value = text.toInt();
    if (value < lowest || value > highest) {
        return std::nullopt;
    }
    return value;
}

ParsedCommandLine usageError(const QString& message)
{
    ParsedCommandLine result;
    result.status = ExitStatus::usage;
    result.message = message;
    return result;
}

QString partWord(StyleNames::Part part)
{
    return part == StyleNames::Part::Eyes ? QStringLiteral("ogen") : QStringLiteral("mond");
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList& arguments)
{
    const Options options;
    QCommandLineParser parser;
    options.addTo(parser);
    if (!parser.parse(arguments)) {
        // An unknown option, a missing value or one where none belongs: Qt's own words,
        // Dutch through its translation (installQtTranslation).
        return usageError(parser.errorText());
    }

    ParsedCommandLine result;
    RenderOptions& render = result.options;
    if (parser.isSet(options.help)) {
        render.task = RenderOptions::Task::Help;
        return result;
    }
    if (parser.isSet(options.version)) {
        render.task = RenderOptions::Task::Version;
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        return usageError(QStringLiteral("Onverwacht argument %1; elke keuze gaat met een "
                                         "optie, zoals --eyes of -o.")
                              .arg(quoted(parser.positionalArguments().constFirst())));
    }
    for (const QCommandLineOption* option : options.all()) {
        if (!option->valueName().isEmpty() && parser.values(*option).size() > 1) {
            const QString name = option->names().constLast();
            return usageError(
                QStringLiteral("%1 is meer dan eens opgegeven.")
                    .arg(name.size() == 1 ? u'-' + name : QStringLiteral("--") + name));
        }
    }

    const bool eyesSet = parser.isSet(options.eyes);
    const bool mouthSet = parser.isSet(options.mouth);
    const bool scaleSet = parser.isSet(options.scale);
    const bool fitSet = parser.isSet(options.fit);
    render.random = parser.isSet(options.random);
    render.transparent = parser.isSet(options.transparent);
    render.eyesLast = parser.isSet(options.eyesLast);
    render.force = parser.isSet(options.force);

    if (parser.isSet(options.list)) {
        const QStringList names = parser.optionNames();
        if (!std::ranges::all_of(names, [](const QString& name) { return name == u"list"; })) {
            return usageError(QStringLiteral("--list toont alleen de stijlen en gaat niet samen "
                                             "met andere opties."));
        }
        render.task = RenderOptions::Task::List;
        return result;
    }

    const bool sheet = parser.isSet(options.sheet);
    const bool styles = parser.isSet(options.styles);
    if (sheet && styles) {
        return usageError(QStringLiteral("--sheet en --styles gaan niet samen: kies er een."));
    }
    if (sheet || styles) {
        const QString task = sheet ? QStringLiteral("--sheet") : QStringLiteral("--styles");
        render.task = sheet ? RenderOptions::Task::Sheet : RenderOptions::Task::Styles;
        for (const QCommandLineOption* option :
             {&options.eyes, &options.mouth, &options.random, &options.fit, &options.transparent,
              &options.eyesLast, &options.pack}) {
            if (parser.isSet(*option)) {
                return usageError(QStringLiteral("%1 tekent alle stijlen; --%2 past daar niet bij.")
                                      .arg(task, option->names().constFirst()));
            }
        }
    }
    if (parser.isSet(options.pack)) {
        render.task = RenderOptions::Task::Pack;
        for (const QCommandLineOption* option : {&options.eyes, &options.mouth, &options.random}) {
            if (parser.isSet(*option)) {
                return usageError(QStringLiteral("--all schrijft alle gezichten; --%1 past daar "
                                                 "niet bij.")
                                      .arg(option->names().constFirst()));
            }
        }
    } else if (render.force) {
        return usageError(QStringLiteral("--force hoort bij --all: een los bestand wordt altijd "
                                         "vervangen."));
    }
    if (render.random && (eyesSet || mouthSet)) {
        return usageError(QStringLiteral("--random kiest de ogen en de mond zelf; laat --eyes en "
                                         "--mouth dan weg."));
    }
    if (scaleSet && fitSet) {
        return usageError(QStringLiteral("--scale en --fit gaan niet samen: --fit kiest de "
                                         "vergroting zelf."));
    }

    for (const auto& [option, part, target] :
         {std::tuple{&options.eyes, StyleNames::Part::Eyes, &render.eyes},
          std::tuple{&options.mouth, StyleNames::Part::Mouth, &render.mouth}}) {
        if (!parser.isSet(*option)) {
            continue;
        }
        const QString text = parser.value(*option);
        const std::optional<int> value = StyleNames::resolve(part, text);
        if (!value) {
            return usageError(QStringLiteral("Onbekende %1 %2: geef een waarde van 0 tot %3 of "
                                             "een naam (zie --list).")
                                  .arg(partWord(part), quoted(text))
                                  .arg(StyleNames::maximum(part)));
        }
        *target = *value;
    }

    const bool isSheet =
        render.task == RenderOptions::Task::Sheet || render.task == RenderOptions::Task::Styles;
    const int highestScale = isSheet ? RenderLimits::maximumSheetScale : RenderLimits::maximumScale;
    if (scaleSet) {
        const QString text = parser.value(options.scale);
        const std::optional<int> scale = wholeNumber(text, 1, highestScale);
        if (!scale) {
            return usageError(
                QStringLiteral("--scale verwacht een geheel getal van 1 tot %1%2, niet %3.")
                    .arg(highestScale)
                    .arg(isSheet ? QStringLiteral(" voor een overzicht") : QString(),
                         quoted(text)));
        }
        render.scale = *scale;
    } else if (render.task == RenderOptions::Task::Sheet) {
        render.scale = RenderLimits::defaultSheetScale;
    } else if (render.task == RenderOptions::Task::Styles) {
        render.scale = RenderLimits::defaultStylesScale;
    }
    if (fitSet) {
        const QString text = parser.value(options.fit);
        const std::optional<int> fit = wholeNumber(text, minimumFit, maximumFit);
        if (!fit) {
            return usageError(QStringLiteral("--fit verwacht een geheel getal van %1 tot %2, niet "
                                             "%3.")
                                  .arg(minimumFit)
                                  .arg(maximumFit)
                                  .arg(quoted(text)));
        }
        render.fit = *fit;
    }

    render.output = parser.value(options.output);
    const bool pack = render.task == RenderOptions::Task::Pack;
    if (!parser.isSet(options.output) || render.output.isEmpty()) {
        return usageError(pack ? QStringLiteral("Geef met -o de map op die het pakket wordt.")
                               : QStringLiteral("Geef met -o het bestand op waarin de afbeelding "
                                                "komt (.png, .bmp of .svg)."));
    }
    // The format: named by --format, else by the file's extension; a pack is PNG unless
    // --format says otherwise.
    const std::optional<ImageFormat> suffixFormat =
        pack ? std::nullopt : imageFormatNamed(QFileInfo(render.output).suffix());
    const bool hasSuffixFormat = suffixFormat.has_value();
    const ImageFormat fromName = suffixFormat.value_or(ImageFormat::Png);
    if (parser.isSet(options.format)) {
        const QString name = parser.value(options.format);
        const std::optional<ImageFormat> named = imageFormatNamed(name);
        if (!named) {
            return usageError(
                QStringLiteral("--format verwacht png, bmp of svg, niet %1.").arg(quoted(name)));
        }
        if (hasSuffixFormat && fromName != *named) {
            return usageError(QStringLiteral("%1 eindigt niet op .%2, de soort die --format "
                                             "noemt.")
                                  .arg(quoted(render.output), extensionOf(*named)));
        }
        render.format = *named;
    } else if (hasSuffixFormat) {
        render.format = fromName;
    } else if (!pack) {
        return usageError(QStringLiteral("Kan %1 niet maken: de naam moet eindigen op .png, .bmp "
                                         "of .svg, of geef de soort met --format.")
                              .arg(quoted(render.output)));
    }
    if (render.transparent && render.format == ImageFormat::Bmp) {
        return usageError(QStringLiteral("--transparent kan alleen met PNG of SVG: een "
                                         "BMP-bestand kent geen doorzichtigheid."));
    }
    return result;
}

QString helpText()
{
    const Options options;
    QCommandLineParser parser;
    options.addTo(parser);
    // The headings are Qt's, Dutch through its translation; the rest of the text is ours.
    QString text = parser.helpText();
    if (!text.endsWith(u'\n')) {
        text += u'\n';
    }
    text +=
        QStringLiteral(
            "\n"
            "Elke stijl heeft een naam, dezelfde als in het venster van Snoetjesmal: standaard,\n"
            "blij, knipoog, ... tong-uit, ... slaperig (zie --list), in hoofd- of kleine letters;\n"
            "\"%1\" is waarde 0. De namen van vroeger (tong, monddicht, rollendeogen,\n"
            "twijvelend) werken ook.\n"
            "\n"
            "Voorbeelden:\n"
            "  snoetjesmal-render --eyes knipoog --mouth blij --fit 128 --transparent -o "
            "emoticon.png\n"
            "  snoetjesmal-render --random --scale 4 -o gezicht.bmp\n"
            "  snoetjesmal-render --eyes moe --mouth bozer --scale 8 -o gezicht.svg\n"
            "  snoetjesmal-render --all --fit 128 --transparent -o emoji\n"
            "  snoetjesmal-render --sheet -o alle-gezichten.png\n"
            "\n"
            "Afsluitcode: 0 gelukt, 1 het bestand kon niet worden geschreven, 2 de opdracht klopt "
            "niet.\n")
            .arg(StyleNames::noStyleName);
    return text;
}

QString versionText()
{
    return QStringLiteral("snoetjesmal-render %1\n").arg(ProgramInfo::version);
}
