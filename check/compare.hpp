// Comparing the pictures of two runs of one transcript, as KAVEX_FRAMES
// wrote them: the picture each program showed after the same input event.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace check {

// One line of a frames list (frames.txt).
struct frame {
    unsigned long event = 0;
    std::string file;
    int width = 0, height = 0;
    std::string sum;
};

// The frames a run wrote to `folder`, in order; false with the reason when
// the list is missing or malformed.
bool read_frames(const std::string& folder, std::vector<frame>& frames, std::string& error);

// The picture on the screen after `event`: the last one shown by then, or
// null when none was shown yet.
const frame* shown_after(const std::vector<frame>& frames, unsigned long event);

// Which pictures are compared.
struct choice {
    bool last_only = false;                 // only the final picture of each run
    std::vector<unsigned long> events;      // only the pictures shown after these events
    long tolerance = 0;                     // pictures match when at most this many pixels differ
};

struct comparison {
    bool same = true;
    int compared = 0;                 // pictures compared
    unsigned long event = 0;          // where they first differ
    long pixels_differing = 0;
    long pixels = 0;
    std::string why;                  // a sentence on the difference, when one is not a pixel count
    const frame* reference = nullptr; // the two pictures that differ (null: none shown yet)
    const frame* student = nullptr;
};

comparison compare(const std::string& reference_folder, const std::vector<frame>& reference,
                   const std::string& student_folder, const std::vector<frame>& student, const choice& which);

// Writes the first difference as one PNG: the reference, the student's
// picture and the difference (the reference dimmed, differing pixels red).
bool write_difference(const std::string& reference_folder, const std::string& student_folder,
                      const comparison& c, const std::string& file);

}  // namespace check
