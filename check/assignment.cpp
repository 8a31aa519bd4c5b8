// An assignment for the playground, written as one JSON file.
#include "assignment.hpp"
#include "files.hpp"
#include "report.hpp"

#include <fstream>
#include <sstream>

namespace check {

namespace {

std::string base64(const std::string& bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const auto at = [&](std::size_t k) { return k < bytes.size() ? static_cast<unsigned char>(bytes[k]) : 0u; };
        const unsigned n = at(i) << 16 | at(i + 1) << 8 | at(i + 2);
        out += digits[n >> 18 & 63];
        out += digits[n >> 12 & 63];
        out += i + 1 < bytes.size() ? digits[n >> 6 & 63] : '=';
        out += i + 2 < bytes.size() ? digits[n & 63] : '=';
    }
    return out;
}

}  // namespace

bool write_assignment(const std::string& file, const assignment& a, const std::string& folder,
                      const std::vector<frame>& frames, const choice& which, std::string& error) {
    std::vector<const frame*> chosen;
    if (which.events.empty() && !frames.empty()) chosen.push_back(&frames.back());
    for (const unsigned long event : which.events) {
        const frame* f = shown_after(frames, event);
        if (!f) {
            error = "the solution had shown no picture after event " + std::to_string(event);
            return false;
        }
        chosen.push_back(f);
    }
    if (chosen.empty()) {
        error = "the solution showed no picture";
        return false;
    }
    std::ostringstream out;
    out << "{\"kavex_assignment\": 1, \"title\": " << json_text(a.title) << ",\n\"starter\": " << json_text(a.starter)
        << ",\n\"transcript\": " << json_text(a.transcript) << ",\n\"tolerance\": " << a.tolerance << ",\n\"pictures\": [";
    for (std::size_t i = 0; i < chosen.size(); ++i) {
        const frame& f = *chosen[i];
        // The event asked for, which the picture shown then may precede.
        const unsigned long event = which.events.empty() ? f.event : which.events[i];
        std::string png;
        if (!read_whole(folder + "/" + f.file, png) || png.empty()) {
            error = "cannot read the solution's picture " + f.file;
            return false;
        }
        out << (i ? ",\n" : "\n") << "{\"event\": " << event << ", \"width\": " << f.width << ", \"height\": " << f.height
            << ", \"sum\": \"" << f.sum << "\", \"png\": \"" << base64(png) << "\"}";
    }
    out << "\n]}\n";
    std::ofstream written(file, std::ios::binary);
    written << out.str();
    if (!written.flush()) {
        error = "cannot write " + file;
        return false;
    }
    return true;
}

}  // namespace check
