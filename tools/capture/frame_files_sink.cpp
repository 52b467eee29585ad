// The PNG-sequence sink: two writer threads compress the numbered PNGs (each
// frame is its own file, so order does not matter); the soundtrack goes to
// audio.wav through libsndfile on the calling thread, where it is cheap.
#include "capture/bounded_queue.h"
#include "capture/capture_sink.h"
#include "texture/art/png_io.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <sndfile.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>

namespace {

struct Picture {
    int64_t index = 0;
    std::vector<unsigned char> bgrx;
};

class FrameFilesSink : public FrameSink {
  public:
    FrameFilesSink(const std::string& dir, const std::string& finalDir, int width, int height)
        : dir_(dir), final_(finalDir), width_(width), height_(height) {}

    bool start(std::string* error) {
        SF_INFO info;
        std::memset(&info, 0, sizeof info);
        info.samplerate = 44100;
        info.channels = 2;
        info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        std::string wavPath = dir_ + "/audio.wav";
        wav_ = sf_open(wavPath.c_str(), SFM_WRITE, &info);
        if (!wav_) {
            *error = fileSystemFull(dir_)
                         ? diskFullMessage(final_)
                         : "cannot write '" + final_ + "/audio.wav': " + sf_strerror(nullptr);
            return false;
        }
        for (int i = 0; i < 2; i++)
            workers_.emplace_back([this] { writeLoop(); });
        return true;
    }

    ~FrameFilesSink() override { abort(); }

    bool frame(std::vector<unsigned char>&& bgrx) override {
        return queue_.push(Picture{next_++, std::move(bgrx)});
    }

    bool sound(const unsigned char* s16le, int64_t frames) override {
        if (failed_) return false;
        std::vector<short> samples((size_t)frames * 2);
        for (size_t i = 0; i < samples.size(); i++)
            samples[i] = (short)(unsigned short)(s16le[2 * i] | s16le[2 * i + 1] << 8);
        if (sf_writef_short(wav_, samples.data(), frames) != frames) {
            fail("cannot write '" + final_ + "/audio.wav': " + sf_strerror(wav_));
            return false;
        }
        return true;
    }

    bool finish() override {
        queue_.close();
        joinWorkers();
        if (wav_ && sf_close(wav_) != 0 && !failed_)
            fail("cannot complete '" + final_ + "/audio.wav'");
        wav_ = nullptr;
        return !failed_;
    }

    void abort() override {
        queue_.cancel();
        joinWorkers();
        if (wav_) sf_close(wav_);
        wav_ = nullptr;
    }

    std::string error() const override {
        std::lock_guard<std::mutex> lock(errorMutex_);
        return error_;
    }

  private:
    void writeLoop() {
        Picture p;
        while (queue_.pop(&p)) {
            RgbaImage image(width_, height_);
            for (size_t i = 0; i < image.px.size(); i += 4) {
                image.px[i] = p.bgrx[i + 2];
                image.px[i + 1] = p.bgrx[i + 1];
                image.px[i + 2] = p.bgrx[i];
                image.px[i + 3] = 255;
            }
            char name[32];
            std::snprintf(name, sizeof name, "/%06lld.png", (long long)p.index);
            std::string why;
            if (!writePng(dir_ + name, image, false, &why)) {
                fail("cannot write '" + final_ + name + "'");
                queue_.cancel();
                return;
            }
        }
    }

    void joinWorkers() {
        for (std::thread& t : workers_)
            if (t.joinable()) t.join();
    }

    // The libraries' own words name the temporary directory, and a full disk
    // comes out as a plain write error: say what happened, under the final name.
    void fail(const std::string& why) {
        bool full = fileSystemFull(dir_);
        std::lock_guard<std::mutex> lock(errorMutex_);
        if (!failed_) error_ = full ? diskFullMessage(final_) : why;
        failed_ = true;
    }

    std::string dir_, final_;
    int width_, height_;
    SNDFILE* wav_ = nullptr;
    int64_t next_ = 0;
    BoundedQueue<Picture> queue_{8};
    std::vector<std::thread> workers_;
    std::atomic<bool> failed_{false};
    mutable std::mutex errorMutex_;
    std::string error_;
};

} // namespace

bool fileSystemFull(const std::string& path) {
    struct statvfs fs;
    if (statvfs(path.c_str(), &fs) != 0) {
        size_t slash = path.rfind('/');
        std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
        if (statvfs(dir.c_str(), &fs) != 0) return false;
    }
    // A write that did not fit may leave a few blocks; root may use the reserve.
    unsigned long long free = geteuid() == 0 ? fs.f_bfree : fs.f_bavail;
    return free * fs.f_frsize < (1ull << 20);
}

std::string diskFullMessage(const std::string& finalPath) {
    return "no space left on the disk for '" + finalPath + "'";
}

std::unique_ptr<FrameSink> startFrameFiles(const std::string& dir, const std::string& finalDir,
                                           int width, int height, std::string* error) {
    std::unique_ptr<FrameFilesSink> sink(new FrameFilesSink(dir, finalDir, width, height));
    if (!sink->start(error)) return nullptr;
    return sink;
}
