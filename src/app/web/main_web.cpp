// The web program's entry points, called by the page (tarvel.html): the
// start of a show and one call per display refresh. The page owns the
// refresh loop, so the browser is never blocked.
#include <emscripten/emscripten.h>

#include <cstdlib>

#include "app/app.h"
#include "audio/web/music_web.h"
#include "demo/manifest.h"

namespace {

bool Played;

} // namespace

extern "C" {

// The content is loaded and the page waits for the user to start the show:
// the soundtrack is decoded meanwhile.
EMSCRIPTEN_KEEPALIVE void WebPrepare()
{
    PrefetchMusic(SoundtrackFile);
}

// Starts the show from its first stage; a show that played before is
// released first (its window's end has already run ShutdownApp). With
// `logSteps` the step log goes to the page's console. 1 when the show runs
// and the page should call WebRefresh on every refresh; 0 when start-up
// failed.
EMSCRIPTEN_KEEPALIVE int WebStartShow(int logSteps)
{
    if (Played)
        ResetEngine();
    Played = true;
    if (logSteps)
        setenv("TARVEL_DEBUG_LOG", "/dev/stdout", 1);
    return StartApp() ? 1 : 0;
}

// One display refresh: -1 while the show goes on, else the exit code that
// ended it.
EMSCRIPTEN_KEEPALIVE int WebRefresh()
{
    int exitCode = 0;
    return RunAppRefresh(&exitCode) ? -1 : exitCode;
}

} // extern "C"
