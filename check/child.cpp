// A program run in its own folder and process group, with limits.
#include "child.hpp"

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace check {

namespace {

using clock_type = std::chrono::steady_clock;

void set_limit(int resource, rlim_t value) {
    const rlimit r{value, value};
    setrlimit(resource, &r);
}

// In the child, between fork and exec: only calls that are safe there. A
// failure is written to `report` as errno's value, and the child ends.
[[noreturn]] void become(const std::vector<char*>& argv, const std::string& folder, const std::vector<std::string>& environment,
                         const limits& limit, const std::string& output_file, int report) {
    setpgid(0, 0);
    const auto fail = [&] {
        const int e = errno;
        if (write(report, &e, sizeof e) < 0) _exit(127);
        _exit(127);
    };
    if (chdir(folder.c_str()) != 0) fail();
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(output_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || dup2(in, 0) < 0 || dup2(out, 1) < 0 || dup2(out, 2) < 0) fail();
    if (limit.memory_mb > 0) set_limit(RLIMIT_AS, static_cast<rlim_t>(limit.memory_mb) << 20);
    if (limit.output_mb > 0) set_limit(RLIMIT_FSIZE, static_cast<rlim_t>(limit.output_mb) << 20);
    set_limit(RLIMIT_CORE, 0);
    for (const std::string& setting : environment) putenv(const_cast<char*>(setting.c_str()));
    execvp(argv[0], argv.data());
    fail();
    _exit(127);
}

std::string signal_words(int sig) {
    switch (sig) {
    case SIGSEGV: return "crashed (Segmentation fault: memory it may not touch)";
    case SIGABRT: return "crashed (aborted)";
    case SIGFPE: return "crashed (an arithmetic fault, such as a division by zero)";
    case SIGBUS: return "crashed (Bus error)";
    case SIGILL: return "crashed (an illegal instruction)";
    case SIGXFSZ: return "wrote a file larger than the output limit";
    case SIGKILL: return "was killed";
    default: return std::string("ended by signal ") + std::to_string(sig) + " (" + strsignal(sig) + ")";
    }
}

}  // namespace

outcome run(const std::vector<std::string>& command, const std::string& folder,
            const std::vector<std::string>& environment, const limits& limit, const std::string& output_file) {
    outcome result;
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    int report[2];
    if (command.empty() || pipe2(report, O_CLOEXEC) != 0) {
        result.words = "could not be started";
        return result;
    }
    const auto start = clock_type::now();
    const pid_t pid = fork();
    if (pid == 0) become(argv, folder, environment, limit, output_file, report[1]);
    close(report[1]);
    if (pid < 0) {
        close(report[0]);
        result.words = std::string("could not be started: ") + std::strerror(errno);
        return result;
    }
    setpgid(pid, pid);  // also here, so that the kill below never misses the group
    int exec_error = 0;
    const bool exec_failed = read(report[0], &exec_error, sizeof exec_error) == static_cast<ssize_t>(sizeof exec_error);
    close(report[0]);

    const auto deadline = start + std::chrono::seconds(limit.seconds);
    int status = 0;
    bool timed_out = false;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (clock_type::now() >= deadline) {
            timed_out = true;
            kill(-pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    kill(-pid, SIGKILL);  // whatever it started goes with it
    result.seconds = std::chrono::duration<double>(clock_type::now() - start).count();

    if (exec_failed) {
        result.words = std::string("could not be started: ") + std::strerror(exec_error);
    } else if (timed_out) {
        result.how = ended::too_long;
        result.words = "ran longer than " + std::to_string(limit.seconds) + " s, the time limit";
    } else if (WIFSIGNALED(status)) {
        result.how = ended::by_signal;
        result.status = WTERMSIG(status);
        result.words = signal_words(result.status);
    } else {
        result.status = WEXITSTATUS(status);
        result.how = result.status == 0 ? ended::normally : ended::with_status;
        result.words = "ended with status " + std::to_string(result.status);
    }
    return result;
}

}  // namespace check
