// snoetjesmal-render: draws faces from the command line, with the same pictures and
// composition as the program. See --help.

#include "native.h"
#include "qttranslation.h"
#include "renderjob.h"
#include "renderoptions.h"
#include "stoprequests.h"
#include "terminal.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QTextStream>

#include <cstdio>
#include <exception>
#include <new>

namespace {

// The last word on a failure nothing else caught: a Dutch message on standard error and the
// status of a picture that could not be made. Written with stdio, which needs no memory of
// its own for a fixed text.
int reportUncaught(const char* message)
{
    std::fputs("snoetjesmal-render: ", stderr);
    std::fputs(message, stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
    return ExitStatus::writeFailed;
}

} // namespace

int main(int argc, char* argv[])
{
    try {
        // Only images are drawn: where the system asks for it, no window system is used,
        // whatever the session has. A platform the user names is taken as named.
        if (Native::drawsOffscreen() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        // The renderer speaks for itself, in Dutch: Qt's own notes (such as one about a
        // missing XDG_RUNTIME_DIR in a container or a cron job) stay out of its output.
        // QT_LOGGING_RULES still brings them back for a developer.
        QLoggingCategory::setFilterRules(QStringLiteral("*=false"));
        const QGuiApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("snoetjesmal-render"));
        installQtTranslation();

        QTextStream out(stdout);
        QTextStream err(stderr);
        const int status =
            runCommandLine(QCoreApplication::arguments(), out, err, isTerminal(stderr));
        // A pack that was asked to stop has cleared up; the program ends as asked.
        endIfStopRequested();
        return status;
    } catch (const std::bad_alloc&) {
        return reportUncaught("Te weinig geheugen: de afbeelding is niet gemaakt of niet "
                              "geschreven.");
    } catch (const std::exception&) {
        return reportUncaught("Er ging iets mis: de afbeelding is niet gemaakt of niet "
                              "geschreven.");
    }
}
