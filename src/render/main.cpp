// snoetjesmal-render: draws faces from the command line, with the same pictures and
// composition as the program. See --help.

#include "renderjob.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[])
{
    // Only images are drawn: no window system is needed, whatever the session has.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("snoetjesmal-render"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    return runCommandLine(QCoreApplication::arguments(), out, err);
}
