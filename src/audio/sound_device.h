#pragma once

#include <cstdint>

// Platform seam under the sample channels: the device, sample buffers in
// the fixed format (16-bit stereo, 44100 Hz) and one voice per channel. Each
// platform defines SampleBuffer. Every call that can fail says so; the
// engine turns failures into its fatal messages.
struct SampleBuffer;

// Opens the default sound device; false when there is none.
bool SoundDeviceCreate();
// Gives the device to the program's window; false when refused.
bool SoundDeviceSetCooperative(void* window);
// Releases the device; returns the references to it that remain.
int SoundDeviceRelease();

// A buffer of `length` bytes; null when it cannot be created.
SampleBuffer* SampleBufferCreate(uint32_t length);
// Writable memory of the whole buffer; null when the lock fails.
uint8_t* SampleBufferLock(SampleBuffer* buffer);
// Ends the write; false when it fails.
bool SampleBufferUnlock(SampleBuffer* buffer);
void SampleBufferRelease(SampleBuffer* buffer);

// Puts a copy of `buffer` on `channel`, replacing what the channel held.
bool ChannelDuplicate(int channel, SampleBuffer* buffer);
// Sets the channel's play position to its start.
bool ChannelRewind(int channel);
// Pan, volume and frequency: results are not examined.
void ChannelSetControls(int channel, int pan, int volume, int frequency);
// Plays the channel's copy once, no looping.
bool ChannelPlay(int channel);
// Stops the channel.
bool ChannelStop(int channel);
