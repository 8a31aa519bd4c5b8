// Reading an Ogg Vorbis file through stb_vorbis, a header of someone else's
// built here and only here.
#include "sound_file.hpp"

#include <algorithm>
#include <cstring>

// Its asserts state its own invariants; a file's bytes must never end the
// program, so none aborts (assert.h is read again below, with this set).
#ifndef NDEBUG
#define NDEBUG
#define KAVEX_OGG_SET_NDEBUG
#endif
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
#ifdef KAVEX_OGG_SET_NDEBUG
#undef NDEBUG
#undef KAVEX_OGG_SET_NDEBUG
#include <assert.h>
#endif

namespace kavex::detail {

bool is_ogg(const std::uint8_t* bytes, std::size_t size) { return size >= 4 && std::memcmp(bytes, "OggS", 4) == 0; }

bool read_ogg(const std::uint8_t* bytes, std::size_t size, decoded_sound& out, std::string& reason) {
    int error = 0;
    stb_vorbis* v = size > 0x7FFFFFFF ? nullptr
                                      : stb_vorbis_open_memory(bytes, static_cast<int>(size), &error, nullptr);
    if (!v) {
        reason = "it is not an Ogg Vorbis sound, or it is damaged (decoder error " + std::to_string(error) + ")";
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
    if (whole && out.samples.empty()) {
        reason = "the Ogg file holds no sound";
        whole = false;
    }
    return whole;
}

}  // namespace kavex::detail
