// Sizes computed from a text's length or line count. In the 32-bit module
// they can wrap: a table of 178,956,971 lines of 24-byte records would ask
// for 8 bytes. Every such size is checked; one that does not fit ends the
// command as a failed allocation does.
#ifndef TALLORIX_ENGINE_SIZES_H
#define TALLORIX_ENGINE_SIZES_H

#include <limits>

// count * unit into *bytes; false when it does not fit in S, the size type
// (size_t, or uint32_t where tests check the 32-bit module's arithmetic).
template <typename S>
static inline bool SizeProduct(S count, S unit, S *bytes)
{
    if (unit != 0 && count > std::numeric_limits<S>::max() / unit)
        return false;
    *bytes = count * unit;
    return true;
}

#endif
