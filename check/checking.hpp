// One program replayed on a transcript, and its pictures compared with the
// reference's: the steps that checking one submission and a folder share.
#pragma once

#include "child.hpp"
#include "compare.hpp"
#include "report.hpp"

#include <string>
#include <vector>

namespace check {

struct settings {
    std::string transcript;        // absolute
    choice which;
    limits limit;
    std::string difference = "difference.png";  // the picture of the first difference
    std::string json, junit;       // reports, when asked for
    std::string out = "kavex-check-report";     // a folder check's table and pictures
    std::string compile = "c++ -std=c++17 -O2 -o {program} {sources} $(pkg-config --cflags --libs kavex)";
    std::string work;              // the temporary folder, removed at the end
};

// A program's replay: where its pictures are, and how it went.
struct replay {
    std::string name;
    std::string frames_folder;
    std::vector<frame> frames;
    outcome how;
    std::string trouble;           // empty when it ran and its pictures were read
};

// Replays `program` (a path) in a folder of its own under settings.work.
replay replay_program(const std::string& program, const std::string& name, const settings& s);

// The row for a submission's replay against the reference's; the
// difference picture is written to `picture_file` when they differ.
row judge(const replay& reference, const replay& submission, const settings& s, const std::string& picture_file);

// A path made absolute against the current folder.
std::string absolute(const std::string& path);

}  // namespace check
