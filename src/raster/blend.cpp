#include "raster/blend.h"

#include <array>
#include <cstring>
#include <utility>

#include "raster/row_transfer.h"

namespace {

// n / 3 for 0 <= n <= 765 through one 32-bit multiply, which vectorises
// better than the compiler's 64-bit reciprocal.
constexpr uint32_t Div3(uint32_t n) { return (n * 0xAAABu) >> 17; }

// How a rule combines the destination channel d with the value v it takes
// from the source.
enum class Mix { Replace, Half, OneThird, TwoThirds };

template <Mix M>
constexpr uint32_t Combine(uint32_t d, uint32_t v)
{
    if constexpr (M == Mix::Replace) return v;
    if constexpr (M == Mix::Half) return (d + v) >> 1;
    if constexpr (M == Mix::OneThird) return Div3(2 * d + v);
    if constexpr (M == Mix::TwoThirds) return Div3(d + 2 * v);
}

// The rule of one blend mode applied to one pixel pair, keying aside.
// Modes 0-7 mix the source colour, 8-15 its grey, 16-39 the grey into one
// channel (red, green, blue) while the two others are cleared.
template <int Mode>
constexpr uint32_t BlendPixel(uint32_t s, uint32_t d)
{
    constexpr int rule = Mode & ~1;
    constexpr Mix mix = Mix((rule / 2) % 4);
    const uint32_t sR = (s >> 16) & 0xFF, sG = (s >> 8) & 0xFF, sB = s & 0xFF;
    const uint32_t dR = (d >> 16) & 0xFF, dG = (d >> 8) & 0xFF, dB = d & 0xFF;
    if constexpr (rule < 8) {
        return Combine<mix>(dR, sR) << 16 | Combine<mix>(dG, sG) << 8 | Combine<mix>(dB, sB);
    } else {
        const uint32_t g = Div3(sR + sG + sB);
        if constexpr (rule < 16)
            return Combine<mix>(dR, g) << 16 | Combine<mix>(dG, g) << 8 | Combine<mix>(dB, g);
        else if constexpr (rule < 24)
            return Combine<mix>(dR, g) << 16;
        else if constexpr (rule < 32)
            return Combine<mix>(dG, g) << 8;
        else
            return Combine<mix>(dB, g);
    }
}

template <int Mode, int Step>
void BlendRow(const uint32_t* src, uint32_t* dst, int count)
{
    for (int i = 0; i < count; i++) {
        const uint32_t s = src[i * Step];
        const uint32_t d = dst[i];
        const uint32_t r = BlendPixel<Mode>(s, d);
        if constexpr (Mode & 1)
            dst[i] = s ? r : d;
        else
            dst[i] = r;
    }
}

void CopyRowForward(const uint32_t* src, uint32_t* dst, int count)
{
    std::memmove(dst, src, size_t(count) * sizeof(uint32_t));
}

template <int Step, size_t... Modes>
constexpr std::array<RowTransfer, BlendModeCount> MakeKernels(std::index_sequence<Modes...>)
{
    return {&BlendRow<int(Modes), Step>...};
}

constexpr auto ForwardKernels = [] {
    auto k = MakeKernels<1>(std::make_index_sequence<BlendModeCount>());
    k[0] = &CopyRowForward;
    return k;
}();
constexpr auto ReverseKernels = MakeKernels<-1>(std::make_index_sequence<BlendModeCount>());

} // namespace

RowTransfer ForwardRowTransfer(int mode)
{
    return mode >= 0 && mode < BlendModeCount ? ForwardKernels[size_t(mode)] : nullptr;
}

RowTransfer ReverseRowTransfer(int mode)
{
    return mode >= 0 && mode < BlendModeCount ? ReverseKernels[size_t(mode)] : nullptr;
}

void CopyRect(const Screen* src, Screen* dst, int x1, int y1, int x2, int y2, int dx, int dy)
{
    const uint16_t rows = uint16_t(y2 - y1 + 1);
    const int columns = (x2 >= x1 ? x2 - x1 : x1 - x2) + 1;
    for (int i = 0; i < rows; i++)
        CopyRowForward(src->rows[y1 + i] + x1, dst->rows[dy + i] + dx, columns);
}

void BlendRect(const Screen* src, Screen* dst, int x1, int y1, int x2, int y2, int dx, int dy, int mode)
{
    if (mode <= 0 || mode >= BlendModeCount)
        return;
    const RowTransfer blend = ForwardKernels[size_t(mode)];
    const uint16_t rows = uint16_t(y2 - y1 + 1);
    const int columns = (x2 >= x1 ? x2 - x1 : x1 - x2) + 1;
    for (int i = 0; i < rows; i++)
        blend(src->rows[y1 + i] + x1, dst->rows[dy + i] + dx, columns);
}
