// Sound output of the tools through libsndfile, always 16-bit stereo at
// 44100 frames per second: the file format follows the name's extension, and
// "-" is a WAV stream on standard output.
#pragma once
#include <sndfile.h>
#include <string>

// The libsndfile format for an output name: .wav, .flac, .ogg/.oga (Vorbis),
// .mp3 where this libsndfile writes MPEG, or any other extension libsndfile
// lists that takes 16-bit samples; "-" is WAV. 0 with *error set otherwise.
int soundFormatFor(const std::string& name, std::string* error);

// Longest WAV stream in frames: the RIFF sizes are 32-bit.
const long long kMaxStreamFrames = (0xFFFFFFFFll - 36) / 4;

// Where libsndfile's bytes go: a descriptor, with every write checked (the
// library does not report a failed write of a file's last bytes).
struct SoundSink {
    int fd = -1;
    int error = 0;          // errno of the first failed write or seek; 0: none
    long long position = 0; // where the next byte goes, for a stream
};

// Opens sink->fd for writing. A file gets its header from libsndfile, which
// patches the length at sf_close. A stream cannot be rewound, so its WAV
// header is written first with the exact length of the frames that will
// follow, and libsndfile writes the samples after it. Null with *error set
// on failure. After sf_close, sink->error tells whether every byte went out.
SNDFILE* openSoundOutput(SoundSink* sink, int format, bool stream, long long frames,
                         std::string* error);
