// Every drawing operation of graphics.hpp, once: the canvas's drawing calls
// and the stream's drawing commands. The fuzz harness (fuzz/kavex_fuzz.cpp)
// and the differential test (unit/differential_test.cpp) each expand this
// list into one function per operation, so a new operation that either one
// leaves out does not compile; the docs suite fails when graphics.hpp has a
// drawing call that this list leaves out.
//
// Each operation has a number for good: the fuzz harness reads an input's
// operation byte modulo 32 and the number picks the operation, so a new one
// takes the lowest number no operation of either list has (the harness's own,
// such as opening a canvas, are numbered in kavex_fuzz.cpp), and the seeds
// in fuzz/corpus keep their meaning. Numbers up to 31 only.
#pragma once

#define KAVEX_DRAWING_OPERATIONS(X) \
    X(6, draw_dot)                  \
    X(7, draw_line)                 \
    X(8, draw_box)                  \
    X(11, line_abs)                 \
    X(12, box_abs)                  \
    X(14, draw_text)                \
    X(16, blitfrom)                 \
    X(21, box_rel)                  \
    X(22, dot)                      \
    X(23, draw_disc)                \
    X(24, draw_circle)              \
    X(25, circle)                   \
    X(26, disc)
