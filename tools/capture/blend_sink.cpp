#include "capture/blend_sink.h"

#include <vector>

namespace {

class BlendSink : public FrameSink {
  public:
    BlendSink(std::unique_ptr<FrameSink> next, int64_t group)
        : next_(std::move(next)), group_(group) {}

    bool frame(std::vector<unsigned char>&& bgrx) override {
        if (sum_.empty()) sum_.assign(bgrx.size(), 0);
        for (size_t i = 0; i < bgrx.size(); i++)
            sum_[i] += bgrx[i];
        if (++count_ < group_) return true;
        // The group's average per channel, rounded to nearest (halves up).
        for (size_t i = 0; i < bgrx.size(); i++) {
            bgrx[i] = (unsigned char)((sum_[i] + group_ / 2) / group_);
            sum_[i] = 0;
        }
        count_ = 0;
        return next_->frame(std::move(bgrx));
    }
    bool sound(const unsigned char* s16le, int64_t frames) override {
        return next_->sound(s16le, frames);
    }
    bool finish() override { return next_->finish(); }
    void abort() override { next_->abort(); }
    std::string error() const override { return next_->error(); }

  private:
    std::unique_ptr<FrameSink> next_;
    int64_t group_;
    int64_t count_ = 0;         // frames summed so far in this group
    std::vector<uint32_t> sum_; // per channel, at most 1000 x 255
};

} // namespace

std::unique_ptr<FrameSink> blendFrames(std::unique_ptr<FrameSink> next, int64_t group) {
    return std::make_unique<BlendSink>(std::move(next), group);
}
