// Reading an Ogg Vorbis file through stb_vorbis, a header of someone else's
// built here and only here.
#include "little_endian.hpp"
#include "messages.hpp"
#include "sound_file.hpp"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

// Its asserts state its own invariants; a file's bytes must never end the
// program, so none aborts (assert.h is read again below, with this set).
#ifndef NDEBUG
#define NDEBUG
#define KAVEX_OGG_SET_NDEBUG
#endif
// Its memory comes from the allocator below, which keeps a list of what it
// gave: on some damaged files the decoder gives up without freeing all it
// took, and what it lost is freed once it is closed. The C headers it reads
// are read first, so that the names defined below change its calls only.
#include <assert.h>
#include <limits.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>
#if __has_include(<malloc.h>)
#include <malloc.h>  // which it reads on Windows
#endif
namespace kavex::detail::ogg_detail {

// Each piece given has this in front of it, in a list.
struct block {
    block* before;
    block* after;
    std::size_t size;
};
constexpr std::size_t header = (sizeof(block) + alignof(std::max_align_t) - 1) / alignof(std::max_align_t) *
                               alignof(std::max_align_t);
block taken{&taken, &taken, 0};  // the list of what the decoder holds

void* piece_of(block* b) { return reinterpret_cast<unsigned char*>(b) + header; }
block* block_of(void* p) { return reinterpret_cast<block*>(static_cast<unsigned char*>(p) - header); }

void* take(std::size_t size) {
    // A real file's largest piece (a codebook, a frame's buffer) takes a few
    // hundred KB. A damaged file's sizes come out negative or huge: a count
    // of 16 million codewords would cost 64 MB and seconds of sorting, so
    // pieces over 4 MB are refused, and the decoder gives up on the file.
    if (size > std::size_t{1} << 22) return nullptr;
    // Zeroed: when it gives up halfway through filling a list of pointers,
    // it frees the whole list, and the rest must be null.
    auto* b = static_cast<block*>(std::calloc(1, header + size));
    if (!b) return nullptr;
    b->size = size;
    b->before = &taken;
    b->after = taken.after;
    taken.after->before = b;
    taken.after = b;
    return piece_of(b);
}

void give_back(void* p) {
    if (!p) return;
    block* b = block_of(p);
    b->before->after = b->after;
    b->after->before = b->before;
    std::free(b);
}

void* take_again(void* p, std::size_t size) {
    if (!p) return take(size);
    void* moved = take(size);
    if (!moved) return nullptr;
    std::memcpy(moved, p, std::min(size, block_of(p)->size));
    give_back(p);
    return moved;
}

void free_what_it_lost() {
    while (taken.after != &taken) give_back(piece_of(taken.after));
}

// It rounds powers down and casts them to int, whatever their size (a
// damaged file's codebook gives 1e20): held to int's range first, so that
// the cast is defined (a WebAssembly program would otherwise trap on it).
double floor_within_int(double x) {
    return x == x ? std::clamp(std::floor(x), double{INT_MIN}, double{INT_MAX}) : 0.0;  // NaN: 0
}

}  // namespace kavex::detail::ogg_detail
#define floor(x) kavex::detail::ogg_detail::floor_within_int(x)
#define malloc(size) kavex::detail::ogg_detail::take(size)
#define free(p) kavex::detail::ogg_detail::give_back(p)
#define realloc(p, size) kavex::detail::ogg_detail::take_again(p, size)
#define STB_VORBIS_NO_STDIO  // the bytes come from os_side, under UTF-8 names
#define STB_VORBIS_NO_PUSHDATA_API
#include "others_begin.inc"
#include <assert.h>
#include "stb_vorbis.h"
#include "others_end.inc"

// Its macros end here: the Windows package compiles every source as one
// file, and names such as L, R and CHECK would break the files after it.
#undef ADDEND
#undef C
#undef CHECK
#undef CODEBOOK_ELEMENT
#undef CODEBOOK_ELEMENT_BASE
#undef CODEBOOK_ELEMENT_FAST
#undef CRC32_POLY
#undef DECODE
#undef DECODE_RAW
#undef DECODE_VQ
#undef DIVTAB_DENOM
#undef DIVTAB_NUMER
#undef EOP
#undef FALSE
#undef FASTDEF
#undef FAST_HUFFMAN_TABLE_MASK
#undef FAST_HUFFMAN_TABLE_SIZE
#undef FAST_SCALED_FLOAT_TO_INT
#undef INVALID_BITS
#undef IS_PUSH_MODE
#undef L
#undef LIBVORBIS_MDCT
#undef LINE_OP
#undef MAGIC
#undef MAX_BLOCKSIZE
#undef MAX_BLOCKSIZE_LOG
#undef NO_CODE
#undef PAGEFLAG_continued_packet
#undef PAGEFLAG_first_page
#undef PAGEFLAG_last_page
#undef PLAYBACK_LEFT
#undef PLAYBACK_MONO
#undef PLAYBACK_RIGHT
#undef R
#undef SAMPLE_unknown
#undef STBV_CDECL
#undef STBV_NOTUSED
#undef TRUE
#undef USE_MEMORY
#undef array_size_required
#undef check_endianness
#undef temp_alloc
#undef temp_alloc_restore
#undef temp_alloc_save
#undef temp_block_array
#undef temp_free
#undef floor
#undef malloc
#undef free
#undef realloc
#ifdef KAVEX_OGG_SET_NDEBUG
#undef NDEBUG
#undef KAVEX_OGG_SET_NDEBUG
#include <assert.h>
#endif

namespace kavex::detail {

bool is_ogg(const std::uint8_t* bytes, std::size_t size) { return size >= 4 && std::memcmp(bytes, "OggS", 4) == 0; }

namespace ogg_detail {

// The first `count` packets of the stream, joined from its pages' segments;
// fewer when the bytes end first.
std::vector<std::vector<std::uint8_t>> first_packets(const std::uint8_t* bytes, std::size_t size, std::size_t count) {
    std::vector<std::vector<std::uint8_t>> packets(1);
    std::size_t at = 0;
    while (at + 27 <= size && std::memcmp(bytes + at, "OggS", 4) == 0) {
        const std::size_t segments = bytes[at + 26];
        const std::uint8_t* lengths = bytes + at + 27;
        std::size_t data = at + 27 + segments;
        if (data > size) break;
        for (std::size_t i = 0; i < segments; ++i) {
            const std::size_t length = std::min<std::size_t>(lengths[i], size - std::min(data, size));
            packets.back().insert(packets.back().end(), bytes + data, bytes + data + length);
            data += lengths[i];
            if (lengths[i] < 255) {
                if (packets.size() == count) return packets;
                packets.emplace_back();
            }
        }
        at = data;
    }
    packets.pop_back();  // unfinished
    return packets;
}

// The decoder trusts the sizes in a stream's comments: a count of comments
// that the packet cannot hold makes it fail an allocation and then read the
// list it never made. The comments are checked here first: every size must
// fit in what is left of the packet.
bool comments_fit(const std::uint8_t* bytes, std::size_t size) {
    const auto packets = first_packets(bytes, size, 2);
    if (packets.size() < 2) return false;
    const std::vector<std::uint8_t>& p = packets[1];
    std::size_t at = 7;  // the packet's kind and "vorbis"
    auto next_size = [&](std::size_t& value) {
        if (at + 4 > p.size()) return false;
        value = read_le(p.data() + at, 4);
        at += 4;
        return true;
    };
    std::size_t vendor = 0, comments = 0;
    if (!next_size(vendor) || vendor > p.size() - at) return false;
    at += vendor;
    if (!next_size(comments) || comments > (p.size() - at) / 4) return false;
    for (std::size_t i = 0; i < comments; ++i) {
        std::size_t length = 0;
        if (!next_size(length) || length > p.size() - at) return false;
        at += length;
    }
    return true;
}

}  // namespace ogg_detail

bool read_ogg(const std::uint8_t* bytes, std::size_t size, decoded_sound& out, std::string& reason) {
    int error = 0;
    stb_vorbis* v = size > 0x7FFFFFFF || !ogg_detail::comments_fit(bytes, size)
                        ? nullptr
                        : stb_vorbis_open_memory(bytes, static_cast<int>(size), &error, nullptr);
    if (!v) {
        ogg_detail::free_what_it_lost();
        reason = words(text::ogg_damaged, {{"error", error}});
        return false;
    }
    const stb_vorbis_info info = stb_vorbis_get_info(v);
    out.channels = info.channels;
    out.rate = static_cast<int>(std::min<unsigned>(info.sample_rate, 1u << 30));
    bool whole = plausible(out.channels, out.rate, reason);
    // A Vorbis frame holds at most 4096 frames of every channel.
    std::vector<short> frame(whole ? 4096 * std::size_t(info.channels) : 0);
    while (whole) {
        const int got = stb_vorbis_get_frame_short_interleaved(v, info.channels, frame.data(), int(frame.size()));
        if (got <= 0) break;
        const std::size_t samples = std::size_t(got) * info.channels;
        if (out.samples.size() + samples > most_samples) {
            whole = too_long(reason);
            break;
        }
        out.samples.insert(out.samples.end(), frame.begin(), frame.begin() + samples);
    }
    stb_vorbis_close(v);
    ogg_detail::free_what_it_lost();
    if (whole && out.samples.empty()) {
        reason = words(text::sound_holds_nothing);
        whole = false;
    }
    return whole;
}

}  // namespace kavex::detail
