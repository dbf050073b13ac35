// Measures how long a Qt Widgets program takes from being started to its first painted frame,
// and its peak memory by then, against a bare window started the same way.
//
//   startuptime [--runs N] PROGRAM BARE_WINDOW
//
// Both programs run on the platform QT_QPA_PLATFORM names (offscreen, or xcb with DISPLAY
// set), with the same environment and a fresh temporary home. "First painted frame" is the
// moment the window's first full image is handed to the platform: Qt reports it, for any
// program alike, as a "Flushing QRegion" message of its own logging category
// qt.widgets.painting, which this driver turns on through QT_LOGGING_RULES and reads from the
// program's standard error. The program is then stopped, and its peak resident memory is taken
// from the system's accounting of the ended process. The two programs take turns, so that
// both meet the same state of caches and machine; the first round of each is not counted.
//
// The program's time must be at most 1.15 times the bare window's (medians) and its peak
// memory at most the bare window's plus 4 MiB; the exit status is 0 when both hold.

#include "benchrun.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

using Clock = std::chrono::steady_clock;

constexpr double timeFactor = 1.15;
constexpr long memoryAllowanceKiB = 4 * 1024;
constexpr std::string_view firstFrameMessage = "Flushing QRegion";
constexpr auto giveUpAfter = std::chrono::seconds(20);

struct Sample
{
    double milliseconds = 0;
    long peakKiB = 0;
};

// Starts the program, waits for its first painted frame and stops it.
std::optional<Sample> measureOnce(const std::string& program)
{
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
        std::perror("pipe");
        return std::nullopt;
    }
    const Clock::time_point start = Clock::now();
    const pid_t child = ::fork();
    if (child < 0) {
        std::perror("fork");
        return std::nullopt;
    }
    if (child == 0) {
        ::dup2(pipeFds[1], STDERR_FILENO);
        const int devNull = ::open("/dev/null", O_WRONLY);
        if (devNull >= 0) {
            ::dup2(devNull, STDOUT_FILENO);
        }
        ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    ::close(pipeFds[1]);

    std::optional<Clock::time_point> painted;
    std::string pending;
    char buffer[4096];
    while (!painted) {
        const auto left = giveUpAfter - (Clock::now() - start);
        if (left <= Clock::duration::zero()) {
            std::fprintf(stderr, "%s: no painted frame within %lld s\n", program.c_str(),
                         static_cast<long long>(giveUpAfter.count()));
            break;
        }
        pollfd fd{pipeFds[0], POLLIN, 0};
        const int ready = ::poll(
            &fd, 1, static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count()));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            continue;
        }
        const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
        if (got <= 0) {
            std::fprintf(stderr, "%s: ended before painting a frame\n", program.c_str());
            break;
        }
        pending.append(buffer, static_cast<std::size_t>(got));
        if (pending.find(firstFrameMessage) != std::string::npos) {
            painted = Clock::now();
        } else if (const auto lastLine = pending.rfind('\n'); lastLine != std::string::npos) {
            // Keep only the unfinished line, where the message may still be arriving.
            pending.erase(0, lastLine + 1);
        }
    }

    ::kill(child, SIGKILL);
    int status = 0;
    rusage usage{};
    while (::wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    ::close(pipeFds[0]);
    if (!painted) {
        return std::nullopt;
    }
    return Sample{std::chrono::duration<double, std::milli>(*painted - start).count(),
                  usage.ru_maxrss};
}

int usage()
{
    std::fprintf(stderr, "usage: startuptime [--runs N] PROGRAM BARE_WINDOW\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    int runs = 21;
    std::vector<std::string> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg.starts_with("--")) {
            return usage();
        } else {
            programs.emplace_back(arg);
        }
    }
    if (programs.size() != 2) {
        return usage();
    }

    const std::string home = makeHome("startup");
    ::setenv("QT_LOGGING_RULES", "qt.widgets.painting=true", 1);
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("platform %s, %d runs of each after one not counted\n",
                platform ? platform : "(Qt's default)", runs);

    std::vector<Sample> samples[2];
    for (int round = 0; round <= runs; ++round) {
        // Alternate which program goes first.
        for (int k = 0; k < 2; ++k) {
            const int which = (round + k) % 2;
            const std::optional<Sample> sample = measureOnce(programs[which]);
            if (!sample) {
                return 1;
            }
            if (round > 0) {
                samples[which].push_back(*sample);
            }
        }
    }
    std::string removeHome = "rm -rf '" + home + "'";
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
        std::printf("%-40s first frame median %7.1f ms (min %7.1f, max %7.1f), "
                    "peak memory median %6.1f MiB\n",
                    programs[which].c_str(), times[which], *std::min_element(ms.begin(), ms.end()),
                    *std::max_element(ms.begin(), ms.end()), peaks[which] / 1024.0);
    }
    const double ratio = times[0] / times[1];
    const double extraMiB = (peaks[0] - peaks[1]) / 1024.0;
    const bool timeMet = ratio <= timeFactor;
    const bool memoryMet = peaks[0] - peaks[1] <= memoryAllowanceKiB;
    std::printf("time %.3f x the bare window (at most %.2f): %s\n", ratio, timeFactor,
                timeMet ? "met" : "MISSED");
    std::printf("memory %+.1f MiB against the bare window (at most +%.1f): %s\n", extraMiB,
                memoryAllowanceKiB / 1024.0, memoryMet ? "met" : "MISSED");
    return timeMet && memoryMet ? 0 : 1;
}
