// What kavex-check found, one row a submission, in the forms a course uses:
// JSON and JUnit-style XML for an autograder, CSV for a spreadsheet, and a
// page with the pictures of the differences for a person.
#pragma once

#include <string>
#include <vector>

namespace check {

enum class verdict { same, different, failed };

struct row {
    std::string name;
    verdict result = verdict::failed;
    int compared = 0;                 // pictures compared
    unsigned long event = 0;          // where the pictures first differ
    long pixels_differing = 0;
    long pixels = 0;
    double seconds = 0;               // the program's run
    std::string detail;               // a sentence for a person
    std::string picture;              // the difference picture's file, or empty
};

const char* verdict_word(verdict v);
// A JSON string, quoted, of UTF-8 text.
std::string json_text(const std::string& s);

bool write_json(const std::string& file, const std::string& transcript, const std::vector<row>& rows);
bool write_junit(const std::string& file, const std::vector<row>& rows);
bool write_csv(const std::string& file, const std::vector<row>& rows);
// `picture` paths are written relative to the page's folder.
bool write_page(const std::string& file, const std::string& transcript, const std::vector<row>& rows);

}  // namespace check
