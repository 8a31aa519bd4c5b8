// Private to the library: work that allocates, and the answer when memory
// runs out.
//
//   return unless_out_of_memory([&] { return build_it(); }, [] { return std::string(); });
//
// Built with exceptions (every desktop and page build), std::bad_alloc is
// caught and the fallback answers. Built without them (the playground's
// compiler has no exception runtime), a failed allocation ends the program,
// as any of its own does there; the fallback is then never needed.
#pragma once

#include <new>

namespace kavex::detail {

template <class Work, class Fallback>
auto unless_out_of_memory(Work work, Fallback fallback) -> decltype(work()) {
#if defined(__cpp_exceptions) || defined(_CPPUNWIND)
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return fallback();
    }
#else
    static_cast<void>(fallback);
    return work();
#endif
}

}  // namespace kavex::detail
