#include "app/app.h"

#include "audio/cdaudio.h"
#include "audio/music.h"
#include "audio/sound.h"
#include "display/display.h"
#include "image/noise.h"
#include "input/joystick.h"
#include "input/keyboard.h"

Screen DisplayScreen;
Screen SpareScreen;

void InitSubsystems()
{
    newscreenwin(&DisplayScreen, DisplayWidth, DisplayHeight);
    newscreen(&SpareScreen, DisplayWidth, DisplayHeight);
    SetTarget(&DisplayScreen);
    ClearKeys();
    InitJoysticks();
    OpenCD();
    MusicInit();
}

void ShutdownApp()
{
    NoiseFree(0);
    NoiseFree(1);
    DisplayRelease();
    MusicShutdown();
    EndSound();
    CloseCD();
}
