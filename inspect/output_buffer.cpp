#include "output_buffer.h"

#include <cerrno>

#include "console.h"

namespace marrowick::inspect {

OutputBuffer::int_type OutputBuffer::overflow(int_type c) {
    if (!Drain()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

bool OutputBuffer::Drain() {
    const char* from = pbase();
    while (error_ == 0 && from < pptr()) {
        int error = 0;
        const std::ptrdiff_t written =
            console::WriteOut(from, static_cast<std::size_t>(pptr() - from), error);
        if (written <= 0) {
            error_ = error != 0 ? error : EIO;
            break;
        }
        from += written;
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return error_ == 0;
}

}  // namespace marrowick::inspect
