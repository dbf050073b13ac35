// Stands in for the web browser in the Windows tests: registered with the shell as the
// program that opens https addresses, it writes what it was asked to open to the file named
// by its first argument, one line per run.
#include <fstream>

int main(int argc, char* argv[])
{
    if (argc < 3) {
        return 2;
    }
    std::ofstream log(argv[1], std::ios::app);
    log << argv[2] << '\n';
    return log ? 0 : 1;
}
