// Checking a folder of submissions: each entry is one: NAME.cpp, a folder
// of .cpp files (built together), or a program. Sources are built with the
// course's compiler line; the table goes to settings.out as results.csv and
// results.html, with one difference picture a differing submission.
#pragma once

#include "checking.hpp"

#include <string>

namespace check {

// 0 when every submission matched the reference, 1 when any did not
// (differed, did not build or did not run), 2 when the report could not be
// written.
int check_folder(const std::string& folder, const replay& reference, const settings& s);

}  // namespace check
