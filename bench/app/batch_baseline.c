/* The plain C baseline of the batch benchmark: the least a batch run must do with its files,
 * and nothing more. It reads the data file named first, saves it back through a temporary
 * file in the same folder (written, flushed with fsync, renamed over the data file), and
 * appends to the file named second as many bytes as the third argument says (the size of
 * the batch run's reports), flushed with fdatasync. No engine, no report logic, no C++
 * runtime: what a process costs that moves the same bytes as safely. */
#define _POSIX_C_SOURCE 200809L

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static int write_all(int fd, const char* p, size_t n) {
    while (n > 0) {
        const ssize_t w = write(fd, p, n);
        if (w < 0) return -1;
        p += w;
        n -= (size_t)w;
    }
    return 0;
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fputs("usage: batch_baseline <data file> <report file> <bytes>\n", stderr);
        return 2;
    }
    const char* data_file = argv[1];
    const char* report_file = argv[2];
    const size_t report_size = (size_t)strtoul(argv[3], NULL, 10);

    /* The data file, whole. */
    const int in = open(data_file, O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (in < 0 || fstat(in, &st) != 0) return 1;
    char* data = malloc((size_t)st.st_size + 1);
    size_t got = 0;
    for (ssize_t r; data && (r = read(in, data + got, (size_t)st.st_size + 1 - got)) > 0;)
        got += (size_t)r;
    close(in);
    if (!data || got == 0) return 1;

    /* Saved back: a temporary file beside it, flushed, renamed over it. */
    char temp[4096];
    if (snprintf(temp, sizeof temp, "%s.XXXXXX", data_file) >= (int)sizeof temp) return 1;
    const int out = mkstemp(temp);
    if (out < 0) return 1;
    if (write_all(out, data, got) != 0 || fsync(out) != 0 || close(out) != 0 ||
        rename(temp, data_file) != 0) {
        unlink(temp);
        return 1;
    }

    /* The report: as many bytes as the batch run appends, appended and flushed. */
    char* text = malloc(report_size + 1);
    if (!text) return 1;
    for (size_t i = 0; i < report_size; i += got)
        memcpy(text + i, data, report_size - i < got ? report_size - i : got);
    const int report = open(report_file, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (report < 0 || write_all(report, text, report_size) != 0 || fdatasync(report) != 0 ||
        close(report) != 0)
        return 1;
    free(text);
    free(data);
    return 0;
}
