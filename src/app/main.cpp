// Snoetjesmal: makes a small yellow emoticon from a choice of eyes and mouth.

#include "accessibility.h"
#include "clipboardformats.h"
#include "frmMain.h"
#include "msgbox.h"
#include "programinfo.h"
#include "qttranslation.h"
#include "untrappederror.h"

#include <QApplication>
#include <QCommandLineParser>

#include <memory>

namespace {

// Answers --help and --version, for a terminal and for the manual page that is made from
// them (on Windows Qt shows them in a message box), and ends the program there. Every other
// argument is ignored, as it always was: the program takes no options of its own.
void answerHelpOrVersion()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Stelt een gele emoticon van 19 bij 19 pixels samen uit een keuze van "
                       "ogen en een mond, en slaat die op als BMP-bestand."));
    const QCommandLineOption help{QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Toon deze hulp.")};
    const QCommandLineOption version{QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Toon het versienummer.")};
    parser.addOption(help);
    parser.addOption(version);
    // An unknown argument is no error here; whatever the parser did recognise still counts.
    static_cast<void>(parser.parse(QCoreApplication::arguments()));
    if (parser.isSet(help)) {
        parser.showHelp(0);
    }
    if (parser.isSet(version)) {
        parser.showVersion();
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(ProgramInfo::settingsOrganisation);
    QApplication::setApplicationName(ProgramInfo::settingsApplication);
    QApplication::setApplicationVersion(ProgramInfo::version);
    QGuiApplication::setDesktopFileName(QStringLiteral("nl.quorvelin.Snoetjesmal"));

    // What the whole program shares, set up once before the first window.
    installQtTranslation();
    answerHelpOrVersion();
    registerClipboardFormats();
    installAccessibleInterfaces();
    ScreenMessageBoxes boxes;

    std::unique_ptr<frmMain> window;
    try {
        window = std::make_unique<frmMain>(boxes);
    } catch (const std::exception& error) {
        reportUntrappedError(boxes, nullptr, describeException(error));
        return 1;
    }
    // Shown at its own size, where it placed itself: show() would let a platform that
    // shows windows full screen by default (a browser's) stretch it over the whole page.
    window->setVisible(true);
    return QApplication::exec();
}
