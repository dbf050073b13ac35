// Snoetjesmal: makes a small yellow emoticon from a choice of eyes and mouth.

#include "accessibility.h"
#include "clipboardformats.h"
#include "frmMain.h"
#include "msgbox.h"
#include "programinfo.h"
#include "qttranslation.h"
#include "untrappederror.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
#ifdef Q_OS_WIN
    // Text is drawn by FreeType, as on Linux, from the system's own fonts: the captions are
    // measured and fitted to their controls the same way everywhere.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "windows:fontengine=freetype");
    }
#endif
    QApplication app(argc, argv);
    QApplication::setOrganizationName(ProgramInfo::settingsOrganisation);
    QApplication::setApplicationName(ProgramInfo::settingsApplication);
    QApplication::setApplicationVersion(ProgramInfo::version);
    QGuiApplication::setDesktopFileName(QStringLiteral("nl.quorvelin.Snoetjesmal"));

    // What the whole program shares, set up once before the first window.
    installQtTranslation();
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
    window->show();
    return QApplication::exec();
}
