#pragma once

// The row kernels written for x86 vector units: a whole register of pixels
// goes through each rule at once, in the same integer arithmetic as
// BlendPixel, so every pixel comes out as the per-pixel rule gives it.
// Lanes<> wraps the instructions of one register width; included by one
// source file per instruction set, with internal linkage like row_kernels.h.

#include <immintrin.h>

#include "raster/row_kernels.h"

namespace {

// 128-bit registers, SSE2 only: every x86-64 processor has them.
struct Sse2Lanes {
    using V = __m128i;
    static constexpr int Pixels = 4;

    static V Load(const uint32_t* p) { return _mm_loadu_si128(reinterpret_cast<const V*>(p)); }
    // p[0], p[-1], p[-2], p[-3] in that order.
    static V LoadReversed(const uint32_t* p) { return _mm_shuffle_epi32(Load(p - 3), 0x1B); }
    static void Store(uint32_t* p, V v) { _mm_storeu_si128(reinterpret_cast<V*>(p), v); }
    static V Splat(uint32_t x) { return _mm_set1_epi32(int(x)); }

    static V And(V a, V b) { return _mm_and_si128(a, b); }
    static V Or(V a, V b) { return _mm_or_si128(a, b); }
    static V Xor(V a, V b) { return _mm_xor_si128(a, b); }
    static V Add16(V a, V b) { return _mm_add_epi16(a, b); }
    static V Sub8(V a, V b) { return _mm_sub_epi8(a, b); }
    template <int N> static V Shr16(V a) { return _mm_srli_epi16(a, N); }
    template <int N> static V Shl16(V a) { return _mm_slli_epi16(a, N); }
    template <int N> static V Shr32(V a) { return _mm_srli_epi32(a, N); }
    template <int N> static V Shl32(V a) { return _mm_slli_epi32(a, N); }
    static V MulHi16(V a, V b) { return _mm_mulhi_epu16(a, b); }
    static V Avg8(V a, V b) { return _mm_avg_epu8(a, b); } // (a + b + 1) / 2
    // Per pixel: d where s is 0, else r.
    static V KeepUnderBlack(V s, V d, V r)
    {
        const V black = _mm_cmpeq_epi32(s, _mm_setzero_si128());
        return _mm_or_si128(_mm_and_si128(black, d), _mm_andnot_si128(black, r));
    }
    // R + G + B of each pixel in the low 16 bits of its lane, the high 16 zero.
    static V ChannelSums(V s)
    {
        const V blueRed = _mm_madd_epi16(And(s, Splat(0x00FF00FFu)), Splat(0x00010001u));
        return _mm_add_epi32(blueRed, And(Shr32<8>(s), Splat(0xFFu)));
    }
    // Without gathers, point by point.
    static constexpr RotatedOffsets Rotated = RotatedOffsetsOneByOne;
};

#if defined(__AVX2__)
// 256-bit registers.
struct Avx2Lanes {
    using V = __m256i;
    static constexpr int Pixels = 8;

    static V Load(const uint32_t* p) { return _mm256_loadu_si256(reinterpret_cast<const V*>(p)); }
    static V LoadReversed(const uint32_t* p)
    {
        return _mm256_permutevar8x32_epi32(Load(p - 7), _mm256_setr_epi32(7, 6, 5, 4, 3, 2, 1, 0));
    }
    static void Store(uint32_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<V*>(p), v); }
    static V Splat(uint32_t x) { return _mm256_set1_epi32(int(x)); }

    static V And(V a, V b) { return _mm256_and_si256(a, b); }
    static V Or(V a, V b) { return _mm256_or_si256(a, b); }
    static V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
    static V Add16(V a, V b) { return _mm256_add_epi16(a, b); }
    static V Sub8(V a, V b) { return _mm256_sub_epi8(a, b); }
    template <int N> static V Shr16(V a) { return _mm256_srli_epi16(a, N); }
    template <int N> static V Shl16(V a) { return _mm256_slli_epi16(a, N); }
    template <int N> static V Shr32(V a) { return _mm256_srli_epi32(a, N); }
    template <int N> static V Shl32(V a) { return _mm256_slli_epi32(a, N); }
    static V MulHi16(V a, V b) { return _mm256_mulhi_epu16(a, b); }
    static V Avg8(V a, V b) { return _mm256_avg_epu8(a, b); }
    static V KeepUnderBlack(V s, V d, V r)
    {
        return _mm256_blendv_epi8(r, d, _mm256_cmpeq_epi32(s, _mm256_setzero_si256()));
    }
    // Bytes weighted 1, 1, 1, 0 and summed in pairs, then the pairs summed.
    static V ChannelSums(V s)
    {
        return _mm256_madd_epi16(_mm256_maddubs_epi16(s, Splat(0x00010101u)), Splat(0x00010001u));
    }

    // p / 10000 rounded toward 0 for |p| < 2^24: |p| * 13743896 / 2^37 in
    // 64-bit products, exact while |p| * 6528 < 2^37, then p's sign.
    static V DivideBy10000(V p)
    {
        const V a = _mm256_abs_epi32(p), m = Splat(13743896u);
        const V even = _mm256_srli_epi64(_mm256_mul_epu32(a, m), 37);
        const V odd = _mm256_srli_epi64(_mm256_mul_epu32(_mm256_srli_epi64(a, 32), m), 5);
        return _mm256_sign_epi32(Or(even, And(odd, _mm256_set1_epi64x(int64_t(0xFFFFFFFF00000000u)))), p);
    }

    // RotatedOffsetsOneByOne eight points at a time: radii below 2^15 make
    // r sin and r cos single 16-bit multiply-adds, and with sines of at most
    // 10000 their quotients exact.
    static void Rotated(const uint32_t* entries, int step, int count, PolarQuadrant q, const uint32_t* sinCos,
                        int W, int H, uint32_t* offsets)
    {
        const V base = Splat(uint32_t(q.base)), sign = Splat(uint32_t(q.sign)), up = Splat(q.roundUp ? 1u : 0u);
        const V width = Splat(uint32_t(W)), height = Splat(uint32_t(H)), spare = Splat(uint32_t(W) * uint32_t(H));
        const V halfW = Splat(uint32_t(W / 2)), halfH = Splat(uint32_t(H / 2)), minusOne = Splat(~0u);
        int i = 0;
        for (; i + Pixels <= count; i += Pixels) {
            const V e = step > 0 ? Load(entries + i) : LoadReversed(entries - i);
            const V angle = _mm256_add_epi32(base, _mm256_sign_epi32(Shr32<1>(_mm256_add_epi32(Shr32<16>(e), up)), sign));
            const V sc = _mm256_i32gather_epi32(reinterpret_cast<const int*>(sinCos), angle, 4);
            const V r = And(e, Splat(0xFFFFu));
            const V x = _mm256_add_epi32(DivideBy10000(_mm256_madd_epi16(sc, r)), halfW);
            const V y = _mm256_add_epi32(DivideBy10000(_mm256_madd_epi16(sc, Shl32<16>(r))), halfH);
            const V inside = And(And(_mm256_cmpgt_epi32(width, x), _mm256_cmpgt_epi32(x, minusOne)),
                                 And(_mm256_cmpgt_epi32(height, y), _mm256_cmpgt_epi32(y, minusOne)));
            const V offset = _mm256_add_epi32(_mm256_mullo_epi32(y, width), x);
            Store(offsets + i, _mm256_blendv_epi8(spare, offset, inside));
        }
        RotatedOffsetsOneByOne(entries + i * step, step, count - i, q, sinCos, W, H, offsets + i);
    }
};
#endif

// 21846 in both 16-bit halves of a lane: the high half of a product with it
// is Div3Narrow.
constexpr uint32_t ThirdLanes = 0x55565556u;

// Combine<M> in 16-bit lanes holding one channel value each (at most 255,
// so 2d + v stays within Div3Narrow's exact range).
template <class L, Mix M>
typename L::V MixLanes(typename L::V d, typename L::V v)
{
    if constexpr (M == Mix::Replace) return v;
    if constexpr (M == Mix::Half) return L::template Shr16<1>(L::Add16(d, v));
    if constexpr (M == Mix::OneThird) return L::MulHi16(L::Add16(L::Add16(d, d), v), L::Splat(ThirdLanes));
    if constexpr (M == Mix::TwoThirds) return L::MulHi16(L::Add16(d, L::Add16(v, v)), L::Splat(ThirdLanes));
}

// BlendPixel<Mode> for a register of pixels. Channels are worked out in
// 16-bit lanes: blue and red in the even bytes' lanes, green and the top
// byte in the odd ones. A halving mix of all channels stays in bytes:
// floor((d + v) / 2) is the rounded-up average less the low bit of d ^ v.
template <class L, int Mode>
typename L::V BlendLanes(typename L::V s, typename L::V d)
{
    using R = Rule<Mode>;
    using V = typename L::V;
    const V evenBytes = L::Splat(0x00FF00FFu);
    V r;
    if constexpr (R::mask == 0x00FFFFFFu) {
        // Source values: the colour, or the grey g in the low 16 bits of the
        // lane, spread over the bytes where needed.
        V ve, vo, v = s;
        if constexpr (R::grey) {
            const V g = L::MulHi16(L::ChannelSums(s), L::Splat(ThirdLanes));
            ve = L::Or(g, L::template Shl32<16>(g));
            vo = g;
            v = L::Or(ve, L::template Shl16<8>(ve));
        } else {
            ve = L::And(s, evenBytes);
            vo = L::template Shr16<8>(s);
        }
        if constexpr (R::mix == Mix::Replace) {
            r = v;
        } else if constexpr (R::mix == Mix::Half) {
            r = L::Sub8(L::Avg8(d, v), L::And(L::Xor(d, v), L::Splat(0x01010101u)));
        } else {
            const V even = MixLanes<L, R::mix>(L::And(d, evenBytes), ve);
            const V odd = MixLanes<L, R::mix>(L::template Shr16<8>(d), vo);
            r = L::Or(even, L::template Shl16<8>(odd));
        }
        r = L::And(r, L::Splat(R::mask));
    } else {
        // One channel: the grey g, in the low 16 bits of the lane, is mixed
        // with that channel alone; every other lane is 0 on both sides.
        constexpr int shift = R::mask == 0x00FF0000u ? 16 : R::mask == 0x0000FF00u ? 8 : 0;
        const V g = L::MulHi16(L::ChannelSums(s), L::Splat(ThirdLanes));
        if constexpr (shift == 8)
            r = L::template Shl32<8>(MixLanes<L, R::mix>(L::And(L::template Shr32<8>(d), L::Splat(0xFFu)), g));
        else
            r = MixLanes<L, R::mix>(L::And(d, L::Splat(R::mask)), L::template Shl32<shift>(g));
    }
    if constexpr (R::keyed)
        r = L::KeepUnderBlack(s, d, r);
    return r;
}

template <class L>
struct LaneKernels {
    static constexpr RotatedOffsets Rotated = L::Rotated;
    template <int Mode, int Step>
    static void Row(const uint32_t* src, uint32_t* dst, int count)
    {
        if constexpr (Mode == 0 && Step > 0) {
            std::memmove(dst, src, size_t(count) * sizeof(uint32_t));
        } else {
            if (Overlaps<Step>(src, dst, count)) {
                BlendRowSequential<Mode, Step>(src, dst, count);
                return;
            }
            int i = 0;
            for (; i + L::Pixels <= count; i += L::Pixels) {
                const auto s = Step > 0 ? L::Load(src + i) : L::LoadReversed(src - i);
                L::Store(dst + i, BlendLanes<L, Mode>(s, L::Load(dst + i)));
            }
            for (; i < count; i++)
                dst[i] = BlendPixel<Mode>(src[i * Step], dst[i]);
        }
    }
};

} // namespace
