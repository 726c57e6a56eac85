// Standard output through a buffer of its own that remembers why a write
// failed, so that a full disk ends the run with an error instead of a quiet
// success.
#pragma once

#include <array>
#include <streambuf>

namespace marrowick::inspect {

class OutputBuffer : public std::streambuf {
  public:
    OutputBuffer() { setp(buffer_.data(), buffer_.data() + buffer_.size()); }
    ~OutputBuffer() override { Drain(); }
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    // The errno of the first write that failed, or 0. Once one has failed,
    // the rest of the output is dropped.
    int error() const { return error_; }

  protected:
    int_type overflow(int_type c) override;
    int sync() override { return Drain() ? 0 : -1; }

  private:
    bool Drain();

    int error_ = 0;
    std::array<char, 64 * 1024> buffer_;
};

}  // namespace marrowick::inspect
