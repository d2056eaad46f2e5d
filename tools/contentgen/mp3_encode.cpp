#include <lame/lame.h>

#include <algorithm>
#include <cstring>

#include "contentgen/fail.h"
#include "contentgen/soundtrack.h"

std::vector<uint8_t> EncodeMp3(const std::vector<int16_t>& samples)
{
    lame_global_flags* lame = lame_init();
    if (!lame)
        Fail("cannot start the MP3 encoder", "");
    lame_set_num_channels(lame, 2);
    lame_set_in_samplerate(lame, SampleRate);
    lame_set_out_samplerate(lame, SampleRate);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_brate(lame, 192);
    lame_set_quality(lame, 7);
    lame_set_bWriteVbrTag(lame, 1); // the info frame tells decoders the exact length
    lame_set_write_id3tag_automatic(lame, 0);
    if (lame_init_params(lame) < 0)
        Fail("cannot set up the MP3 encoder", "");

    std::vector<uint8_t> out;
    const int chunk = 1152 * 32;
    std::vector<unsigned char> buffer(size_t(chunk) * 5 / 4 + 7200);
    const int frames = int(samples.size() / 2);
    for (int done = 0; done < frames; done += chunk) {
        int count = std::min(chunk, frames - done);
        int n = lame_encode_buffer_interleaved(lame, const_cast<short*>(&samples[size_t(2 * done)]), count,
                                               buffer.data(), int(buffer.size()));
        if (n < 0)
            Fail("the MP3 encoder failed", "");
        out.insert(out.end(), buffer.begin(), buffer.begin() + n);
    }
    int n = lame_encode_flush(lame, buffer.data(), int(buffer.size()));
    if (n < 0)
        Fail("the MP3 encoder failed", "");
    out.insert(out.end(), buffer.begin(), buffer.begin() + n);

    // The first frame was left empty for the info frame; fill it in now.
    size_t tagSize = lame_get_lametag_frame(lame, buffer.data(), buffer.size());
    if (tagSize > 0 && tagSize <= out.size())
        std::memcpy(out.data(), buffer.data(), tagSize);
    lame_close(lame);
    return out;
}
