// The web platform's sound on the page's side: the soundtrack and the 16
// sample channels on the page's AudioContext (Module.audioContext, made by
// the page when the user starts the show, as browsers ask).
mergeInto(LibraryManager.library, {
  $TarvelAudio__deps: ['$FS'],
  $TarvelAudio: {
    context: function () {
      return Module['audioContext'] || null;
    },
    // Soundtrack. A newer play or a release voids a decode still under way.
    generation: 0,
    source: null,
    startTime: 0, // context time at which playback began
    duration: 0,
    stoppedAt: null, // the position kept by MusicStop
    last: 0, // the last position reported; positions never go back
    // Sample channels: per channel its buffer and the source playing it.
    channels: [],
    // Decoded soundtracks by file: promises of an AudioBuffer, or of null
    // for a file that is missing or cannot be decoded. The files never
    // change, so each is decoded once.
    decoded: {},
    // Before the user starts the show the page has no audio context yet: an
    // offline one decodes at 44100 Hz, and sources resample what they play.
    decode: function (path) {
      const A = TarvelAudio;
      if (Object.prototype.hasOwnProperty.call(A.decoded, path)) return A.decoded[path];
      let bytes = null;
      try {
        bytes = FS.readFile(path);
      } catch (e) {
        /* no such file */
      }
      const Offline = window.OfflineAudioContext || window.webkitOfflineAudioContext;
      const context = A.context() || (Offline ? new Offline(2, 1, 44100) : null);
      const promise = bytes && context ? context.decodeAudioData(bytes.buffer).catch(() => null) : Promise.resolve(null);
      // Without any context the decode waits for MusicPlay.
      if (context || !bytes) A.decoded[path] = promise;
      return promise;
    },
    stop: function (source) {
      if (!source) return;
      try { source.stop(); } catch (e) { /* never started */ }
      source.disconnect();
    },
  },

  // Decodes the file ahead of MusicPlay (see music_web.h).
  tarvel_music_prefetch__deps: ['$TarvelAudio'],
  tarvel_music_prefetch: function (pathPointer) {
    TarvelAudio.decode(UTF8ToString(pathPointer));
  },

  tarvel_music_play__deps: ['$TarvelAudio'],
  tarvel_music_play: function (pathPointer) {
    const A = TarvelAudio;
    const path = UTF8ToString(pathPointer);
    A.stop(A.source);
    A.source = null;
    A.stoppedAt = null;
    A.last = 0;
    const generation = ++A.generation;
    const context = A.context();
    if (!context) return;
    A.decode(path).then((buffer) => {
      // No soundtrack, one that cannot be decoded, or a newer play or a
      // release since: silent, position 0.
      if (!buffer || generation !== A.generation) return;
      const source = context.createBufferSource();
      source.buffer = buffer;
      source.connect(context.destination);
      A.startTime = context.currentTime;
      A.duration = buffer.duration;
      source.start(A.startTime);
      A.source = source;
    });
  },

  tarvel_music_stop__deps: ['$TarvelAudio', 'tarvel_music_position'],
  tarvel_music_stop: function () {
    const A = TarvelAudio;
    if (!A.source) return;
    A.stoppedAt = _tarvel_music_position();
    A.stop(A.source);
    A.source = null;
  },

  // What is heard: the context time of the sample frame at the output, moved
  // on by the time since that was read, never past what the context has
  // rendered; from the start of playback, up to the soundtrack's length.
  tarvel_music_position__deps: ['$TarvelAudio'],
  tarvel_music_position: function () {
    const A = TarvelAudio;
    if (A.stoppedAt !== null) return A.stoppedAt;
    const context = A.context();
    if (!A.source || !context) return 0;
    let time = context.currentTime;
    const stamp = context.getOutputTimestamp ? context.getOutputTimestamp() : null;
    if (stamp && stamp.performanceTime > 0) {
      time = Math.min(time, stamp.contextTime + (performance.now() - stamp.performanceTime) / 1000);
    }
    const position = Math.min(Math.max(time - A.startTime, 0), A.duration);
    A.last = Math.max(A.last, position);
    return A.last;
  },

  tarvel_music_release__deps: ['$TarvelAudio'],
  tarvel_music_release: function () {
    const A = TarvelAudio;
    A.generation++;
    A.stop(A.source);
    A.source = null;
    A.stoppedAt = null;
    A.last = 0;
  },

  tarvel_sound_open__deps: ['$TarvelAudio'],
  tarvel_sound_open: function () {
    TarvelAudio.channels = [];
    return TarvelAudio.context() ? 1 : 0;
  },

  tarvel_sound_close__deps: ['$TarvelAudio'],
  tarvel_sound_close: function () {
    for (const channel of TarvelAudio.channels) {
      if (channel) TarvelAudio.stop(channel.source);
    }
    TarvelAudio.channels = [];
  },

  // Frames of 16-bit stereo at 44100 Hz, copied into the channel's own
  // buffer; what the channel played before stops.
  tarvel_channel_load__deps: ['$TarvelAudio'],
  tarvel_channel_load: function (channel, samples, frames) {
    const context = TarvelAudio.context();
    if (!context) return 0;
    const old = TarvelAudio.channels[channel];
    if (old) TarvelAudio.stop(old.source);
    let buffer;
    try {
      buffer = context.createBuffer(2, frames, 44100);
    } catch (e) {
      return 0;
    }
    const left = buffer.getChannelData(0), right = buffer.getChannelData(1);
    const first = samples >> 1;
    for (let i = 0; i < frames; i++) {
      left[i] = HEAP16[first + 2 * i] / 32768;
      right[i] = HEAP16[first + 2 * i + 1] / 32768;
    }
    TarvelAudio.channels[channel] = { buffer: buffer, source: null };
    return 1;
  },

  tarvel_channel_play__deps: ['$TarvelAudio'],
  tarvel_channel_play: function (channel) {
    const context = TarvelAudio.context();
    const held = TarvelAudio.channels[channel];
    if (!context || !held) return 0;
    TarvelAudio.stop(held.source);
    held.source = context.createBufferSource();
    held.source.buffer = held.buffer;
    held.source.connect(context.destination);
    held.source.start();
    return 1;
  },

  tarvel_channel_stop__deps: ['$TarvelAudio'],
  tarvel_channel_stop: function (channel) {
    const held = TarvelAudio.channels[channel];
    if (held) {
      TarvelAudio.stop(held.source);
      held.source = null;
    }
  },
});
