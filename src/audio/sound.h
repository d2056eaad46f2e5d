#pragma once

// Platform seam: sample channels. Samples are raw 16-bit stereo 44100 Hz
// data played on 16 channels.
constexpr int SoundChannelCount = 16;

// Opens the sound device for the program's window; failures are fatal.
void InitSound(void* window);

// Loads a sample file whole under `sample`; flip != 0 flips the sign of
// every byte's top bit (unsigned data).
void loadsound(const char* file, int sample, int flip);

// Plays a loaded sample on `channel` (0-15), or on a channel chosen
// automatically when channel is -1.
void playsound(int sample, int pan, int volume, int frequency, int channel);

void stopchannel(int channel);
void freesound(int sample);

// Releases the sound device; safe to call twice and before InitSound.
void EndSound();
