// Stands in for another program's uninstaller in the installer test: an Uninstall.exe that
// is not ours, in a folder the user points the installer at. Run in any way, it appends its
// command line to the file that SNOETJESMAL_STANDIN_LOG names, so the test sees that it ran.
#include <cstdlib>
#include <fstream>

int main(int argc, char* argv[])
{
    const char* logName = std::getenv("SNOETJESMAL_STANDIN_LOG");
    if (logName == nullptr) {
        return 2;
    }
    std::ofstream log(logName, std::ios::app);
    log << "ran:";
    for (int i = 1; i < argc; ++i) {
        log << ' ' << argv[i];
    }
    log << '\n';
    return log ? 0 : 1;
}
