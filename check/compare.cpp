// The pictures of two runs, compared after the same input events.
#include "compare.hpp"
#include "picture.hpp"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace check {

namespace {

picture load(const std::string& folder, const frame& f) { return read_png(folder + "/" + f.file); }

std::vector<unsigned long> events_to_compare(const std::vector<frame>& a, const std::vector<frame>& b, const choice& which) {
    if (!which.events.empty()) return which.events;
    std::vector<unsigned long> events;
    if (which.last_only) {
        if (!a.empty()) events.push_back(a.back().event);
        if (!b.empty()) events.push_back(b.back().event);
        if (!events.empty()) events = {*std::max_element(events.begin(), events.end())};
        return events;
    }
    for (const frame& f : a) events.push_back(f.event);
    for (const frame& f : b) events.push_back(f.event);
    std::sort(events.begin(), events.end());
    events.erase(std::unique(events.begin(), events.end()), events.end());
    return events;
}

long count_differing(const picture& a, const picture& b) {
    if (a.width != b.width || a.height != b.height) return std::max(static_cast<long>(a.width) * a.height, static_cast<long>(b.width) * b.height);
    long n = 0;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) n += !std::equal(a.at(x, y), a.at(x, y) + 3, b.at(x, y));
    return n;
}

// Fills the pixel counts of a pair whose checksums differ; true when they
// still match within the tolerance.
bool pixels_match(const std::string& ref_folder, const frame& r, const std::string& stu_folder, const frame& s,
                  long tolerance, comparison& c) {
    const picture a = load(ref_folder, r), b = load(stu_folder, s);
    if (!a || !b) {
        c.why = std::string("the ") + (!a ? "reference's" : "student's") + " picture " + (!a ? r.file : s.file) + " cannot be read";
        return false;
    }
    c.pixels = std::max(static_cast<long>(a.width) * a.height, static_cast<long>(b.width) * b.height);
    c.pixels_differing = count_differing(a, b);
    if (a.width != b.width || a.height != b.height)
        c.why = "the window is " + std::to_string(b.width) + " x " + std::to_string(b.height) + ", the reference's " +
                std::to_string(a.width) + " x " + std::to_string(a.height);
    return c.why.empty() && c.pixels_differing <= tolerance;
}

}  // namespace

const frame* shown_after(const std::vector<frame>& frames, unsigned long event) {
    const auto later = std::upper_bound(frames.begin(), frames.end(), event,
                                        [](unsigned long e, const frame& f) { return e < f.event; });
    return later == frames.begin() ? nullptr : &*(later - 1);
}

bool read_frames(const std::string& folder, std::vector<frame>& frames, std::string& error) {
    frames.clear();
    std::ifstream in(folder + "/frames.txt");
    if (!in) {
        error = "the program wrote no list of its pictures (it may not have started)";
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        frame f;
        if (!(words >> f.event >> f.file >> f.width >> f.height >> f.sum) || (!frames.empty() && f.event < frames.back().event)) {
            error = "line " + std::to_string(number) + " of its list of pictures is malformed";
            return false;
        }
        frames.push_back(f);
    }
    return true;
}

comparison compare(const std::string& reference_folder, const std::vector<frame>& reference,
                   const std::string& student_folder, const std::vector<frame>& student, const choice& which) {
    comparison c;
    for (const unsigned long event : events_to_compare(reference, student, which)) {
        const frame* r = shown_after(reference, event);
        const frame* s = shown_after(student, event);
        ++c.compared;
        if (!r && !s) continue;
        c.reference = r;
        c.student = s;
        c.event = event;
        if (!r || !s) {
            c.why = std::string("the ") + (r ? "student's" : "reference") + " program had shown no picture yet";
            c.same = false;
            return c;
        }
        if (r->sum == s->sum && r->width == s->width && r->height == s->height) continue;
        if (!pixels_match(reference_folder, *r, student_folder, *s, which.tolerance, c)) {
            c.same = false;
            return c;
        }
    }
    c.reference = c.student = nullptr;
    c.pixels_differing = 0;
    return c;
}

bool write_difference(const std::string& reference_folder, const std::string& student_folder,
                      const comparison& c, const std::string& file) {
    picture a, b;
    if (c.reference) a = load(reference_folder, *c.reference);
    if (c.student) b = load(student_folder, *c.student);
    const int gap = 8;
    const int w = std::max({a.width, b.width, 1}), h = std::max({a.height, b.height, 1});
    picture out;
    out.width = 3 * w + 2 * gap;
    out.height = h;
    out.rgb.assign(3 * static_cast<std::size_t>(out.width) * h, 96);  // grey between and around
    const auto put = [&](int panel, int x, int y, const unsigned char* rgb) {
        std::copy(rgb, rgb + 3, &out.rgb[3 * (static_cast<std::size_t>(y) * out.width + panel * (w + gap) + x)]);
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool in_a = a && x < a.width && y < a.height, in_b = b && x < b.width && y < b.height;
            if (in_a) put(0, x, y, a.at(x, y));
            if (in_b) put(1, x, y, b.at(x, y));
            const bool differs = in_a != in_b || (in_a && !std::equal(a.at(x, y), a.at(x, y) + 3, b.at(x, y)));
            static const unsigned char red[3] = {255, 0, 0};
            unsigned char dim[3] = {0, 0, 0};
            if (in_a)
                for (int k = 0; k < 3; ++k) dim[k] = static_cast<unsigned char>(a.at(x, y)[k] / 4);
            put(2, x, y, differs ? red : dim);
        }
    return write_png(file, out);
}

}  // namespace check
