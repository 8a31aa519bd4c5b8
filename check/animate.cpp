// An animated GIF of a run: the pictures sampled at most `fps` a second at
// the times their ticks say, scaled, one palette for all of them, and of
// each picture only the rectangle that changed.
#include "animate.hpp"
#include "picture.hpp"

#include <gif_lib.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>

namespace check {

namespace {

// Browsers show shorter delays than 2 hundredths of a second far slower.
constexpr int shortest_delay_cs = 2;
// The last picture stays this long before the animation starts again.
constexpr int last_picture_cs = 100;

struct timed_picture {
    picture image;
    long long ms = 0;
};

// Each destination pixel the average of the source pixels it covers.
picture scaled(const picture& p, int percent) {
    if (percent == 100) return p;
    picture out;
    out.width = std::max(1, p.width * percent / 100);
    out.height = std::max(1, p.height * percent / 100);
    out.rgb.resize(3 * static_cast<std::size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) {
            const int x0 = x * p.width / out.width, x1 = std::max(x0 + 1, (x + 1) * p.width / out.width);
            const int y0 = y * p.height / out.height, y1 = std::max(y0 + 1, (y + 1) * p.height / out.height);
            long sum[3] = {0, 0, 0};
            for (int sy = y0; sy < y1; ++sy)
                for (int sx = x0; sx < x1; ++sx)
                    for (int k = 0; k < 3; ++k) sum[k] += p.at(sx, sy)[k];
            const long n = static_cast<long>(x1 - x0) * (y1 - y0);
            for (int k = 0; k < 3; ++k) out.rgb[3 * (static_cast<std::size_t>(y) * out.width + x) + k] = static_cast<unsigned char>(sum[k] / n);
        }
    return out;
}

std::uint32_t colour_at(const picture& p, int x, int y) {
    const unsigned char* c = p.at(x, y);
    return std::uint32_t{c[0]} << 16 | std::uint32_t{c[1]} << 8 | c[2];
}

// The pictures worth showing: at most `fps` a second (and the run's last
// one), each the newest one at its moment, all of the first one's size.
std::vector<timed_picture> sampled(const std::string& folder, const std::vector<frame>& frames,
                                   const std::vector<long long>& tick_times, const animation& how) {
    const auto time_of = [&](const frame& f) { return tick_times[std::min<std::size_t>(f.event, tick_times.size() - 1)]; };
    const long long spacing = 1000 / how.fps;
    std::vector<timed_picture> out;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const long long ms = time_of(frames[i]);
        if (i + 1 < frames.size() && time_of(frames[i + 1]) == ms) continue;  // a newer one at this moment
        const bool last = i + 1 == frames.size();  // the run's end is always shown
        if (!out.empty() && ms < out.back().ms + (last ? 1 : spacing)) continue;
        picture p = read_png(folder + "/" + frames[i].file);
        if (!p) continue;
        p = scaled(p, how.scale_percent);
        if (!out.empty() && (p.width != out[0].image.width || p.height != out[0].image.height)) continue;
        out.push_back({std::move(p), ms});
    }
    return out;
}

// One palette for the whole animation: the pictures' own colours when there
// are 256 or fewer, else a cube of 6 x 7 x 6 levels.
struct palette {
    std::vector<GifColorType> colours;
    std::map<std::uint32_t, int> exact;

    int index(std::uint32_t c) const {
        if (!exact.empty()) return exact.at(c);
        const int r = ((c >> 16) & 0xFF) * 5 / 255, g = ((c >> 8) & 0xFF) * 6 / 255, b = (c & 0xFF) * 5 / 255;
        return (r * 7 + g) * 6 + b;
    }
};

palette palette_of(const std::vector<timed_picture>& pictures) {
    palette p;
    for (const timed_picture& t : pictures) {
        for (int y = 0; y < t.image.height && p.exact.size() <= 256; ++y)
            for (int x = 0; x < t.image.width; ++x) p.exact.emplace(colour_at(t.image, x, y), 0);
    }
    if (p.exact.size() <= 256) {
        for (auto& [c, i] : p.exact) {
            i = static_cast<int>(p.colours.size());
            p.colours.push_back({static_cast<GifByteType>(c >> 16), static_cast<GifByteType>(c >> 8), static_cast<GifByteType>(c)});
        }
    } else {
        p.exact.clear();
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 7; ++g)
                for (int b = 0; b < 6; ++b)
                    p.colours.push_back({static_cast<GifByteType>(r * 255 / 5), static_cast<GifByteType>(g * 255 / 6),
                                         static_cast<GifByteType>(b * 255 / 5)});
    }
    while (p.colours.size() < 2 || (p.colours.size() & (p.colours.size() - 1))) p.colours.push_back({0, 0, 0});
    return p;
}

struct rectangle {
    int x = 0, y = 0, w = 0, h = 0;
};

// Where two pictures differ; the whole picture when there is no earlier one.
rectangle changed(const picture* before, const picture& now) {
    if (!before) return {0, 0, now.width, now.height};
    int x0 = now.width, y0 = now.height, x1 = -1, y1 = -1;
    for (int y = 0; y < now.height; ++y)
        for (int x = 0; x < now.width; ++x)
            if (!std::equal(now.at(x, y), now.at(x, y) + 3, before->at(x, y))) {
                x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
            }
    if (x1 < 0) return {0, 0, 1, 1};  // the same picture: one pixel, for its delay
    return {x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

struct gif_closer {
    void operator()(GifFileType* g) const {
        int error = 0;
        EGifCloseFile(g, &error);
    }
};

bool put_loop_forever(GifFileType* g) {
    static const GifByteType application[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    static const GifByteType forever[] = {1, 0, 0};
    return EGifPutExtensionLeader(g, APPLICATION_EXT_FUNC_CODE) == GIF_OK &&
           EGifPutExtensionBlock(g, sizeof application, application) == GIF_OK &&
           EGifPutExtensionBlock(g, sizeof forever, forever) == GIF_OK && EGifPutExtensionTrailer(g) == GIF_OK;
}

bool put_picture(GifFileType* g, const picture& p, const rectangle& r, int delay_cs, const palette& colours) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;  // the next picture draws over this one
    control.DelayTime = delay_cs;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType block[4];
    EGifGCBToExtension(&control, block);
    if (EGifPutExtension(g, GRAPHICS_EXT_FUNC_CODE, sizeof block, block) != GIF_OK) return false;
    if (EGifPutImageDesc(g, r.x, r.y, r.w, r.h, false, nullptr) != GIF_OK) return false;
    std::vector<GifPixelType> row(static_cast<std::size_t>(r.w));
    for (int y = r.y; y < r.y + r.h; ++y) {
        for (int x = 0; x < r.w; ++x) row[x] = static_cast<GifPixelType>(colours.index(colour_at(p, r.x + x, y)));
        if (EGifPutLine(g, row.data(), r.w) != GIF_OK) return false;
    }
    return true;
}

}  // namespace

bool write_animation(const std::string& file, const std::string& folder, const std::vector<frame>& frames,
                     const std::vector<long long>& tick_times, const animation& how, std::string& error) {
    const std::vector<timed_picture> pictures = sampled(folder, frames, tick_times, how);
    if (pictures.empty()) {
        error = "the program showed no picture";
        return false;
    }
    const palette colours = palette_of(pictures);
    // giflib would make the file readable by its owner alone; a README's picture is for everyone.
    const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    int status = E_GIF_ERR_OPEN_FAILED;
    std::unique_ptr<GifFileType, gif_closer> g(fd >= 0 ? EGifOpenFileHandle(fd, &status) : nullptr);
    if (!g && fd >= 0) close(fd);
    if (!g) {
        error = std::string("cannot write ") + file + ": " + GifErrorString(status);
        return false;
    }
    EGifSetGifVersion(g.get(), true);
    ColorMapObject* map = GifMakeMapObject(static_cast<int>(colours.colours.size()), colours.colours.data());
    const picture& first = pictures[0].image;
    bool written = map && EGifPutScreenDesc(g.get(), first.width, first.height, 8, 0, map) == GIF_OK && put_loop_forever(g.get());
    GifFreeMapObject(map);
    for (std::size_t i = 0; written && i < pictures.size(); ++i) {
        const long long until = i + 1 < pictures.size() ? pictures[i + 1].ms : pictures[i].ms + 10 * last_picture_cs;
        const int delay = static_cast<int>(std::clamp<long long>((until - pictures[i].ms + 5) / 10, shortest_delay_cs, 65535));
        const picture* before = i ? &pictures[i - 1].image : nullptr;
        written = put_picture(g.get(), pictures[i].image, changed(before, pictures[i].image), delay, colours);
    }
    if (!written) error = std::string("cannot write ") + file + ": " + GifErrorString(g->Error);
    return written;
}

}  // namespace check
