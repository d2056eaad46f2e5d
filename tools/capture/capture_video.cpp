#include <bit>
#include <cstdio>
#include <filesystem>

#include "app/capture/capture_platform.h"
#include "capture/capture_commands.h"
#include "capture/capture_show.h"
#include "capture/ffmpeg_pipe.h"
#include "capture/progress.h"
#include "core/files.h"

namespace {

EncoderProcess Encoder;
bool EncoderStopped = false;

// The capture display's sink: every presented frame goes to the encoder.
void SendFrame(const uint32_t* pixels)
{
    if (!EncoderStopped && !FeedEncoder(&Encoder, pixels, sizeof CaptureFrame))
        EncoderStopped = true;
}

// Raw frames as they lie in memory: 0x00RRGGBB words.
const char* RawPixelFormat()
{
    return std::endian::native == std::endian::little ? "bgr0" : "0rgb";
}

bool NamesMp4(const std::string& file)
{
    const std::string extension = FileExtension(file);
    return extension == ".mp4" || extension == ".m4v" || extension == ".mov";
}

std::vector<std::string> EncoderArguments(const CaptureOptions& o, const std::string& music, int64_t frames)
{
    char duration[32];
    std::snprintf(duration, sizeof duration, "%.6f", double(frames) / o.fps);
    std::vector<std::string> a = {"-hide_banner", "-loglevel", "error", "-y",
                                  "-f", "rawvideo", "-pix_fmt", RawPixelFormat(),
                                  "-s", "800x600", "-framerate", std::to_string(o.fps),
                                  "-i", "pipe:0"};
    if (!music.empty())
        a.insert(a.end(), {"-i", music, "-map", "0:v", "-map", "1:a"});
    if (o.width != DisplayWidth || o.height != DisplayHeight)
        a.insert(a.end(), {"-vf", "scale=" + std::to_string(o.width) + ":" + std::to_string(o.height)});
    if (o.lossless) {
        // Every frame a key frame, in slices that both cores encode, each
        // with a checksum: an archive that survives damage in part.
        a.insert(a.end(), {"-c:v", "ffv1", "-level", "3", "-g", "1", "-slices", "4", "-slicecrc", "1",
                           "-pix_fmt", RawPixelFormat()});
        if (!music.empty())
            a.insert(a.end(), {"-c:a", "flac"});
    } else {
        // 4:2:0 through BT.601 at limited range (ffmpeg's conversion),
        // marked so, so that players turn it back into the same colours.
        a.insert(a.end(), {"-c:v", "libx264", "-preset", o.preset, "-crf", std::to_string(o.crf), "-pix_fmt",
                           "yuv420p", "-colorspace", "smpte170m", "-color_primaries", "smpte170m", "-color_trc",
                           "smpte170m", "-color_range", "tv"});
        if (!music.empty())
            a.insert(a.end(), {"-c:a", "aac", "-b:a", "192k"});
    }
    a.insert(a.end(), {"-t", duration});
    if (NamesMp4(o.out))
        a.insert(a.end(), {"-movflags", "+faststart"});
    a.push_back(o.out);
    return a;
}

} // namespace

// The show at a fixed frame rate, piped as raw frames into ffmpeg together
// with the soundtrack that the show started, cut to the length of the frames.
int RunVideo(const CaptureOptions& options)
{
    OpenShow();
    std::string music = NativePath(CaptureMusicFile.c_str());
    if (!std::filesystem::is_regular_file(music)) {
        std::fprintf(stderr, "tarvel-capture: no soundtrack at %s; the video will be silent\n", music.c_str());
        music.clear();
    }
    const int64_t frames = FramesUntil(options.endClock, options.fps);
    std::string error;
    if (!StartEncoder(EncoderArguments(options, music, frames), &Encoder, &error)) {
        std::fprintf(stderr, "tarvel-capture: %s\n", error.c_str());
        return 1;
    }
    Progress progress = StartProgress(frames, options.fps);
    int64_t done = 0;
    CaptureSink = SendFrame;
    PlayAtRate(options.fps, options.endClock, [&](int64_t frame, int32_t) {
        done = frame + 1;
        ShowProgress(&progress, done);
        return !EncoderStopped;
    });
    CaptureSink = nullptr;
    EndProgress(&progress, done);
    const bool encoded = FinishEncoder(&Encoder) && !EncoderStopped;
    CloseShow();
    if (!encoded) {
        std::fprintf(stderr, "tarvel-capture: ffmpeg could not make %s\n", options.out.c_str());
        return 1;
    }
    return 0;
}
