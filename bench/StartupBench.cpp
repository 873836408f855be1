// Start-up benchmark. Launches a program, a baseline and any further reference
// programs in turn on the X display named by DISPLAY and measures for each
// launch the time from spawning the process to its first window becoming
// viewable (mapped, inside its frame when a window manager runs) and to the
// first paint into that window, and the process's resident memory once the
// window has been up for a while.
//
// Usage: tolvane_startup_bench [--runs N] [--settle-ms M] PROGRAM BASELINE [REFERENCE...]
// Prints a Markdown section with medians, spread and the ratios of the program
// to the others; the targets are judged against BASELINE.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Stats.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using tolvane::bench::Max;
using tolvane::bench::Median;
using tolvane::bench::Min;
using tolvane::bench::Percentile;

constexpr double kTargetRatio = 1.10;

double MsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "startup bench: %s\n", message.c_str());
    std::exit(EXIT_FAILURE);
}

// Windows come and go while they are looked at; an error about one that is
// already gone is expected.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// Where a process's resident memory lies, by kind of mapping.
enum Part { kFonts, kWindowBuffers, kCode, kPrivate, kOtherFiles, kPartCount };
constexpr const char* kPartNames[kPartCount] = {
    "font files", "window buffers (shared with the X server)", "program and shared libraries",
    "heap and other private memory", "other files"};

Part Classify(const std::string& path) {
    if (path.empty() || path.front() == '[') return kPrivate;
    if (path.find("/fonts/") != std::string::npos || path.ends_with(".ttf") ||
        path.ends_with(".otf") || path.ends_with(".ttc")) {
        return kFonts;
    }
    if (path.starts_with("/memfd:") || path.starts_with("/SYSV") || path.starts_with("/dev/shm/")) {
        return kWindowBuffers;
    }
    if (path.find(".so") != std::string::npos || access(path.c_str(), X_OK) == 0) return kCode;
    return kOtherFiles;
}

// The resident set of a running process in MiB, in total and by part, from
// the kernel's account of each mapping.
struct Resident {
    double total = NAN;
    double parts[kPartCount] = {};
};

Resident ResidentOf(pid_t pid) {
    Resident resident;
    std::ifstream smaps("/proc/" + std::to_string(pid) + "/smaps");
    std::string line;
    Part part = kPrivate;
    long totalKiB = 0;
    while (std::getline(smaps, line)) {
        if (line.starts_with("Rss:")) {
            const long kib = std::strtol(line.c_str() + 4, nullptr, 10);
            resident.parts[part] += static_cast<double>(kib) / 1024.0;
            totalKiB += kib;
        } else if (!line.empty() && std::isxdigit(static_cast<unsigned char>(line.front())) &&
                   line.find('-') < line.find(' ')) {
            // A mapping's header: range, permissions, offset, device, inode, path.
            std::istringstream fields(line);
            std::string range, permissions, offset, device, inode, path;
            fields >> range >> permissions >> offset >> device >> inode;
            std::getline(fields >> std::ws, path);
            part = Classify(path);
        }
    }
    if (totalKiB > 0) resident.total = static_cast<double>(totalKiB) / 1024.0;
    return resident;
}

// CPU time the process has had so far, all its threads, in milliseconds: what
// its start cost, whatever other processes on the machine took meanwhile.
double CpuMsOf(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    double total = 0;
    if (DIR* dir = opendir(tasks.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            std::ifstream stat(tasks + "/" + entry->d_name + "/schedstat");
            unsigned long long ns = 0;
            if (stat >> ns) total += static_cast<double>(ns) / 1e6;
        }
        closedir(dir);
    }
    return total;
}

struct Launch {
    double mappedMs = NAN;
    double paintedMs = NAN;
    double cpuToMapMs = NAN;
    Resident resident;
};

class Watcher {
public:
    explicit Watcher(Display* display) : display_(display), root_(DefaultRootWindow(display)) {
        int damageError = 0;
        if (!XDamageQueryExtension(display_, &damageEvent_, &damageError)) {
            Fail("the X server has no DAMAGE extension");
        }
        pidAtom_ = XInternAtom(display_, "_NET_WM_PID", False);
        XSetErrorHandler(IgnoreXError);
        XSelectInput(display_, root_, SubstructureNotifyMask);
        // The programs must not inherit this connection.
        fcntl(ConnectionNumber(display_), F_SETFD, FD_CLOEXEC);
        XSync(display_, False);
    }

    Launch Run(const std::string& program, std::chrono::milliseconds settle,
               std::chrono::milliseconds timeout) {
        XSync(display_, True); // drop what earlier launches left
        char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
        pid_t pid = 0;
        const Clock::time_point start = Clock::now();
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
            Fail("cannot start " + program);
        }

        Launch launch;
        Window window = None;
        Clock::time_point upAt{};
        bool up = false;
        const int fd = ConnectionNumber(display_);
        while (true) {
            const Clock::time_point now = Clock::now();
            if (up && now - upAt >= settle) break;
            if (now - start >= timeout) break;
            if (XPending(display_) == 0) {
                pollfd wait{fd, POLLIN, 0};
                poll(&wait, 1, 2);
                continue;
            }
            XEvent event;
            XNextEvent(display_, &event);
            const Clock::time_point at = Clock::now();
            if (event.type == CreateNotify && event.xcreatewindow.parent == root_) {
                // Every new top-level window, before it can be mapped: follow
                // its mapping wherever it is reparented, and its contents.
                XSelectInput(display_, event.xcreatewindow.window, StructureNotifyMask);
                XDamageCreate(display_, event.xcreatewindow.window, XDamageReportNonEmpty);
            } else if (event.type == MapNotify && window == None) {
                window = ViewableWindowOf(pid, root_, 0);
                if (window != None) {
                    launch.mappedMs = MsBetween(start, at);
                    launch.cpuToMapMs = CpuMsOf(pid);
                }
            } else if (event.type == damageEvent_ + XDamageNotify && window != None &&
                       std::isnan(launch.paintedMs)) {
                const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
                if (damage.drawable == window) {
                    launch.paintedMs = MsBetween(start, at);
                    upAt = at;
                    up = true;
                }
            }
        }
        if (window != None) launch.resident = ResidentOf(pid);
        kill(pid, SIGTERM);
        int status = 0;
        waitpid(pid, &status, 0);
        return launch;
    }

private:
    // The process's viewable window at or below `parent`: its own top level,
    // or the one inside a window manager's frame.
    Window ViewableWindowOf(pid_t pid, Window parent, int depth) {
        Window rootReturn = None;
        Window parentReturn = None;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(display_, parent, &rootReturn, &parentReturn, &children, &count)) {
            return None;
        }
        Window found = None;
        for (unsigned int i = 0; i < count && found == None; ++i) {
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(display_, children[i], &attributes) ||
                attributes.map_state != IsViewable) {
                continue;
            }
            if (PidOf(children[i]) == pid) {
                found = children[i];
            } else if (depth < 2) {
                found = ViewableWindowOf(pid, children[i], depth + 1);
            }
        }
        if (children) XFree(children);
        return found;
    }

    long PidOf(Window window) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        long pid = -1;
        if (XGetWindowProperty(display_, window, pidAtom_, 0, 1, False, XA_CARDINAL, &type, &format,
                               &items, &after, &data) == Success &&
            data) {
            if (type == XA_CARDINAL && format == 32 && items == 1) {
                pid = *reinterpret_cast<const long*>(data);
            }
            XFree(data);
        }
        return pid;
    }

    Display* display_;
    Window root_;
    Atom pidAtom_ = None;
    int damageEvent_ = 0;
};

struct Series {
    std::string name;
    std::vector<double> mapped, painted, cpuToMap, resident;
    std::vector<double> parts[kPartCount];
    int failed = 0;

    void Add(const Launch& launch) {
        if (std::isnan(launch.mappedMs) || std::isnan(launch.paintedMs)) {
            ++failed;
            return;
        }
        mapped.push_back(launch.mappedMs);
        painted.push_back(launch.paintedMs);
        cpuToMap.push_back(launch.cpuToMapMs);
        resident.push_back(launch.resident.total);
        for (int p = 0; p < kPartCount; ++p)
            parts[p].push_back(launch.resident.parts[p]);
    }
};

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void PrintRow(const char* what, const std::vector<double>& values, const std::string& name) {
    std::printf("| %s | %s | %.1f | %.1f | %.1f–%.1f | %.1f | %zu |\n", what, name.c_str(),
                Median(values), Min(values), Percentile(values, 25), Percentile(values, 75),
                Max(values), values.size());
}

const char* Verdict(double ratio) { return ratio <= kTargetRatio ? "met" : "missed"; }

} // namespace

int main(int argc, char* argv[]) {
    int runs = 21;
    int settleMs = 500;
    std::vector<std::string> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--runs" && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
        } else if (arg == "--settle-ms" && i + 1 < argc) {
            settleMs = std::atoi(argv[++i]);
        } else {
            programs.push_back(arg);
        }
    }
    if (programs.size() < 2 || runs < 1) {
        Fail("usage: tolvane_startup_bench [--runs N] [--settle-ms M] PROGRAM BASELINE "
             "[REFERENCE...]");
    }
    // Every program is to use the display, whatever the caller's Qt set-up.
    unsetenv("QT_QPA_PLATFORM");

    Display* display = XOpenDisplay(nullptr);
    if (!display) Fail("cannot open the X display");
    Watcher watcher(display);
    const auto settle = std::chrono::milliseconds(settleMs);
    const auto timeout = std::chrono::milliseconds(20000);

    std::vector<Series> series;
    for (const std::string& program : programs)
        series.push_back({BaseName(program), {}, {}, {}, {}, {}, 0});
    // One launch of each first, not counted: it brings them into the file cache.
    for (const std::string& program : programs)
        watcher.Run(program, settle, timeout);
    // Round after round, each program once, the order turned by one each
    // round, so that drift in the machine's load falls on all alike.
    const std::size_t count = programs.size();
    for (int round = 0; round < runs; ++round) {
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t i = (static_cast<std::size_t>(round) + k) % count;
            series[i].Add(watcher.Run(programs[i], settle, timeout));
        }
        std::fprintf(stderr, "\rstartup bench: round %d of %d", round + 1, runs);
    }
    std::fprintf(stderr, "\n");
    XCloseDisplay(display);
    for (const Series& s : series) {
        if (s.mapped.empty()) Fail(s.name + " showed no window");
    }

    std::printf("%d launches of each, in turn; resident memory read %d ms after the first "
                "paint.\n\n",
                runs, settleMs);
    std::printf("| Measure | Program | Median | Min | Middle half | Max | Launches |\n");
    std::printf("|---|---|---:|---:|---:|---:|---:|\n");
    for (const Series& s : series)
        PrintRow("first window mapped (ms)", s.mapped, s.name);
    for (const Series& s : series)
        PrintRow("first paint (ms)", s.painted, s.name);
    for (const Series& s : series)
        PrintRow("CPU time to first window (ms)", s.cpuToMap, s.name);
    for (const Series& s : series)
        PrintRow("resident memory (MiB)", s.resident, s.name);
    for (const Series& s : series) {
        if (s.failed > 0) {
            std::printf("\n%s: %d launches showed no window within %lld s.\n", s.name.c_str(),
                        s.failed, static_cast<long long>(timeout.count() / 1000));
        }
    }

    std::printf("\nResident memory by kind of mapping, medians in MiB:\n\n| Part |");
    for (const Series& s : series)
        std::printf(" %s |", s.name.c_str());
    std::printf("\n|---|");
    for (std::size_t i = 0; i < count; ++i)
        std::printf("---:|");
    std::printf("\n");
    for (int p = 0; p < kPartCount; ++p) {
        std::printf("| %s |", kPartNames[p]);
        for (const Series& s : series)
            std::printf(" %.2f |", Median(s.parts[p]));
        std::printf("\n");
    }

    const Series& program = series[0];
    std::printf("\n| Ratio of medians | First window mapped | First paint | CPU time to first "
                "window | Resident memory |\n");
    std::printf("|---|---:|---:|---:|---:|\n");
    for (std::size_t i = 1; i < count; ++i) {
        std::printf("| %s / %s | %.3f | %.3f | %.3f | %.3f |\n", program.name.c_str(),
                    series[i].name.c_str(), Median(program.mapped) / Median(series[i].mapped),
                    Median(program.painted) / Median(series[i].painted),
                    Median(program.cpuToMap) / Median(series[i].cpuToMap),
                    Median(program.resident) / Median(series[i].resident));
    }
    // The lines the report's summary is made of: against the bare baseline.
    const Series& baseline = series[1];
    const double mappedRatio = Median(program.mapped) / Median(baseline.mapped);
    const double residentRatio = Median(program.resident) / Median(baseline.resident);
    std::printf("TARGET | start-up to first window, %s / %s | %.3f × | ≤ %.2f × | %s |\n",
                program.name.c_str(), baseline.name.c_str(), mappedRatio, kTargetRatio,
                Verdict(mappedRatio));
    std::printf("TARGET | resident memory with the window up, %s / %s | %.3f × | ≤ %.2f × | %s |\n",
                program.name.c_str(), baseline.name.c_str(), residentRatio, kTargetRatio,
                Verdict(residentRatio));
    const double cpuRatio = Median(program.cpuToMap) / Median(baseline.cpuToMap);
    std::printf("TARGET | for information, CPU time to first window, %s / %s | %.3f × | ≤ %.2f × | "
                "%s |\n",
                program.name.c_str(), baseline.name.c_str(), cpuRatio, kTargetRatio,
                cpuRatio <= kTargetRatio ? "within" : "beyond");
    return EXIT_SUCCESS;
}
