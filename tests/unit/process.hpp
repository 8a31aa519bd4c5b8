// Test helpers: run this very test program again, for what changes a process
// for good (SDL failing to start, a closed window whose quit never clears).
#pragma once

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace test {

struct finished {
    int status = -1;     // as waitpid reports it (on Windows, the exit code)
    std::string output;  // stdout and stderr together
};

#ifdef _WIN32
inline bool exited(int) { return true; }
inline int exit_code(int status) { return status; }

// Runs this program again with `args`, and this process's environment in
// which each NAME=VALUE of `env_changes` replaces the variable of that name.
inline finished run_self(const std::vector<std::string>& args, const std::vector<std::string>& env_changes) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = std::string("\"\"") + self + "\"";
    for (const auto& arg : args) command += " \"" + arg + "\"";
    command += " 2>&1\"";  // cmd.exe takes the outer quotes off
    std::vector<std::pair<std::string, std::string>> saved;
    for (const auto& change : env_changes) {
        const std::string name = change.substr(0, change.find('='));
        const char* old = std::getenv(name.c_str());
        saved.emplace_back(name, old ? old : "");
        _putenv_s(name.c_str(), change.substr(name.size() + 1).c_str());
    }
    finished result;
    if (FILE* out = _popen(command.c_str(), "r")) {
        char buffer[256];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, out)) > 0;) result.output.append(buffer, n);
        result.status = _pclose(out);
    }
    for (const auto& [name, value] : saved) _putenv_s(name.c_str(), value.c_str());
    return result;
}
#else
inline bool exited(int status) { return WIFEXITED(status); }
inline int exit_code(int status) { return WEXITSTATUS(status); }


// Runs /proc/self/exe with `args` and this process's environment, in which
// each NAME=VALUE of `env_changes` replaces the variable of that name.
inline finished run_self(const std::vector<std::string>& args, const std::vector<std::string>& env_changes) {
    const auto name_of = [](const std::string& var) { return var.substr(0, var.find('=')); };
    std::vector<std::string> env_strings = env_changes;
    for (char** e = environ; *e; ++e) {
        const std::string var(*e);
        bool replaced = false;
        for (const auto& change : env_changes) replaced = replaced || name_of(change) == name_of(var);
        if (!replaced) env_strings.push_back(var);
    }
    std::vector<char*> env;
    for (auto& s : env_strings) env.push_back(s.data());
    env.push_back(nullptr);

    std::string self = "/proc/self/exe";
    std::vector<std::string> arg_strings{self};
    arg_strings.insert(arg_strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& s : arg_strings) argv.push_back(s.data());
    argv.push_back(nullptr);

    finished result;
    int out[2];
    if (pipe(out) != 0) return result;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    pid_t child;
    const bool spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, argv.data(), env.data()) == 0;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char buffer[256];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) result.output.append(buffer, n);
    close(out[0]);
    if (spawned) waitpid(child, &result.status, 0);
    return result;
}

#endif

// For a test that must have a process of its own: outside it, runs the test
// again alone in a new process, checks that it passed there and returns
// true (the caller returns at once); inside it, returns false and the test
// body runs.
//
//   TEST(Quit, IsSticky) {
//       if (test::ran_in_own_process()) return;
//       ...
//   }
inline bool ran_in_own_process() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(info->test_suite_name()) + "." + info->name();
    const char* alone = std::getenv("KAVEX_TEST_ALONE");
    if (alone && name == alone) return false;

    const finished run = run_self({"--gtest_filter=" + name}, {"KAVEX_TEST_ALONE=" + name});
    EXPECT_TRUE(exited(run.status) && exit_code(run.status) == 0)
        << "in a process of its own, " << name << " failed:\n" << run.output;
    return true;
}

}  // namespace test
