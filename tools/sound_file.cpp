// Sound output for the tools (see sound_file.h).
#include "sound_file.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const int kRate = 44100, kChannels = 2;

bool writable(int format) {
    SF_INFO info = SF_INFO();
    info.samplerate = kRate;
    info.channels = kChannels;
    info.format = format;
    return sf_format_check(&info) != 0;
}

// The canonical 44-byte PCM WAV header for `frames` 16-bit stereo frames.
void wavHeader(long long frames, unsigned char h[44]) {
    auto put = [&](int at, unsigned int v, int bytes) {
        for (int k = 0; k < bytes; k++)
            h[at + k] = (unsigned char)(v >> (8 * k));
    };
    const unsigned int data = (unsigned int)(frames * 2 * kChannels);
    std::memcpy(h, "RIFF", 4), put(4, 36 + data, 4), std::memcpy(h + 8, "WAVEfmt ", 8);
    put(16, 16, 4), put(20, 1, 2), put(22, kChannels, 2), put(24, kRate, 4);
    put(28, kRate * 2 * kChannels, 4), put(32, 2 * kChannels, 2), put(34, 16, 2);
    std::memcpy(h + 36, "data", 4), put(40, data, 4);
}

// libsndfile's file operations on a SoundSink.
sf_count_t sinkLength(void* user) {
    SoundSink* s = (SoundSink*)user;
    struct stat st;
    return fstat(s->fd, &st) == 0 && S_ISREG(st.st_mode) ? (sf_count_t)st.st_size : s->position;
}

sf_count_t sinkSeek(sf_count_t offset, int whence, void* user) {
    SoundSink* s = (SoundSink*)user;
    off_t at = lseek(s->fd, (off_t)offset, whence);
    if (at >= 0) return s->position = at;
    // A pipe or device only ever asks where it is.
    if (errno == ESPIPE && offset == 0 && whence != SEEK_SET) return s->position;
    if (!s->error) s->error = errno;
    return -1;
}

sf_count_t sinkRead(void* ptr, sf_count_t count, void* user) {
    ssize_t n = read(((SoundSink*)user)->fd, ptr, (size_t)count);
    return n < 0 ? 0 : n;
}

sf_count_t sinkWrite(const void* ptr, sf_count_t count, void* user) {
    SoundSink* s = (SoundSink*)user;
    const char* p = (const char*)ptr;
    sf_count_t done = 0;
    while (done < count) {
        ssize_t n = write(s->fd, p + done, (size_t)(count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (!s->error) s->error = n < 0 ? errno : EIO;
            break;
        }
        done += n;
    }
    s->position += done;
    return done;
}

sf_count_t sinkTell(void* user) {
    SoundSink* s = (SoundSink*)user;
    off_t at = lseek(s->fd, 0, SEEK_CUR);
    return at >= 0 ? (sf_count_t)at : s->position;
}

} // namespace

int soundFormatFor(const std::string& name, std::string* error) {
    if (name == "-") return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    size_t dot = name.rfind('.'), slash = name.rfind('/');
    std::string ext;
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        for (char c : name.substr(dot + 1))
            ext += (char)std::tolower((unsigned char)c);
    const struct {
        const char* ext;
        int format;
    } kPreferred[] = {
        {"wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
        {"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {"ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"oga", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III},
    };
    for (const auto& p : kPreferred)
        if (ext == p.ext) {
            if (writable(p.format)) return p.format;
            *error = "this libsndfile cannot write ." + ext + " files";
            return 0;
        }
    int majors = 0;
    sf_command(nullptr, SFC_GET_FORMAT_MAJOR_COUNT, &majors, sizeof majors);
    for (int k = 0; k < majors && !ext.empty(); k++) {
        SF_FORMAT_INFO info = SF_FORMAT_INFO();
        info.format = k;
        sf_command(nullptr, SFC_GET_FORMAT_MAJOR, &info, sizeof info);
        if (info.extension && ext == info.extension && writable(info.format | SF_FORMAT_PCM_16))
            return info.format | SF_FORMAT_PCM_16;
    }
    *error = ext.empty() ? "'" + name + "' has no extension to choose a sound format by"
                         : "unknown sound format '." + ext + "' (try .wav, .flac, .ogg or .mp3)";
    return 0;
}

SNDFILE* openSoundOutput(SoundSink* sink, int format, bool stream, long long frames,
                         std::string* error) {
    static SF_VIRTUAL_IO io = {sinkLength, sinkSeek, sinkRead, sinkWrite, sinkTell};
    int fd = sink->fd;
    SF_INFO info = SF_INFO();
    info.samplerate = kRate;
    info.channels = kChannels;
    info.format = format;
    if (stream) {
        unsigned char header[44];
        wavHeader(frames, header);
        if (write(fd, header, sizeof header) != (ssize_t)sizeof header) {
            *error = std::strerror(errno);
            return nullptr;
        }
        sink->position = sizeof header;
        info.format = SF_FORMAT_RAW | SF_FORMAT_PCM_16 | SF_ENDIAN_LITTLE;
    }
    SNDFILE* f = sf_open_virtual(&io, SFM_WRITE, &info, sink);
    if (!f) *error = sf_strerror(nullptr);
    return f;
}
