#include "report.h"

#include <fcntl.h>
#include <io.h>
#include <stdarg.h>
#include <stdio.h>

void Say(const char *format, ...)
{
    va_list ap;
    va_start(ap, format);
    fputs("vlfhost: ", stderr);
    vfprintf(stderr, format, ap);
    fputc('\n', stderr);
    fflush(stderr);
    va_end(ap);
}

void SayLine(const char *line)
{
    fputs(line, stderr);
    fputc('\n', stderr);
    fflush(stderr);
}

void BinaryStreams()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}
