#pragma once

#include "capture/capture_args.h"

// The commands of tarvel-capture. Each runs the show from its start in this
// process and returns the exit code: 0 done, 1 an output could not be made.
int RunFrames(const CaptureOptions& options);
int RunStills(const CaptureOptions& options);
int RunVideo(const CaptureOptions& options);
int RunBench(const CaptureOptions& options);
int RunStoryboard(const CaptureOptions& options);
