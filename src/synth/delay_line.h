// Circular buffer of 16-bit samples: a read and a write at the same position,
// once per frame, delay by exactly `size` frames. Main thread; allocates only
// in its constructor.
#pragma once

// out[n] = in[n - size]
class DelayLine {
  public:
    unsigned int size; // current length, 1..capacity
    short* buffer;     // capacity samples, owned
    unsigned int pos;  // read/write position, always below size

    explicit DelayLine(unsigned int length);
    ~DelayLine();
    DelayLine(const DelayLine&) = delete;
    DelayLine& operator=(const DelayLine&) = delete;

    short read() const { return buffer[pos]; }
    void write(short v) {
        buffer[pos] = v;
        next();
    }
    void next() {
        if (++pos >= size) pos = 0;
    }
    short delay(short v) {
        short old = buffer[pos];
        write(v);
        return old;
    }
    // Shortens or restores the line within its allocation; longer requests
    // are held at the allocated length so pos never leaves the buffer.
    void setSize(unsigned int n);
    unsigned int capacity() const { return capacity_; }

  private:
    unsigned int capacity_; // samples allocated at construction
};
