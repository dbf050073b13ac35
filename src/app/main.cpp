// Snoetjesmal: makes a small yellow emoticon from a choice of eyes and mouth.

#include "clipboardformats.h"
#include "frmMain.h"
#include "qttranslation.h"
#include "untrappederror.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("QuorvelinSoftware"));
    QApplication::setApplicationName(QStringLiteral("Snoetjesmal"));
    QApplication::setApplicationVersion(QStringLiteral("1.1"));
    QGuiApplication::setDesktopFileName(QStringLiteral("nl.quorvelin.Snoetjesmal"));

    installQtTranslation();
    registerClipboardFormats();

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
