// Lines on standard error: the host's own reasons and the module's messages.
#ifndef TALLORIX_HOST_REPORT_H
#define TALLORIX_HOST_REPORT_H

// Prints "vlfhost: " and the formatted UTF-8 text as one line, flushed.
void Say(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Prints the UTF-8 text as it is, with a line end, flushed.
void SayLine(const char *line);

// Puts the standard streams in binary mode, so bytes pass exactly.
void BinaryStreams();

#endif
