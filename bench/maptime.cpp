// Measures, from outside the program, how long a Qt Widgets program takes from being started
// to its window being mapped on the X server, and its peak memory, against a bare window
// started the same way.
//
//   maptime [--runs N] [--via WORD]... PROGRAM PROGRAM_TITLE BARE_WINDOW BARE_TITLE
//
// Each --via word goes before the program on its command line: "--via wine" starts Windows
// builds under Wine (bench/run-windows), which runs the Windows program in the process it was
// started as, so that the memory taken is the Windows program's with Wine's own.
//
// DISPLAY names the X server (bench/run starts an Xvfb for it). This client watches the root
// window for the creation of every top-level window (SubstructureNotify) and takes the time,
// on the monotonic clock, of the MapNotify of the window whose title (_NET_WM_NAME, or
// WM_NAME) is the expected one; the clock starts before fork and exec. The program is then
// stopped and its peak resident memory taken from wait4's resource usage. The two programs
// take turns, the order swapped every round, so that both meet the same load; the first
// round is not counted.
//
// The time is judged by the median of the rounds' ratios (the program's time over the bare
// window's in the same round), which a load that changes while the runs go on, such as a
// build in the background, disturbs least; it must be at most 1.10. The program's median peak
// memory must be at most 2 MiB more than the bare window's. The exit status is 0 when both
// hold.

#include "benchrun.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr double timeFactor = 1.10;
constexpr long memoryAllowanceKiB = 2 * 1024;
constexpr double giveUpAfterMs = 20000;

struct Sample
{
    double milliseconds = 0;
    long peakKiB = 0;
};

struct Program
{
    std::string path;
    std::string title;
};

double nowMs()
{
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// The window's title, from _NET_WM_NAME (UTF-8) or else WM_NAME.
std::string titleOf(Display* display, Window window)
{
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    for (const Atom property : {netName, static_cast<Atom>(XA_WM_NAME)}) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, window, property, 0, 1024, False, AnyPropertyType, &type,
                               &format, &items, &after, &data) == Success &&
            data != nullptr) {
            std::string title(reinterpret_cast<char*>(data), items);
            XFree(data);
            if (format == 8 && !title.empty()) {
                return title;
            }
        }
    }
    return {};
}

int ignoreErrors(Display*, XErrorEvent*)
{
    return 0; // a window may be gone before its title is read
}

std::optional<Sample> measureOnce(Display* display, const Program& program,
                                  const std::vector<std::string>& via)
{
    std::vector<char*> command;
    for (const std::string& word : via) {
        command.push_back(const_cast<char*>(word.c_str()));
    }
    command.push_back(const_cast<char*>(program.path.c_str()));
    command.push_back(nullptr);

    XSync(display, True); // forget what happened before this run
    const double start = nowMs();
    const pid_t child = ::fork();
    if (child < 0) {
        std::perror("fork");
        return std::nullopt;
    }
    if (child == 0) {
        const int devNull = ::open("/dev/null", O_WRONLY);
        if (devNull >= 0) {
            ::dup2(devNull, STDOUT_FILENO);
            ::dup2(devNull, STDERR_FILENO);
        }
        ::execvp(command.front(), command.data());
        std::_Exit(127);
    }

    std::optional<double> mapped;
    const int fd = ConnectionNumber(display);
    while (!mapped) {
        const double left = giveUpAfterMs - (nowMs() - start);
        if (left <= 0) {
            std::fprintf(stderr, "%s: no window \"%s\" mapped within %.0f s\n",
                         program.path.c_str(), program.title.c_str(), giveUpAfterMs / 1000);
            break;
        }
        if (XPending(display) == 0) {
            pollfd ready{fd, POLLIN, 0};
            if (::poll(&ready, 1, static_cast<int>(left) + 1) < 0 && errno != EINTR) {
                std::perror("poll");
                break;
            }
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && titleOf(display, event.xmap.window) == program.title) {
            mapped = nowMs();
        }
    }

    ::kill(child, SIGKILL);
    int status = 0;
    rusage usage{};
    while (::wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    if (!mapped) {
        return std::nullopt;
    }
    return Sample{*mapped - start, usage.ru_maxrss};
}

int usage()
{
    std::fprintf(stderr, "usage: maptime [--runs N] [--via WORD]... PROGRAM PROGRAM_TITLE "
                         "BARE_WINDOW BARE_TITLE\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    int runs = 21;
    std::vector<std::string> words;
    std::vector<std::string> via;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(15, std::atoi(argv[++i]));
        } else if (arg == "--via" && i + 1 < argc) {
            via.emplace_back(argv[++i]);
        } else if (arg.starts_with("--")) {
            return usage();
        } else {
            words.emplace_back(arg);
        }
    }
    if (words.size() != 4) {
        return usage();
    }
    const Program programs[2] = {{words[0], words[1]}, {words[2], words[3]}};

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "maptime: cannot open the display (is DISPLAY set?)\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const std::string home = makeHome("maptime");
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    std::printf("X server %s, %d pairs after one not counted\n", DisplayString(display), runs);

    std::vector<Sample> samples[2];
    std::vector<double> ratios;
    for (int round = 0; round <= runs; ++round) {
        for (int k = 0; k < 2; ++k) {
            const int which = (round + k) % 2;
            const std::optional<Sample> sample = measureOnce(display, programs[which], via);
            if (!sample) {
                return 1;
            }
            if (round > 0) {
                samples[which].push_back(*sample);
            }
        }
        if (round > 0) {
            ratios.push_back(samples[0].back().milliseconds / samples[1].back().milliseconds);
        }
    }
    XCloseDisplay(display);
    const std::string removeHome = "rm -rf '" + home + "'";
    if (std::system(removeHome.c_str()) != 0) {
        std::fprintf(stderr, "could not remove %s\n", home.c_str());
    }

    double times[2];
    long peaks[2];
    for (int which = 0; which < 2; ++which) {
        std::vector<double> ms;
        std::vector<long> kib;
        for (const Sample& s : samples[which]) {
            ms.push_back(s.milliseconds);
            kib.push_back(s.peakKiB);
        }
        times[which] = median(ms);
        peaks[which] = median(kib);
        std::printf("%-40s window mapped median %7.1f ms (min %7.1f, max %7.1f), "
                    "peak memory median %6.1f MiB\n",
                    programs[which].path.c_str(), times[which],
                    *std::min_element(ms.begin(), ms.end()),
                    *std::max_element(ms.begin(), ms.end()), peaks[which] / 1024.0);
    }
    const double ratio = median(ratios);
    const double extraMiB = (peaks[0] - peaks[1]) / 1024.0;
    const bool timeMet = ratio <= timeFactor;
    const bool memoryMet = peaks[0] - peaks[1] <= memoryAllowanceKiB;
    std::printf("time %.3f x the bare window, median of the rounds (at most %.2f): %s; ratio "
                "of the medians %.3f\n",
                ratio, timeFactor, timeMet ? "met" : "MISSED", times[0] / times[1]);
    std::printf("memory %+.1f MiB against the bare window (at most +%.1f): %s\n", extraMiB,
                memoryAllowanceKiB / 1024.0, memoryMet ? "met" : "MISSED");
    return timeMet && memoryMet ? 0 : 1;
}
