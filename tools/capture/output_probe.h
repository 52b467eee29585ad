// After ffmpeg has exited, a look at the file it wrote: ffprobe reads every
// packet back, and the file counts as whole only when it holds every picture
// sent and sound up to the end of what was sent, and ffprobe finds nothing
// amiss. ffmpeg can lose its last writes (a disk that fills during the final
// flush) and still exit with 0. Main thread.
#pragma once
#include <cstdint>
#include <string>

// Whether `path` (ffprobe's own "file:" form is used) holds `pictures` video
// packets and sound up to `soundFrames` / 44100 s. False with *why, a short
// reason, when it does not or ffprobe cannot read it; true when no ffprobe
// is at hand.
bool outputIsWhole(const std::string& path, int64_t pictures, int64_t soundFrames,
                   std::string* why);
