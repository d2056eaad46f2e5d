#pragma once

// The row kernels as templates, one instantiation per blend mode and reading
// direction. Included by one source file per instruction set; everything here
// has internal linkage so that each file keeps its own compiled copy.

#include <algorithm>
#include <cstring>
#include <utility>

#include "raster/row_transfer.h"

namespace {

// How a rule combines a destination channel d with the value v it takes from
// the source: v itself, or (d + v) / 2, (2d + v) / 3, (d + 2v) / 3.
enum class Mix { Replace, Half, OneThird, TwoThirds };

// Which source value a rule mixes in, and which channels survive.
// Modes 0-7 mix the source colour, 8-15 its grey, 16-39 its grey into one
// channel (red, green, blue) while the two others are cleared.
template <int Mode>
struct Rule {
    static constexpr int base = Mode & ~1;
    static constexpr bool keyed = Mode & 1;
    static constexpr Mix mix = Mix((base / 2) % 4);
    static constexpr bool grey = base >= 8;
    static constexpr uint32_t mask = base < 16 ? 0x00FFFFFFu
                                   : base < 24 ? 0x00FF0000u
                                   : base < 32 ? 0x0000FF00u
                                               : 0x000000FFu;
};

// n / 3 for 0 <= n <= 765 with one multiply; exact over that range.
constexpr unsigned Div3(unsigned n) { return (n * 0xAAABu) >> 17; }

// The same division as the high half of a 16-bit product, which vector units
// provide directly for 16-bit lanes.
constexpr unsigned Div3Narrow(unsigned n) { return (n * 21846u) >> 16; }

template <Mix M>
constexpr unsigned Combine(unsigned d, unsigned v)
{
    if constexpr (M == Mix::Replace) return v;
    if constexpr (M == Mix::Half) return (d + v) >> 1;
    if constexpr (M == Mix::OneThird) return Div3(2 * d + v);
    if constexpr (M == Mix::TwoThirds) return Div3(d + 2 * v);
}

// The rule of a mode applied to one pixel pair.
template <int Mode>
inline uint32_t BlendPixel(uint32_t s, uint32_t d)
{
    using R = Rule<Mode>;
    unsigned r = (s >> 16) & 0xFF, g = (s >> 8) & 0xFF, b = s & 0xFF;
    if constexpr (R::grey)
        r = g = b = Div3(r + g + b);
    // Only the channels that survive the mask are worked out.
    uint32_t result = 0;
    if constexpr ((R::mask & 0xFF0000u) != 0)
        result |= Combine<R::mix>((d >> 16) & 0xFF, r) << 16;
    if constexpr ((R::mask & 0x00FF00u) != 0)
        result |= Combine<R::mix>((d >> 8) & 0xFF, g) << 8;
    if constexpr ((R::mask & 0x0000FFu) != 0)
        result |= Combine<R::mix>(d & 0xFF, b);
    if constexpr (R::keyed)
        return s ? result : d;
    else
        return result;
}

// One pixel after another: the plain loop, and the only correct one when the
// source and destination of a row share memory.
template <int Mode, int Step>
void BlendRowSequential(const uint32_t* src, uint32_t* dst, int count)
{
    for (int i = 0; i < count; i++)
        dst[i] = BlendPixel<Mode>(src[i * Step], dst[i]);
}

// Mixing runs over the bytes of a row as one array: every channel is mixed
// the same way and the top byte of every pixel is 0, so 16-bit lanes hold
// twice as many channels as 32-bit pixel lanes would. Grey rules first turn
// the source grey in every channel and mask the result afterwards. Rows go
// through in chunks so that a keyed mode can still see the destination as it
// was.
constexpr int Chunk = 256;

template <Mix M>
void MixBytes(const uint8_t* v, const uint8_t* d, uint8_t* out, int n)
{
    for (int i = 0; i < n; i++) {
        const unsigned dv = d[i], vv = v[i];
        if constexpr (M == Mix::Half) out[i] = uint8_t((dv + vv) >> 1);
        if constexpr (M == Mix::OneThird) out[i] = uint8_t(Div3Narrow(2 * dv + vv));
        if constexpr (M == Mix::TwoThirds) out[i] = uint8_t(Div3Narrow(dv + 2 * vv));
    }
}

// grey[i] = g * 0x010101 with g = (R + G + B) / 3 of s[i]: the source turned
// grey in every channel, ready for MixBytes.
[[maybe_unused]] void GreyPixels(const uint32_t* s, uint32_t* grey, int n)
{
    uint16_t sum[Chunk];
    for (int i = 0; i < n; i++) {
        const uint32_t pairs = (s[i] & 0x00FF00FFu) + ((s[i] >> 8) & 0x00FF00FFu); // B+G, R
        sum[i] = uint16_t(pairs + (pairs >> 16));
    }
    // A 32-bit product: GCC 12 vectorises the 16-bit form wrongly where it
    // emulates vectors in general registers (32-bit x86 without SSE2).
    for (int i = 0; i < n; i++)
        sum[i] = uint16_t(Div3(sum[i]));
    for (int i = 0; i < n; i++)
        grey[i] = uint32_t(sum[i]) << 16 | uint32_t(sum[i]) << 8 | sum[i];
}

template <int Mode, int Step>
void MixRowInChunks(const uint32_t* src, uint32_t* dst, int count)
{
    using R = Rule<Mode>;
    alignas(32) uint32_t gathered[Chunk], grey[Chunk], mixed[Chunk];
    for (int at = 0; at < count; at += Chunk) {
        const int n = std::min(Chunk, count - at);
        uint32_t* d = dst + at;
        const uint32_t* s = src + at * Step;
        if constexpr (Step < 0) {
            for (int i = 0; i < n; i++)
                gathered[i] = s[-i];
            s = gathered;
        }
        const uint32_t* v = s;
        if constexpr (R::grey) {
            GreyPixels(s, grey, n);
            v = grey;
        }
        const auto* v8 = reinterpret_cast<const uint8_t*>(v);
        const auto* d8 = reinterpret_cast<const uint8_t*>(d);
        if constexpr (R::keyed || R::mask != 0x00FFFFFFu) {
            MixBytes<R::mix>(v8, d8, reinterpret_cast<uint8_t*>(mixed), n * 4);
            for (int i = 0; i < n; i++) {
                const uint32_t r = mixed[i] & R::mask;
                d[i] = R::keyed ? (s[i] ? r : d[i]) : r;
            }
        } else {
            MixBytes<R::mix>(v8, d8, reinterpret_cast<uint8_t*>(d), n * 4);
        }
    }
}

// True when the source pixels of a row share memory with its destination, as
// when a Screen is blended onto itself within one row.
template <int Step>
bool Overlaps(const uint32_t* src, const uint32_t* dst, int count)
{
    const uint32_t* lo = Step > 0 ? src : src - (count - 1);
    return lo < dst + count && dst < lo + count;
}

template <int Mode, int Step>
void BlendRow(const uint32_t* src, uint32_t* dst, int count)
{
    using R = Rule<Mode>;
    if constexpr (Mode == 0 && Step > 0) {
        std::memmove(dst, src, size_t(count) * sizeof(uint32_t));
    } else if constexpr (R::mix != Mix::Replace) {
        if (Overlaps<Step>(src, dst, count))
            BlendRowSequential<Mode, Step>(src, dst, count);
        else
            MixRowInChunks<Mode, Step>(src, dst, count);
    } else {
        // Rules that replace the destination, the colour or the grey: per-pixel
        // code in 32-bit lanes vectorises well as it stands; the compiler
        // checks for overlap itself.
        BlendRowSequential<Mode, Step>(src, dst, count);
    }
}

// RotatedOffsets point by point.
void RotatedOffsetsOneByOne(const uint32_t* entries, int step, int count, PolarQuadrant q, const uint32_t* sinCos,
                            int W, int H, uint32_t* offsets)
{
    for (int i = 0; i < count; i++) {
        const uint32_t e = entries[i * step];
        const uint32_t sc = sinCos[PolarEntryAngle(e, q)];
        const int r = PolarEntryRadius(e);
        const unsigned x = unsigned(r * int16_t(sc) / 10000 + W / 2);
        const unsigned y = unsigned(r * (int32_t(sc) >> 16) / 10000 + H / 2);
        offsets[i] = x < unsigned(W) && y < unsigned(H) ? y * unsigned(W) + x : unsigned(W) * unsigned(H);
    }
}

// The kernels written in portable C++, left to the compiler to vectorise.
struct PortableKernels {
    template <int Mode, int Step>
    static void Row(const uint32_t* src, uint32_t* dst, int count)
    {
        BlendRow<Mode, Step>(src, dst, count);
    }
    static constexpr RotatedOffsets Rotated = RotatedOffsetsOneByOne;
};

// A kernel set from a family of kernels: a struct whose Row<Mode, Step> is
// the row function of each mode and reading direction, and whose Rotated is
// its RotatedOffsets.
template <class Kernels, int Step, size_t... Modes>
constexpr std::array<RowTransfer, BlendModeCount> MakeKernels(std::index_sequence<Modes...>)
{
    return {&Kernels::template Row<int(Modes), Step>...};
}

template <class Kernels>
constexpr RowKernelSet MakeKernelSet(const char* name)
{
    return {name, MakeKernels<Kernels, 1>(std::make_index_sequence<BlendModeCount>()),
            MakeKernels<Kernels, -1>(std::make_index_sequence<BlendModeCount>()), Kernels::Rotated};
}

} // namespace
