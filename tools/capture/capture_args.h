#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What the command line of tarvel-capture asks for.
struct CaptureOptions {
    std::string command;         // frames, stills, video, bench or storyboard
    std::string content;         // folder holding graph/ and music/; "" for the working folder
    std::string out;             // output folder or file, made absolute
    std::vector<int32_t> clocks; // frames: --clocks; stills: --at
    bool raw = false;            // frames: also write .rgb32 files
    int fps = 0;                 // frames per second of music time; 0 until defaulted
    int width = 800;             // video: size of the encoded picture
    int height = 600;
    int32_t endClock = 0;        // video: clock at which the recording stops
    std::string preset;          // video: x264 preset ("" until defaulted)
    int crf = -1;                // video: x264 constant rate factor (-1 until defaulted)
    bool lossless = false;       // video: FFV1 and FLAC in Matroska instead of H.264 and AAC
    int runs = 1;                // bench: plays of the show; each frame's fastest counts
    std::string plot;            // bench: SVG picture of the frame times, made absolute; "" for none
    int columns = 6;             // storyboard: cells in a row of the grid
};

// What `video` encodes H.264 with unless told otherwise: chosen from sizes,
// qualities and speeds measured on the whole show (the README's table).
extern const char DefaultVideoPreset[];
constexpr int DefaultVideoCrf = 20;

// Highest clock value that `frames` accepts.
constexpr int32_t MaxListedClock = 1000000;

// Reads the arguments after the program name. False with a one-line reason
// in `error` when they are not a valid command.
bool ParseCaptureArgs(const std::vector<std::string>& args, CaptureOptions* options, std::string* error);

// Reads a list of clock values separated by commas, blanks or line breaks,
// each from `low` to `high`. False with a reason when one is not a number
// in range or the list is empty.
bool ParseClockList(const std::string& text, int32_t low, int32_t high, std::vector<int32_t>* clocks,
                    std::string* error);

// The extension of a file name in lower case, with its dot ("" for none).
std::string FileExtension(const std::string& file);

extern const char CaptureUsage[];
