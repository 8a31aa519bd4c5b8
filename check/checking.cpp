// Replaying one program and judging its pictures against the reference's.
#include "checking.hpp"
#include "files.hpp"

#include <filesystem>

namespace check {

namespace fs = std::filesystem;

std::string absolute(const std::string& path) {
    std::error_code ignored;
    return fs::absolute(path, ignored).lexically_normal().string();
}

replay replay_program(const std::string& program, const std::string& name, const settings& s) {
    replay r;
    r.name = name;
    const fs::path home = fs::path(s.work) / name;
    r.frames_folder = (home / "frames").string();
    const fs::path folder = home / "folder";
    std::error_code error;
    fs::create_directories(r.frames_folder, error);
    fs::create_directories(folder, error);
    if (error) {
        r.trouble = "could not make its folder: " + error.message();
        return r;
    }
    // A command's path names a file here; a bare name is looked for in PATH.
    const std::string command = program.find('/') == std::string::npos ? program : absolute(program);
    const std::string output = (home / "output.txt").string();
    r.how = run({command}, folder.string(),
                {"KAVEX_REPLAY=" + s.transcript, "KAVEX_FRAMES=" + r.frames_folder, "KAVEX_RECORD=", "KAVEX_EXPLAIN=1"},
                s.limit, output);
    if (r.how.how != ended::normally) {
        r.trouble = r.how.words;
        const std::string said = tail_of(output, 600);
        if (!said.empty()) r.trouble += "; it wrote:\n" + said;
        return r;
    }
    std::string why;
    if (!read_frames(r.frames_folder, r.frames, why)) r.trouble = why;
    return r;
}

row judge(const replay& reference, const replay& submission, const settings& s, const std::string& picture_file) {
    row r;
    r.name = submission.name;
    r.seconds = submission.how.seconds;
    if (!submission.trouble.empty()) {
        r.detail = "the program " + submission.trouble;
        return r;
    }
    const comparison c = compare(reference.frames_folder, reference.frames, submission.frames_folder, submission.frames, s.which);
    r.compared = c.compared;
    if (c.same) {
        r.result = verdict::same;
        r.detail = std::to_string(c.compared) + " pictures compared, all the same";
        if (c.compared == 0) r.detail = "neither program showed a picture to compare";
        return r;
    }
    r.result = verdict::different;
    r.event = c.event;
    r.pixels_differing = c.pixels_differing;
    r.pixels = c.pixels;
    r.detail = "the pictures first differ after input event " + std::to_string(c.event) + " (picture " + std::to_string(c.compared) + "): ";
    r.detail += c.why.empty() ? std::to_string(c.pixels_differing) + " of " + std::to_string(c.pixels) + " pixels differ" : c.why;
    if (!picture_file.empty() && write_difference(reference.frames_folder, submission.frames_folder, c, picture_file))
        r.picture = picture_file;
    return r;
}

}  // namespace check
