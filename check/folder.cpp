// A folder of submissions checked in one go: each built when it is source,
// replayed, judged, and written as one row of a table, whatever happened to
// the others.
#include "folder.hpp"
#include "files.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace check {

namespace fs = std::filesystem;

namespace {

// A name that is safe as a file name in the report's folder.
std::string file_safe(const std::string& name) {
    std::string out;
    for (const char c : name) out += std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_' ? c : '_';
    return out;
}

std::string quoted_for_shell(const std::string& s) {
    std::string out = "'";
    for (const char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string replaced(std::string line, const std::string& field, const std::string& value) {
    for (std::size_t at = line.find(field); at != std::string::npos; at = line.find(field, at + value.size()))
        line.replace(at, field.size(), value);
    return line;
}

bool is_executable_file(const fs::path& p) {
    std::error_code e;
    return fs::is_regular_file(p, e) && (fs::status(p, e).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

// What a submission is: its sources to build, or its program.
struct submission {
    std::string name;
    std::vector<std::string> sources;
    std::string program;
};

bool as_submission(const fs::directory_entry& entry, submission& s) {
    const fs::path p = entry.path();
    s.name = p.filename().string();
    std::error_code e;
    if (p.extension() == ".cpp" && entry.is_regular_file(e)) {
        s.name = p.stem().string();
        s.sources = {p.string()};
        return true;
    }
    if (entry.is_directory(e)) {
        for (const fs::directory_entry& inner : fs::directory_iterator(p, e))
            if (inner.path().extension() == ".cpp") s.sources.push_back(inner.path().string());
            else if (s.program.empty() && is_executable_file(inner.path())) s.program = inner.path().string();
        std::sort(s.sources.begin(), s.sources.end());
        if (!s.sources.empty()) s.program.clear();
        return !s.sources.empty() || !s.program.empty();
    }
    if (is_executable_file(p)) {
        s.program = p.string();
        return true;
    }
    return false;  // a file of something else: a README, say
}

// Builds the sources with the course's compiler line; the row says why not.
bool build(submission& s, const settings& set, row& r) {
    const fs::path home = fs::path(set.work) / ("build-" + file_safe(s.name));
    std::error_code e;
    fs::create_directories(home, e);
    const std::string program = (home / "program").string();
    std::string sources;
    for (const std::string& source : s.sources) sources += (sources.empty() ? "" : " ") + quoted_for_shell(absolute(source));
    const std::string line = replaced(replaced(set.compile, "{program}", quoted_for_shell(program)), "{sources}", sources);
    limits compiler;
    compiler.seconds = 120;
    compiler.memory_mb = 0;  // compilers want what they want
    const std::string output = (home / "compiler.txt").string();
    const outcome o = run({"/bin/sh", "-c", line}, home.string(), {}, compiler, output);
    if (o.how == ended::normally && is_executable_file(program)) {
        s.program = program;
        return true;
    }
    r.name = s.name;
    r.seconds = o.seconds;
    r.detail = "did not compile (the compiler " + o.words + "):\n" + tail_of(output, 1500);
    return false;
}

}  // namespace

int check_folder(const std::string& folder, const replay& reference, const settings& s) {
    std::vector<submission> submissions;
    std::error_code e;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, e)) {
        submission sub;
        if (as_submission(entry, sub)) submissions.push_back(sub);
    }
    if (e) {
        std::fprintf(stderr, "kavex-check: cannot read the folder %s: %s\n", folder.c_str(), e.message().c_str());
        return 2;
    }
    std::sort(submissions.begin(), submissions.end(), [](const submission& a, const submission& b) { return a.name < b.name; });
    fs::create_directories(s.out, e);
    if (e) {
        std::fprintf(stderr, "kavex-check: cannot make the report's folder %s: %s\n", s.out.c_str(), e.message().c_str());
        return 2;
    }

    std::vector<row> rows;
    for (std::size_t i = 0; i < submissions.size(); ++i) {
        submission& sub = submissions[i];
        row r;
        if (sub.program.empty() && !build(sub, s, r)) {
            rows.push_back(r);
        } else {
            const replay run = replay_program(sub.program, "run-" + file_safe(sub.name), s);
            const std::string picture = file_safe(sub.name) + ".png";
            rows.push_back(judge(reference, run, s, (fs::path(s.out) / picture).string()));
            rows.back().name = sub.name;
            if (!rows.back().picture.empty()) rows.back().picture = picture;  // beside the page
        }
        std::fprintf(stderr, "[%zu/%zu] %s: %s\n", i + 1, submissions.size(), sub.name.c_str(), verdict_word(rows.back().result));
    }

    const std::string csv = (fs::path(s.out) / "results.csv").string(), page = (fs::path(s.out) / "results.html").string();
    bool written = write_csv(csv, rows) && write_page(page, s.transcript, rows);
    if (!s.json.empty()) written = write_json(s.json, s.transcript, rows) && written;
    if (!s.junit.empty()) written = write_junit(s.junit, rows) && written;
    if (!written) std::fprintf(stderr, "kavex-check: a report could not be written in full\n");
    std::printf("%zu submissions: %d same, %d different, %d failed; the table: %s and %s\n", rows.size(),
                static_cast<int>(std::count_if(rows.begin(), rows.end(), [](const row& r) { return r.result == verdict::same; })),
                static_cast<int>(std::count_if(rows.begin(), rows.end(), [](const row& r) { return r.result == verdict::different; })),
                static_cast<int>(std::count_if(rows.begin(), rows.end(), [](const row& r) { return r.result == verdict::failed; })),
                csv.c_str(), page.c_str());
    const bool all_same = std::all_of(rows.begin(), rows.end(), [](const row& r) { return r.result == verdict::same; });
    return !written ? 2 : all_same ? 0 : 1;
}

}  // namespace check
