// Snoetjesmal: makes a small yellow emoticon from a choice of eyes and mouth.

#include "frmMain.h"
#include "untrappederror.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("QuorvelinSoftware"));
    QApplication::setApplicationName(QStringLiteral("Snoetjesmal"));
    QApplication::setApplicationVersion(QStringLiteral("1.1"));
    QGuiApplication::setDesktopFileName(QStringLiteral("nl.quorvelin.Snoetjesmal"));

    // The program speaks Dutch whatever the system's language: Qt's own texts (the edit menu
    // of the name box, say) come from its Dutch translation where that is installed.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_nl"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    std::unique_ptr<frmMain> window;
    try {
        window = std::make_unique<frmMain>();
    } catch (const std::exception& error) {
        reportUntrappedError(screenMessageBoxes(), nullptr, describeException(error));
        return 1;
    }
    window->show();
    return QApplication::exec();
}
