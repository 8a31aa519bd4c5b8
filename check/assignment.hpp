// A teacher's assignment for the playground, one JSON file: the starter
// code the student begins from, the transcript the program is checked on,
// and the pictures the teacher's solution showed after chosen events (PNG,
// base64). The playground's Check replays the student's program on the
// transcript in the page and compares its pictures with these.
//
//   {"kavex_assignment": 1, "title": "...", "starter": "...", "transcript": "kavex run 1\n...",
//    "tolerance": 0, "pictures": [{"event": 30, "width": 400, "height": 300, "sum": "...", "png": "iVBOR..."}]}
#pragma once

#include "compare.hpp"

#include <string>
#include <vector>

namespace check {

struct assignment {
    std::string title;
    std::string starter;     // the program's text
    std::string transcript;  // the transcript's text
    long tolerance = 0;
};

// The pictures that `which` chooses from the solution's run (the last one
// when it chooses no events), written with the rest to `file`; false with
// the reason when it cannot.
bool write_assignment(const std::string& file, const assignment& a, const std::string& folder,
                      const std::vector<frame>& frames, const choice& which, std::string& error);

}  // namespace check
