#include "contentgen/generate.h"

#include <cstdio>
#include <filesystem>
#include <thread>

#include "contentgen/assets.h"
#include "contentgen/fail.h"
#include "contentgen/font.h"
#include "contentgen/soundtrack.h"

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    if (error)
        Fail("cannot create the folder of", path.c_str());
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        Fail("cannot create", path.c_str());
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0 || !written)
        Fail("cannot write", path.c_str());
}

void WritePictures(const std::string& outDir)
{
    OpenFont();
    int index = 0;
    for (const PictureAsset& asset : PictureAssets()) {
        Picture picture = PaintPicture(asset);
        WriteBytes(outDir + "/" + asset.file, EncodeTga(picture, PictureFormat(index++)));
    }
    CloseFont();
}

void WriteSoundtrack(const std::string& outDir)
{
    WriteBytes(outDir + "/music/music00.mp3", EncodeMp3(RenderSoundtrack()));
}

void WriteContent(const std::string& outDir)
{
    // The folders are made before the threads start, so a failure is
    // reported once and from here.
    for (const char* folder : {"/graph", "/music"}) {
        std::error_code error;
        std::filesystem::create_directories(outDir + folder, error);
        if (error)
            Fail("cannot create the folder", (outDir + folder).c_str());
    }
    // Two threads: first the music buses in two pairs of about equal cost,
    // then the encoder beside the pictures.
    StereoBuffer buses[SoundtrackBuses];
    std::thread helper([&] {
        buses[0] = RenderSoundtrackBus(0);
        buses[3] = RenderSoundtrackBus(3);
    });
    buses[1] = RenderSoundtrackBus(1);
    buses[2] = RenderSoundtrackBus(2);
    helper.join();
    std::thread music([&] { WriteBytes(outDir + "/music/music00.mp3", EncodeMp3(MixSoundtrack(buses))); });
    WritePictures(outDir);
    music.join();
}
