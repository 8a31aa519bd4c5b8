// Files read whole.
#include "files.hpp"

#include <fstream>
#include <sstream>

namespace check {

bool read_whole(const std::string& file, std::string& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    bytes = all.str();
    return !in.bad();
}

std::string tail_of(const std::string& file, std::size_t bytes) {
    std::string text;
    read_whole(file, text);
    return text.size() <= bytes ? text : "…" + text.substr(text.size() - bytes);
}

}  // namespace check
