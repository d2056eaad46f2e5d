#pragma once

#include <cstdint>

// The sound seam, which each platform provides (audio/<platform>/): the
// soundtrack whose position is the show's clock, the sound device under the
// sample channels (sound.h), and the CD-audio device (cdaudio.h).

// ---- Soundtrack -----------------------------------------------------------

// Creates the music player; failures leave it silent.
void MusicInit();

// Starts playing `file` (a program file name with '\' separators) from
// position 0. A file that cannot be played, or whose name is too long
// (MusicNameFits), leaves the music silent.
void MusicPlay(const char* file);

// Halts playback; the position stays where it was heard last.
void MusicStop();

// Playback position in seconds; 0.0 when nothing plays.
double MusicPosition();

// Stops and releases the music player; safe to call twice.
void MusicShutdown();

// ---- Sound device ---------------------------------------------------------
// Sample buffers in the fixed format (16-bit stereo, 44100 Hz) and one voice
// per channel. Each platform defines SampleBuffer. Every call that can fail
// says so; the engine turns failures into its fatal messages.
struct SampleBuffer;

// Opens the default sound device; false when there is none.
bool SoundDeviceCreate();
// Gives the device to the program's window; false when refused.
bool SoundDeviceSetCooperative();
// Releases the device; returns the references to it that remain.
int SoundDeviceRelease();

// A buffer of `length` bytes; null when it cannot be created.
SampleBuffer* SampleBufferCreate(uint32_t length);
// Writable memory of the whole buffer; null when the lock fails.
uint8_t* SampleBufferLock(SampleBuffer* buffer);
// Ends the write; false when it fails.
bool SampleBufferUnlock(SampleBuffer* buffer);
void SampleBufferRelease(SampleBuffer* buffer);

// Puts a copy of `buffer` on `channel` (0-15), replacing what the channel held.
bool ChannelDuplicate(int channel, SampleBuffer* buffer);
// Sets the channel's play position to its start.
bool ChannelRewind(int channel);
// Pan, volume and frequency: results are not examined.
void ChannelSetControls(int channel, int pan, int volume, int frequency);
// Plays the channel's copy once, no looping.
bool ChannelPlay(int channel);
// Stops the channel.
bool ChannelStop(int channel);

// ---- CD audio -------------------------------------------------------------

// Carries out one command string of the CD-audio device ("open cdaudio",
// "set cdaudio time format tmsf", "seek cdaudio to N", "play cdaudio from
// N", "stop cdaudio", "close cdaudio"). Nothing is reported; failures are
// ignored.
void SendCDCommand(const char* command);
