// Hands fuzzer bytes to the reader, which only takes paths: one scratch file per
// process, rewritten in place for every input.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace marrowick::fuzz {

class InputFile {
  public:
    // The process's scratch file, in memory-backed /dev/shm when there is one.
    static InputFile& Instance();

    // Replaces the file's contents with `bytes` and returns its path.
    const std::string& Write(std::span<const std::uint8_t> bytes);

    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

  private:
    InputFile();

    std::string path_;
    int fd_ = -1;
};

}  // namespace marrowick::fuzz
