// bench_program: start-up time, memory and idle CPU of the windowed program,
// measured from outside as a user would see them.
//
//   bench_program [--runs N] [--idle SECONDS] [--settle SECONDS] [--shot FILE.ppm]
//                 KOVRIN [ARGS...]
//
// Each run starts KOVRIN ARGS..., polls every 2 ms for its marked main window
// to be viewable and then for its first painted frame (a sample of the window
// that is no longer all black; --shot saves the window as it was then, to
// check what was taken for the first frame), and ends the program with kovrinctl's quit
// request (the kovrinctl beside KOVRIN). Then one more copy is started and
// left idle: after the settle time its memory is read from /proc, and its CPU
// time and wake-ups (context switches) per thread over the idle time.
//
// Needs $DISPLAY; run it with a private X server (scripts/with-services.sh).

#include "app/DeviceName.h"
#include "app/ProductConfig.h"
#include "platform/instance/InstanceWindow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Options {
    int runs = 5;
    double idle_s = 60;
    double settle_s = 2;
    std::string shot; // the first run's first frame as a PPM file
    std::string program;
    std::vector<std::string> args;
};

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage: bench_program [--runs N] [--idle SECONDS] [--settle SECONDS] "
                      "[--shot FILE.ppm] KOVRIN [ARGS...]\n");
}

std::optional<Options> ParseOptions(int argc, char** argv) {
    Options o;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.size() < 2 || a[0] != '-' || a[1] != '-') {
            break;
        }
        if (i + 1 >= argc) {
            return std::nullopt;
        }
        char* end = nullptr;
        const double v = std::strtod(argv[++i], &end);
        if (a != "--shot" && (end == argv[i] || *end != '\0' || v < 0)) {
            return std::nullopt;
        }
        if (a == "--runs") {
            o.runs = static_cast<int>(v);
        } else if (a == "--idle") {
            o.idle_s = v;
        } else if (a == "--settle") {
            o.settle_s = v;
        } else if (a == "--shot") {
            o.shot = argv[i];
        } else {
            return std::nullopt;
        }
    }
    if (i >= argc) {
        return std::nullopt;
    }
    o.program = argv[i++];
    o.args.assign(argv + i, argv + argc);
    return o;
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

pid_t Spawn(const std::string& program, const std::vector<std::string>& args, bool quiet = false) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet) {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        errno = error;
        return -1;
    }
    return pid;
}

// Waits up to timeout_ms for the child to end; true when it has been reaped.
bool WaitExit(pid_t pid, int timeout_ms, int* status) {
    const auto start = Clock::now();
    for (;;) {
        const pid_t r = waitpid(pid, status, WNOHANG);
        if (r == pid || r < 0) {
            return true;
        }
        if (MsSince(start) > timeout_ms) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

// Ends the program with the quit request, falling back to signals. Returns the
// milliseconds from the request to the end, or a negative value when it had
// to be killed.
double Stop(pid_t pid, const std::string& ctl) {
    const auto start = Clock::now();
    int status = 0;
    const pid_t q = Spawn(ctl, {"quit-request", "610"}, true);
    if (q > 0) {
        int qs = 0;
        waitpid(q, &qs, 0);
        if (WaitExit(pid, 10000, &status)) {
            return MsSince(start);
        }
    }
    kill(pid, SIGTERM);
    if (!WaitExit(pid, 3000, &status)) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    return -1;
}

class XConnection {
public:
    XConnection() : dpy_(XOpenDisplay(nullptr)) {}
    ~XConnection() {
        if (dpy_ != nullptr) {
            XCloseDisplay(dpy_);
        }
    }
    XConnection(const XConnection&) = delete;
    XConnection& operator=(const XConnection&) = delete;
    Display* Dpy() const { return dpy_; }

private:
    Display* dpy_;
};

bool Marked(Display* dpy, Window w, Atom marker) {
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const bool ok = XGetWindowProperty(dpy, w, marker, 0, 1, False, XA_CARDINAL, &actual, &format,
                                       &count, &after, &data) == Success &&
                    data != nullptr && actual == XA_CARDINAL && format == 32 && count == 1 &&
                    *reinterpret_cast<const long*>(data) == 1;
    if (data != nullptr) {
        XFree(data);
    }
    return ok;
}

// The marked top-level window on this connection (no window manager runs on
// the bench display, so top-level windows are the root's children).
Window FindMarked(Display* dpy, const std::string& marker_name) {
    const Atom marker = XInternAtom(dpy, marker_name.c_str(), True);
    if (marker == None) {
        return 0;
    }
    Window root_ret = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(dpy, DefaultRootWindow(dpy), &root_ret, &parent, &children, &count) == 0) {
        return 0;
    }
    Window found = 0;
    for (unsigned i = count; i-- > 0 && found == 0;) {
        if (Marked(dpy, children[i], marker)) {
            found = children[i];
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
    return found;
}

int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

// True once some pixel of the sampled areas is not black: an unpainted window
// on a server without a compositor shows black. Samples the top-left corner
// (frame and logo) and a band across the middle.
bool Painted(Display* dpy, Window w, int width, int height) {
    struct Area {
        int x, y, w, h;
    };
    const Area areas[] = {
        {0, 0, std::min(64, width), std::min(48, height)},
        {0, height / 2, width, 1},
    };
    for (const Area& a : areas) {
        if (a.w <= 0 || a.h <= 0) {
            continue;
        }
        XImage* img = XGetImage(dpy, w, a.x, a.y, static_cast<unsigned>(a.w),
                                static_cast<unsigned>(a.h), AllPlanes, ZPixmap);
        if (img == nullptr) {
            continue;
        }
        bool lit = false;
        for (int y = 0; y < a.h && !lit; ++y) {
            for (int x = 0; x < a.w && !lit; ++x) {
                lit = (XGetPixel(img, x, y) & 0xFFFFFFu) != 0;
            }
        }
        XDestroyImage(img);
        if (lit) {
            return true;
        }
    }
    return false;
}

bool SaveWindow(Display* dpy, Window w, int width, int height, const std::string& path) {
    XImage* img = XGetImage(dpy, w, 0, 0, static_cast<unsigned>(width),
                            static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (img == nullptr) {
        return false;
    }
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << width << ' ' << height << "\n255\n";
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned long p = XGetPixel(img, x, y);
            const char rgb[3] = {static_cast<char>((p >> 16) & 0xFF),
                                 static_cast<char>((p >> 8) & 0xFF), static_cast<char>(p & 0xFF)};
            out.write(rgb, 3);
        }
    }
    XDestroyImage(img);
    return static_cast<bool>(out);
}

struct StartTimes {
    double marked_ms = -1;   // the marked window exists
    double viewable_ms = -1; // it is mapped and viewable
    double painted_ms = -1;  // its first frame is on screen
};

std::optional<StartTimes> StartAndWait(Display* dpy, const Options& o, const std::string& marker,
                                       pid_t* pid_out, const std::string& shot = {}) {
    StartTimes t;
    const auto start = Clock::now();
    const pid_t pid = Spawn(o.program, o.args);
    if (pid <= 0) {
        std::fprintf(stderr, "bench_program: cannot start %s: %s\n", o.program.c_str(),
                     std::strerror(errno));
        return std::nullopt;
    }
    *pid_out = pid;
    Window w = 0;
    while (MsSince(start) < 20000) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "bench_program: %s ended before its first frame (status %d)\n",
                         o.program.c_str(), status);
            *pid_out = -1;
            return std::nullopt;
        }
        if (w == 0) {
            w = FindMarked(dpy, marker);
            if (w != 0) {
                t.marked_ms = MsSince(start);
            }
        }
        if (w != 0) {
            XWindowAttributes attrs{};
            if (XGetWindowAttributes(dpy, w, &attrs) == 0) {
                w = 0; // gone again
            } else if (attrs.map_state == IsViewable) {
                if (t.viewable_ms < 0) {
                    t.viewable_ms = MsSince(start);
                }
                if (Painted(dpy, w, attrs.width, attrs.height)) {
                    t.painted_ms = MsSince(start);
                    if (!shot.empty() && !SaveWindow(dpy, w, attrs.width, attrs.height, shot)) {
                        std::fprintf(stderr, "bench_program: cannot save %s\n", shot.c_str());
                    }
                    return t;
                }
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    std::fprintf(stderr, "bench_program: no painted window within 20 s\n");
    return std::nullopt;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A "Name:   value kB" line of /proc/PID/status, in kB; -1 when absent.
long StatusKb(const std::string& status, const std::string& key) {
    std::istringstream in(status);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key + ":", 0) == 0) {
            return std::strtol(line.c_str() + key.size() + 1, nullptr, 10);
        }
    }
    return -1;
}

struct TaskSample {
    std::string name;
    double cpu_ms = 0;      // time on a CPU (schedstat)
    long long switches = 0; // voluntary + involuntary context switches
};

struct ProcessSample {
    Clock::time_point when;
    double ticks_ms = 0; // utime + stime of the whole process (/proc/PID/stat)
    std::map<int, TaskSample> tasks;
};

ProcessSample Sample(pid_t pid) {
    ProcessSample s;
    s.when = Clock::now();
    const std::string base = "/proc/" + std::to_string(pid);
    // Fields after the parenthesised name; utime and stime are fields 14 and 15.
    const std::string stat = ReadFile(base + "/stat");
    const auto close = stat.rfind(')');
    if (close != std::string::npos) {
        std::istringstream in(stat.substr(close + 2));
        std::vector<std::string> f;
        std::string x;
        while (in >> x) {
            f.push_back(x);
        }
        // f[0] is field 3 (state).
        if (f.size() > 12) {
            const double ticks = std::stod(f[11]) + std::stod(f[12]);
            s.ticks_ms = ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
        }
    }
    DIR* dir = opendir((base + "/task").c_str());
    if (dir == nullptr) {
        return s;
    }
    while (dirent* e = readdir(dir)) {
        if (e->d_name[0] == '.') {
            continue;
        }
        const std::string task = base + "/task/" + e->d_name;
        TaskSample t;
        t.name = ReadFile(task + "/comm");
        if (!t.name.empty() && t.name.back() == '\n') {
            t.name.pop_back();
        }
        std::istringstream sched(ReadFile(task + "/schedstat"));
        double run_ns = 0;
        sched >> run_ns;
        t.cpu_ms = run_ns / 1e6;
        const std::string status = ReadFile(task + "/status");
        t.switches = StatusKb(status, "voluntary_ctxt_switches") +
                     StatusKb(status, "nonvoluntary_ctxt_switches");
        s.tasks[std::atoi(e->d_name)] = t;
    }
    closedir(dir);
    return s;
}

void Idle(Display* dpy, const Options& o, const std::string& marker, const std::string& ctl) {
    pid_t pid = -1;
    if (!StartAndWait(dpy, o, marker, &pid)) {
        if (pid > 0) {
            Stop(pid, ctl);
        }
        return;
    }
    std::this_thread::sleep_for(std::chrono::duration<double>(o.settle_s));
    const std::string status = ReadFile("/proc/" + std::to_string(pid) + "/status");
    const ProcessSample a = Sample(pid);
    std::this_thread::sleep_for(std::chrono::duration<double>(o.idle_s));
    const ProcessSample b = Sample(pid);
    const std::string status_end = ReadFile("/proc/" + std::to_string(pid) + "/status");
    Stop(pid, ctl);

    const double seconds = std::chrono::duration<double>(b.when - a.when).count();
    std::printf("\nMemory with the window open (after %.0f s):\n", o.settle_s);
    std::printf("  %-10s %8.1f MiB\n", "VmRSS", StatusKb(status, "VmRSS") / 1024.0);
    std::printf("  %-10s %8.1f MiB\n", "RssAnon", StatusKb(status, "RssAnon") / 1024.0);
    std::printf("  %-10s %8.1f MiB\n", "RssFile", StatusKb(status, "RssFile") / 1024.0);
    std::printf("  %-10s %8.1f MiB\n", "VmHWM", StatusKb(status, "VmHWM") / 1024.0);
    std::printf("  %-10s %8.1f MiB  (after the idle time)\n", "VmRSS",
                StatusKb(status_end, "VmRSS") / 1024.0);

    double cpu_ms = 0;
    long long switches = 0;
    std::printf("\nIdle for %.1f s:\n", seconds);
    std::printf("  %-8s %-16s %10s %10s %12s\n", "tid", "thread", "cpu ms", "cpu %", "wake-ups/s");
    for (const auto& [tid, end] : b.tasks) {
        const auto it = a.tasks.find(tid);
        const TaskSample begin = it != a.tasks.end() ? it->second : TaskSample{};
        const double ms = end.cpu_ms - begin.cpu_ms;
        const long long sw = end.switches - begin.switches;
        cpu_ms += ms;
        switches += sw;
        std::printf("  %-8d %-16s %10.1f %9.3f%% %12.1f\n", tid, end.name.c_str(), ms,
                    ms / 10.0 / seconds, static_cast<double>(sw) / seconds);
    }
    std::printf("  %-8s %-16s %10.1f %9.3f%% %12.1f\n", "", "all threads", cpu_ms,
                cpu_ms / 10.0 / seconds, static_cast<double>(switches) / seconds);
    const double ticks = b.ticks_ms - a.ticks_ms;
    std::printf("  utime+stime: %.0f ms = %.3f%% of one core (goal <= 0.3%%)\n", ticks,
                ticks / 10.0 / seconds);
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options) {
        PrintUsage(stderr);
        return 2;
    }
    const Options& o = *options;
    // Each line as it comes, also into a pipe or file.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const std::string folder = FolderOf(o.program);
    const std::string ctl = folder + "kovrinctl";
    kovrin::ReadDeviceNameFromConfig(folder + "config.xml");
    const std::string marker = kovrin::platform::InstanceMarkerName(kovrin::DeviceName());

    XConnection x;
    if (x.Dpy() == nullptr) {
        std::fprintf(stderr, "bench_program: cannot open the X display\n");
        return 1;
    }
    // The window may go away between a query and the next.
    XSetErrorHandler(IgnoreXErrors);
    if (FindMarked(x.Dpy(), marker) != 0) {
        std::fprintf(stderr, "bench_program: a copy of %s is already running\n",
                     kovrin::DeviceName().c_str());
        return 1;
    }

    std::printf("%s", o.program.c_str());
    for (const auto& a : o.args) {
        std::printf(" \"%s\"", a.c_str());
    }
    std::printf("\n\nStart-up, ms from exec:\n");
    std::printf("  %-5s %10s %10s %12s %10s\n", "run", "marked", "viewable", "first frame", "quit");
    std::vector<double> painted;
    for (int run = 1; run <= o.runs; ++run) {
        pid_t pid = -1;
        const std::optional<StartTimes> t =
            StartAndWait(x.Dpy(), o, marker, &pid, run == 1 ? o.shot : std::string());
        const double quit = pid > 0 ? Stop(pid, ctl) : -1;
        if (!t) {
            return 1;
        }
        painted.push_back(t->painted_ms);
        std::printf("  %-5d %10.1f %10.1f %12.1f %10.1f\n", run, t->marked_ms, t->viewable_ms,
                    t->painted_ms, quit);
    }
    if (!painted.empty()) {
        std::printf("  first frame: min %.1f ms, median %.1f ms over %zu runs\n",
                    *std::min_element(painted.begin(), painted.end()), Median(painted),
                    painted.size());
    }
    if (o.idle_s > 0) {
        Idle(x.Dpy(), o, marker, ctl);
    }
    return 0;
}
