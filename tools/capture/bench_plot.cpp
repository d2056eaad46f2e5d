#include "capture/bench_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "demo/sequencer.h"
#include "demo/timeline.h"

namespace {

constexpr double Width = 1200, Height = 480;
constexpr double Left = 64, Right = 16, Top = 44, Bottom = 44;
constexpr double PlotWidth = Width - Left - Right, PlotHeight = Height - Top - Bottom;

std::string Escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

std::string Number(double v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

// A tick step of 1, 2 or 5 times a power of ten that gives at most 8 ticks
// up to `top`.
double TickStep(double top)
{
    const double base = std::pow(10.0, std::floor(std::log10(top / 8)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (top / (m * base) <= 8)
            return m * base;
    return 10 * base;
}

struct Scale {
    double topMs;
    double X(double clock) const { return Left + PlotWidth * clock / ShowEndClock; }
    double Y(double ms) const { return Top + PlotHeight * (1 - std::min(ms, topMs) / topMs); }
};

void Line(std::ostream& svg, double x1, double y1, double x2, double y2, const char* style)
{
    svg << "<line x1='" << Number(x1) << "' y1='" << Number(y1) << "' x2='" << Number(x2) << "' y2='" << Number(y2)
        << "' " << style << "/>\n";
}

void Text(std::ostream& svg, double x, double y, const char* style, const std::string& text)
{
    svg << "<text x='" << Number(x) << "' y='" << Number(y) << "' " << style << ">" << Escaped(text) << "</text>\n";
}

// Alternate windows shaded, each numbered at the top and crossed by its
// median time, which a busy machine's interruptions do not pull away.
void Windows(std::ostream& svg, const Scale& s, const std::vector<FrameTiming>& frames)
{
    std::vector<double> times[SceneWindowCount + 1];
    for (const FrameTiming& f : frames)
        times[SceneWindowAt(f.clock)].push_back(f.seconds);
    for (int w = 1; w <= SceneWindowCount; w++) {
        const SceneWindow& sw = SceneWindows[w - 1];
        const double first = w == 1 ? 0 : double(sw.after + 1);
        const double end = double(std::min<int64_t>(sw.before, ShowEndClock));
        const double x1 = s.X(first), x2 = s.X(end);
        if (w % 2 == 0)
            svg << "<rect x='" << Number(x1) << "' y='" << Top << "' width='" << Number(x2 - x1) << "' height='"
                << PlotHeight << "' fill='#f0f0f0'/>\n";
        Text(svg, (x1 + x2) / 2, Top - 4, "font-size='9' text-anchor='middle' fill='#555'", std::to_string(w));
        std::vector<double>& t = times[w];
        if (!t.empty()) {
            std::nth_element(t.begin(), t.begin() + std::ptrdiff_t(t.size() / 2), t.end());
            const double median = s.Y(t[t.size() / 2] * 1e3);
            Line(svg, x1, median, x2, median, "stroke='#e07000' stroke-width='2'");
        }
    }
}

void Axes(std::ostream& svg, const Scale& s)
{
    const double step = TickStep(s.topMs);
    for (double ms = 0; ms <= s.topMs + step / 2; ms += step) {
        Line(svg, Left, s.Y(ms), Left + PlotWidth, s.Y(ms), "stroke='#ddd'");
        char label[32];
        std::snprintf(label, sizeof label, step < 0.1 ? "%.2f ms" : "%.1f ms", ms);
        Text(svg, Left - 6, s.Y(ms) + 4, "font-size='11' text-anchor='end'", label);
    }
    for (int seconds = 0; seconds * 100 <= ShowEndClock; seconds += 10) {
        Line(svg, s.X(seconds * 100), Top + PlotHeight, s.X(seconds * 100), Top + PlotHeight + 4, "stroke='#000'");
        Text(svg, s.X(seconds * 100), Top + PlotHeight + 17, "font-size='11' text-anchor='middle'",
             std::to_string(seconds) + " s");
    }
    svg << "<rect x='" << Left << "' y='" << Top << "' width='" << PlotWidth << "' height='" << PlotHeight
        << "' fill='none' stroke='#000'/>\n";
    Text(svg, Left + PlotWidth / 2, Height - 8, "font-size='12' text-anchor='middle'",
         "show clock; bands: the timeline's windows, orange: their median");
}

// The memcpy line and the lines at 3 and 5 times it, labelled at the left,
// where the show's first window draws quickly.
void CopyLines(std::ostream& svg, const Scale& s, double copyMs)
{
    const struct {
        double times;
        const char* style;
    } lines[] = {{1, "stroke='#c00000' stroke-width='1.5'"}, {3, "stroke='#c00000' stroke-dasharray='6 4'"},
                 {5, "stroke='#c00000' stroke-dasharray='2 4'"}};
    for (const auto& l : lines) {
        if (l.times * copyMs > s.topMs)
            continue;
        Line(svg, Left, s.Y(l.times * copyMs), Left + PlotWidth, s.Y(l.times * copyMs), l.style);
        char label[48];
        if (l.times == 1)
            std::snprintf(label, sizeof label, "memcpy %.3f ms", copyMs);
        else
            std::snprintf(label, sizeof label, "%.0f x memcpy", l.times);
        Text(svg, Left + 4, s.Y(l.times * copyMs) - 3, "font-size='10' fill='#c00000'", label);
    }
}

// Each frame a dot; frames beyond the top are drawn on it in red.
void Frames(std::ostream& svg, const Scale& s, const std::vector<FrameTiming>& frames)
{
    std::ostringstream within, beyond;
    for (const FrameTiming& f : frames) {
        const double ms = f.seconds * 1e3;
        (ms > s.topMs ? beyond : within) << 'M' << Number(s.X(f.clock)) << ',' << Number(s.Y(ms)) << "h0";
    }
    svg << "<path d='" << within.str() << "' stroke='#1f4e9c' stroke-width='2.2' stroke-linecap='round'/>\n";
    if (!beyond.str().empty())
        svg << "<path d='" << beyond.str() << "' stroke='#c00000' stroke-width='3' stroke-linecap='round'/>\n";
}

} // namespace

bool WriteBenchPlot(const std::string& path, const std::vector<FrameTiming>& frames, double memcpySeconds,
                    const std::string& title)
{
    // The top holds all but the slowest 0.5% of frames, from 8 to 16 times
    // memcpy: a busy machine can stretch a few frames far beyond the rest.
    std::vector<double> ms;
    for (const FrameTiming& f : frames)
        ms.push_back(f.seconds * 1e3);
    std::sort(ms.begin(), ms.end());
    const double copyMs = memcpySeconds * 1e3;
    const double high = ms.empty() ? 0 : ms[size_t(double(ms.size() - 1) * 0.995)] * 1.1;
    const double wanted = std::clamp(high, 8 * copyMs, 16 * copyMs);
    const double step = TickStep(wanted);
    const Scale s{std::max(step, std::ceil(wanted / step) * step)};

    std::ostringstream svg;
    svg << "<svg xmlns='http://www.w3.org/2000/svg' width='" << Width << "' height='" << Height << "' viewBox='0 0 "
        << Width << ' ' << Height << "' font-family='sans-serif'>\n";
    svg << "<rect width='100%' height='100%' fill='#fff'/>\n";
    Text(svg, Left, 18, "font-size='14' font-weight='bold'", title);
    Windows(svg, s, frames);
    Axes(svg, s);
    CopyLines(svg, s, copyMs);
    Frames(svg, s, frames);
    svg << "</svg>\n";

    std::ofstream out(path, std::ios::binary);
    out << svg.str();
    out.close();
    return bool(out);
}
