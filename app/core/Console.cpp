#include "Console.h"

namespace caldren::Console {

void Out(std::string_view text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void Err(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

Stream::Stream(std::FILE* file) : std::ostream(nullptr), m_buffer(file) { rdbuf(&m_buffer); }

Stream::Buffer::int_type Stream::Buffer::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    return std::fputc(c, m_file) == EOF ? traits_type::eof() : c;
}

std::streamsize Stream::Buffer::xsputn(const char* text, std::streamsize count) {
    return static_cast<std::streamsize>(
        std::fwrite(text, 1, static_cast<std::size_t>(count), m_file));
}

int Stream::Buffer::sync() { return std::fflush(m_file) == 0 ? 0 : -1; }

}  // namespace caldren::Console
