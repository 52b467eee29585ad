// Where the capture's pictures and soundtrack go: Debian's ffmpeg program
// fed through two pipes (raw RGB frames, raw S16 stereo), or a numbered PNG
// sequence and audio.wav in a directory. Writing happens on writer threads
// behind a bounded queue, in parallel with the drawing; the calls below are
// made from the drawing thread.
#pragma once
#include "capture/capture_clock.h"
#include <csignal>
#include <memory>
#include <string>
#include <vector>

class FrameSink {
  public:
    virtual ~FrameSink() = default;
    // One video frame: width x height BGRX, top row first. False: the output failed.
    virtual bool frame(std::vector<unsigned char>&& bgrx) = 0;
    // The next frames of the soundtrack, little-endian S16 stereo.
    virtual bool sound(const unsigned char* s16le, int64_t frames) = 0;
    // Flushes and closes; true when the output is complete.
    virtual bool finish() = 0;
    // Stops at once; what was written is the caller's to remove.
    virtual void abort() = 0;
    virtual std::string error() const = 0;
};

enum class VideoKind { Lossless, Sharing }; // .mkv FFV1 + FLAC, .mp4 H.264 + AAC

struct EncoderSpec {
    std::string ffmpeg;    // the program
    std::string path;      // the file it writes
    std::string finalPath; // the name the user gave it, for messages
    bool probe = false;    // path is a regular file, to be read back once finished
    VideoKind kind = VideoKind::Lossless;
    int width = 0, height = 0;
    Rate fps;
};

// The running encoder's process id (0: none), for a signal handler to stop it.
extern volatile sig_atomic_t encoderPid;

// The ffmpeg program found on PATH, or "" when there is none.
std::string findProgram(const char* name);

std::unique_ptr<FrameSink> startEncoder(const EncoderSpec& enc, std::string* error);

// Frames as DIR/000000.png, 000001.png, ... and the soundtrack as DIR/audio.wav;
// messages name finalDir.
std::unique_ptr<FrameSink> startFrameFiles(const std::string& dir, const std::string& finalDir,
                                           int width, int height, std::string* error);

// After a failed write: whether the file system holding path has (next to)
// no room left, so the message can say so instead of a library's words.
bool fileSystemFull(const std::string& path);
std::string diskFullMessage(const std::string& finalPath);
