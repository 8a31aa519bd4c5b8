// Running a program that may be anybody's: in a folder of its own, in a
// process group of its own, with limits on time, memory and output, and the
// whole group killed at the end. POSIX only. This is not a sandbox: the
// program can still read and write whatever its user may.
//
//   check::outcome o = check::run({"/bin/sh", "-c", "make"}, dir, {"A=1"}, limits);
//   if (o.how != check::ended::normally) ... o.words ...
#pragma once

#include <string>
#include <vector>

namespace check {

struct limits {
    int seconds = 60;         // wall-clock time, then the group is killed
    long memory_mb = 1024;    // address space, 0 for no limit
    long output_mb = 256;     // the largest file it may write, output included
};

enum class ended { normally, with_status, by_signal, too_long, not_started };

struct outcome {
    ended how = ended::not_started;
    int status = 0;     // the exit status, or the signal
    double seconds = 0;
    std::string words;  // what happened, for a person: "crashed (Segmentation fault)"
};

// Runs `command` (its first word a path, or a name looked for in PATH) in
// `folder`, with `environment` ("NAME=VALUE") added to this process's, its
// input empty and its output and errors written to `output_file`.
outcome run(const std::vector<std::string>& command, const std::string& folder,
            const std::vector<std::string>& environment, const limits& limit, const std::string& output_file);

}  // namespace check
