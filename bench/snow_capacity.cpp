// How many flakes a snow program can move at 25 frames a second.
//
//   snow_capacity PROGRAM FLAKES_AT_START FLAKES_PER_PRESS CALLS_TO_RAND_PER_FLAKE COUNT...
//
// Runs the real program in the X server whose name the file that
// KAVEX_DISPLAY_FILE names holds, presses the space bar until it has
// each COUNT of flakes, and at each count measures over three seconds the
// refreshes of its window (XDamage) and the CPU time the process used. The
// share of a frame spent in rand() comes from timing rand() here, in the same
// C library, on the same machine, in the same run.
#include <gtest/gtest.h>  // the session reports its failures through it

#include "x11_session.hpp"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using x11::milliseconds;

// CPU time (user + system) the process has used, in milliseconds.
double cpu_ms(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    std::string skip;
    for (int i = 3; i < 14; ++i) fields >> skip;  // fields 3 to 13
    double utime = 0, stime = 0;
    fields >> utime >> stime;
    return (utime + stime) * 1000.0 / sysconf(_SC_CLK_TCK);
}

double thread_cpu_ns() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e9 + t.tv_nsec;
}

// CPU nanoseconds per rand() call, with a second thread alive as in the
// programs (SDL's timer thread); the best of five rounds, since other
// processes on the machine only ever add to it.
double rand_ns() {
    std::atomic<bool> stop{false};
    std::thread idle([&] {
        while (!stop) std::this_thread::sleep_for(milliseconds(10));
    });
    constexpr int calls = 5'000'000;
    volatile int sink = 0;
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const double start = thread_cpu_ns();
        for (int i = 0; i < calls; ++i) sink = sink + std::rand() % 5;
        best = std::min(best, (thread_cpu_ns() - start) / calls);
    }
    stop = true;
    idle.join();
    return best;
}

// Space presses 2 ms apart on the server's clock (closer ones would pass for
// auto-repeat), in rounds that let the program's small event queue drain.
void press_space(x11::session& x, x11::refresh_counter& refreshes, long times) {
    Display* dpy = x.display();
    const KeyCode space = XKeysymToKeycode(dpy, XK_space);
    for (long done = 0; done < times;) {
        for (int i = 0; i < 50 && done < times; ++i, ++done) {
            XTestFakeKeyEvent(dpy, space, True, 2);
            XTestFakeKeyEvent(dpy, space, False, 0);
        }
        x.sync();
        refreshes.wait_next(milliseconds(2000));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s PROGRAM FLAKES_AT_START FLAKES_PER_PRESS RAND_PER_FLAKE COUNT...\n", argv[0]);
        return 2;
    }
    const std::string program = argv[1];
    long flakes = std::atol(argv[2]);
    const long per_press = std::atol(argv[3]);
    const int rand_per_flake = std::atoi(argv[4]);
    std::vector<long> counts;
    for (int i = 5; i < argc; ++i) counts.push_back(std::atol(argv[i]));

    const double ns = rand_ns();
    x11::session x;
    if (!x.ok()) return 1;
    auto app = x.start(program);
    const Window w = app ? app->wait_for_window() : None;
    if (w == None) {
        std::fprintf(stderr, "%s: no window\n", program.c_str());
        return 1;
    }
    x11::refresh_counter refreshes(x, w);
    x.move_pointer(w, 200, 200);  // no wind, and the keyboard reaches the window

    std::printf("# %s, SDL %s; rand() %.1f ns a call\n", program.c_str(), app->sdl_provider().c_str(), ns);
    std::printf("%10s %8s %14s %14s %10s\n", "flakes", "frames/s", "CPU ms/frame", "rand ms/frame", "rand share");
    // A frame holds the 40 ms period while the program's CPU time per frame
    // stays under it; the frame rate itself also depends on what else the
    // machine runs. The largest such count is read off a straight line
    // through the points (the work per frame grows linearly).
    std::vector<std::pair<double, double>> points;  // flakes, CPU ms per frame
    for (long target : counts) {
        if (target > flakes) press_space(x, refreshes, (target - flakes + per_press - 1) / per_press);
        flakes = std::max(flakes, target);
        refreshes.count_for(milliseconds(1000));  // let the queue settle

        const double cpu_before = cpu_ms(app->pid());
        const auto start = x11::clock::now();
        const int frames = refreshes.count_for(milliseconds(3000));
        const double seconds = std::chrono::duration<double>(x11::clock::now() - start).count();
        const double cpu_per_frame = frames ? (cpu_ms(app->pid()) - cpu_before) / frames : 0;
        const double rand_per_frame = flakes * rand_per_flake * ns / 1e6;
        std::printf("%10ld %8.1f %14.1f %14.1f %9.0f%%\n", flakes, frames / seconds, cpu_per_frame, rand_per_frame,
                    cpu_per_frame > 0 ? 100 * rand_per_frame / cpu_per_frame : 0);
        std::fflush(stdout);
        if (frames) points.push_back({static_cast<double>(flakes), cpu_per_frame});
        if (cpu_per_frame > 80) break;  // far past what it holds
    }
    if (points.size() >= 2) {
        double n = points.size(), sx = 0, sy = 0, sxx = 0, sxy = 0;
        for (auto [px, py] : points) {
            sx += px;
            sy += py;
            sxx += px * px;
            sxy += px * py;
        }
        const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
        const double base = (sy - slope * sx) / n;
        std::printf("# %.1f ns of CPU per flake per frame, %.1f ms besides; 25 frames a second up to about %.0f flakes\n",
                    slope * 1e6, base, (40 - base) / slope);
    }
    x.close_request(w);
    const auto status = app->wait_exit(milliseconds(5000));
    return status == 0 ? 0 : 1;
}
