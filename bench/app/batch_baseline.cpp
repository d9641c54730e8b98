// The plain C++ baseline of the batch benchmark: reads the data file named first and
// appends, to the file named second, as many bytes as the third argument says (the size of
// the batch run's report file). No engine, no report logic: what a process costs that only
// moves the same bytes.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: batch_baseline <data file> <output file> <bytes>\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) return 1;
    const long size = std::strtol(argv[3], nullptr, 10);
    std::string text;
    text.reserve(static_cast<std::size_t>(size));
    while (static_cast<long>(text.size()) < size) text += data;
    text.resize(static_cast<std::size_t>(size));
    std::ofstream out(argv[2], std::ios::binary | std::ios::app);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    return out ? 0 : 1;
}
