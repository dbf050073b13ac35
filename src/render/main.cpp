// Draws faces from the command line, with the same pictures and composition as the program.

#include "contactsheet.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("snoetjesmal-render"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Tekent emoticons van Snoetjesmal."));
    parser.addHelpOption();
    const QCommandLineOption stylesOption(QStringLiteral("styles"),
                                          QStringLiteral("Een overzicht van alle stijlen."));
    const QCommandLineOption outputOption(QStringList{QStringLiteral("o")},
                                          QStringLiteral("Schrijf naar BESTAND."),
                                          QStringLiteral("BESTAND"));
    parser.addOption(stylesOption);
    parser.addOption(outputOption);
    parser.process(app);

    QTextStream err(stderr);
    if (!parser.isSet(stylesOption) || !parser.isSet(outputOption)) {
        err << "Gebruik: snoetjesmal-render --styles -o BESTAND.png\n";
        return 2;
    }
    if (!stylesSheet(8).save(parser.value(outputOption))) {
        err << "Kan " << parser.value(outputOption) << " niet schrijven.\n";
        return 1;
    }
    return 0;
}
