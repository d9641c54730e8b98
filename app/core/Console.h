// Console: the program's standard output and standard error, through the C library's
// streams.
//
// The program writes its few lines here rather than through std::cout and std::cerr: a
// program that includes <iostream> constructs the eight standard stream objects and the
// whole classic locale at every start, which a batch run, started once per data file,
// would pay every time. Out and Err go through stdout and stderr as std::cout and std::cerr
// do by default (stdout buffered as the C library buffers it, stderr unbuffered), so the
// order of what reaches a terminal or a file is the same.
#pragma once

#include <cstdio>
#include <ostream>
#include <streambuf>
#include <string_view>

namespace caldren::Console {

void Out(std::string_view text);
void Err(std::string_view text);

// A std::ostream on a C stream, for code that writes through one (the tool commands).
class Stream : public std::ostream {
public:
    explicit Stream(std::FILE* file);

private:
    class Buffer : public std::streambuf {
    public:
        explicit Buffer(std::FILE* file) : m_file(file) {}

    protected:
        int_type overflow(int_type c) override;
        std::streamsize xsputn(const char* text, std::streamsize count) override;
        int sync() override;

    private:
        std::FILE* m_file;
    };
    Buffer m_buffer;
};

}  // namespace caldren::Console
