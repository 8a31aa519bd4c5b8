// kavex-check: runs a reference program and a student's on one transcript
// of input, without a display, and compares the pictures they show.
//
//   kavex-check run.txt ./reference ./student       one program
//   kavex-check run.txt ./reference submissions/    a folder of them
//   kavex-check --animate run.gif run.txt ./program  an animation of a run
//   kavex-check --assignment a.json --starter start.cpp run.txt ./solution
//                                                    an assignment for the playground
//
// Exit status: 0 the pictures match, 1 they differ, 2 a program could not
// run (or the transcript, the options or a report were wrong).
#include "animate.hpp"
#include "assignment.hpp"
#include "checking.hpp"
#include "files.hpp"
#include "folder.hpp"
#include "transcript.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace check;

constexpr const char* usage =
    "usage: kavex-check [OPTIONS] TRANSCRIPT REFERENCE STUDENT\n"
    "       kavex-check [OPTIONS] TRANSCRIPT REFERENCE FOLDER\n"
    "       kavex-check --animate FILE.gif [OPTIONS] TRANSCRIPT PROGRAM\n"
    "       kavex-check --assignment FILE.json --starter FILE.cpp [OPTIONS] TRANSCRIPT SOLUTION\n"
    "Replays both programs on the transcript without a display (KAVEX_REPLAY) and compares\n"
    "the pictures they show after each input event. A FOLDER holds one submission an\n"
    "entry: NAME.cpp, a folder of .cpp files, or a program; sources are built first.\n"
    "Exit status: 0 the same, 1 different, 2 a program could not run.\n"
    "Options:\n"
    "  --last               compare only the last picture of each run\n"
    "  --frames E,E,...     compare only the pictures shown after these events\n"
    "  --tolerance N        pictures match when at most N pixels differ (0)\n"
    "  --time-limit S       seconds a program may run before it is killed (60)\n"
    "  --memory-limit MB    memory a program may take, 0 for no limit (1024)\n"
    "  --output-limit MB    the largest file a program may write (256)\n"
    "  --difference FILE    the picture of the first difference (difference.png)\n"
    "  --json FILE          a report for an autograder, as JSON\n"
    "  --junit FILE         ... as JUnit XML\n"
    "  --out DIR            a folder's table and pictures (kavex-check-report)\n"
    "  --compile LINE       a folder's compiler line, with {sources} and {program}\n"
    "                       (c++ -std=c++17 -O2 -o {program} {sources} $(pkg-config --cflags --libs kavex))\n"
    "  --animate FILE.gif   an animated GIF of the reference's run (or the one program's)\n"
    "  --fps N              at most N pictures a second in the animation (10)\n"
    "  --scale PERCENT      the animation's size, in percent of the window's (100)\n"
    "  --assignment FILE    an assignment for the playground: the starter code, the transcript,\n"
    "                       and the solution's pictures after the --frames events (or its last)\n"
    "  --starter FILE.cpp   the assignment's starter code\n"
    "  --title TEXT         the assignment's title\n"
    "  --keep               keep the programs' folders and pictures (the folder is named)\n"
    "Linux and other POSIX systems only. Not a sandbox: see the teacher's guide (teaching.md).\n";

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "kavex-check: %s\n", why.c_str());
    std::exit(2);
}

// A command line it cannot follow: the usage too.
[[noreturn]] void refuse(const std::string& why) {
    std::fputs(usage, stderr);
    fail(why);
}

long number_option(const std::string& option, const char* value, long low) {
    char* end = nullptr;
    const long n = value ? std::strtol(value, &end, 10) : 0;
    if (!value || *end != '\0' || end == value || n < low) refuse(option + " wants a whole number of " + std::to_string(low) + " or more");
    return n;
}

std::vector<unsigned long> event_list(const char* value) {
    std::vector<unsigned long> events;
    std::stringstream in(value ? value : "");
    for (std::string item; std::getline(in, item, ',');)
        events.push_back(static_cast<unsigned long>(number_option("--frames", item.c_str(), 0)));
    if (events.empty()) refuse("--frames wants events, such as --frames 30,60");
    return events;
}

struct command_line {
    settings s;
    std::string animate;
    animation looks;
    std::string assignment_file, starter_file;
    assignment task;
    bool keep = false;
    std::vector<std::string> operands;
};

command_line read_command_line(int argc, char** argv) {
    command_line c;
    int i = 1;
    for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        const auto take = [&] {
            if (!value) refuse(option + " wants a value");
            ++i;
            return std::string(value);
        };
        if (option == "--help") {
            std::fputs(usage, stdout);
            std::exit(0);
        } else if (option == "--last") c.s.which.last_only = true;
        else if (option == "--keep") c.keep = true;
        else if (option == "--frames") c.s.which.events = event_list(take().c_str());
        else if (option == "--tolerance") c.s.which.tolerance = number_option(option, take().c_str(), 0);
        else if (option == "--time-limit") c.s.limit.seconds = static_cast<int>(number_option(option, take().c_str(), 1));
        else if (option == "--memory-limit") c.s.limit.memory_mb = number_option(option, take().c_str(), 0);
        else if (option == "--output-limit") c.s.limit.output_mb = number_option(option, take().c_str(), 1);
        else if (option == "--difference") c.s.difference = take();
        else if (option == "--json") c.s.json = take();
        else if (option == "--junit") c.s.junit = take();
        else if (option == "--out") c.s.out = take();
        else if (option == "--compile") c.s.compile = take();
        else if (option == "--animate") c.animate = take();
        else if (option == "--assignment") c.assignment_file = take();
        else if (option == "--starter") c.starter_file = take();
        else if (option == "--title") c.task.title = take();
        else if (option == "--fps") c.looks.fps = static_cast<int>(number_option(option, take().c_str(), 1));
        else if (option == "--scale") c.looks.scale_percent = static_cast<int>(number_option(option, take().c_str(), 1));
        else refuse("unknown option " + option);
    }
    for (; i < argc; ++i) c.operands.push_back(argv[i]);
    if (c.looks.fps > 100 || c.looks.scale_percent > 100) refuse("--fps goes up to 100, --scale to 100 percent");
    if (!c.assignment_file.empty() && c.starter_file.empty()) refuse("--assignment wants its --starter code too");
    const bool one_program = !c.animate.empty() || !c.assignment_file.empty();
    if (c.operands.size() != 3 && !(c.operands.size() == 2 && one_program))
        refuse("it takes three names after the options (two with --animate or --assignment)");
    return c;
}

std::string text_of(const std::string& file, const char* what) {
    std::string text;
    if (!read_whole(file, text)) fail(std::string("cannot read ") + what + " " + file);
    return text;
}

// The transcript is read here first, so that a malformed one is named once,
// with its line, instead of by every program. Its events give the time of
// the run after each one: the value of the last tick by then (40 ms an
// event in a run without ticks).
std::vector<long long> check_transcript(const std::string& file, std::string& text) {
    text = text_of(file, "the transcript");
    std::vector<SDL_Event> events;
    std::string error;
    if (!kavex::transcript::read(text, events, error)) fail(file + ": " + error);
    const bool ticks = std::any_of(events.begin(), events.end(), [](const SDL_Event& e) { return e.type == SDL_USEREVENT; });
    std::vector<long long> times{0};
    for (const SDL_Event& e : events)
        times.push_back(!ticks ? static_cast<long long>(times.size()) * kavex::transcript::tick_spacing
                               : e.type == SDL_USEREVENT ? e.user.code : times.back());
    return times;
}

bool animate(const command_line& c, const replay& run, const std::vector<long long>& times) {
    std::string error;
    if (!write_animation(c.animate, run.frames_folder, run.frames, times, c.looks, error)) {
        std::fprintf(stderr, "kavex-check: no animation: %s\n", error.c_str());
        return false;
    }
    std::printf("the animation: %s\n", c.animate.c_str());
    return true;
}

std::string temporary_folder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/kavex-check-XXXXXX";
    if (!mkdtemp(pattern.data())) fail("cannot make a temporary folder in " + pattern);
    return pattern;
}

bool make_assignment(command_line& c, const replay& solution) {
    std::string error;
    c.task.tolerance = c.s.which.tolerance;
    if (c.task.title.empty()) c.task.title = fs::path(c.starter_file).stem().string();
    if (!write_assignment(c.assignment_file, c.task, solution.frames_folder, solution.frames, c.s.which, error)) {
        std::fprintf(stderr, "kavex-check: no assignment: %s\n", error.c_str());
        return false;
    }
    std::printf("the assignment: %s\n", c.assignment_file.c_str());
    return true;
}

int check_one(const replay& reference, const std::string& student, const settings& s) {
    const replay run = replay_program(student, "student", s);
    const row r = judge(reference, run, s, s.difference);
    if (!s.json.empty()) write_json(s.json, s.transcript, {r});
    if (!s.junit.empty()) write_junit(s.junit, {r});
    if (r.result == verdict::failed) {
        std::fprintf(stderr, "kavex-check: %s: %s\n", student.c_str(), r.detail.c_str());
        return 2;
    }
    std::printf("%s: %s\n", verdict_word(r.result), r.detail.c_str());
    if (!r.picture.empty()) std::printf("the reference, the student's picture and the difference in red: %s\n", r.picture.c_str());
    return r.result == verdict::same ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    command_line c = read_command_line(argc, argv);
    settings& s = c.s;
    s.transcript = absolute(c.operands[0]);
    const std::vector<long long> times = check_transcript(s.transcript, c.task.transcript);
    if (!c.starter_file.empty()) c.task.starter = text_of(c.starter_file, "the starter code");
    s.work = temporary_folder();

    const replay reference = replay_program(c.operands[1], "reference", s);
    int status = 2;
    if (!reference.trouble.empty()) {
        std::fprintf(stderr, "kavex-check: the reference %s %s\n", c.operands[1].c_str(), reference.trouble.c_str());
    } else if ((!c.animate.empty() && !animate(c, reference, times)) ||
               (!c.assignment_file.empty() && !make_assignment(c, reference))) {
        status = 2;
    } else if (c.operands.size() == 2) {
        status = 0;
    } else {
        std::error_code e;
        status = fs::is_directory(c.operands[2], e) ? check_folder(c.operands[2], reference, s)
                                                    : check_one(reference, c.operands[2], s);
    }
    std::error_code ignored;
    if (c.keep) std::fprintf(stderr, "kavex-check: the programs' folders and pictures are kept in %s\n", s.work.c_str());
    else fs::remove_all(s.work, ignored);
    return status;
}
