// Text composed with a printf format, for the files the tool writes whole.
#ifndef RIDIVAVE_SYS_TEXT_H
#define RIDIVAVE_SYS_TEXT_H

#include <string>

void append_format(std::string &text, const char *fmt, ...)
    __attribute__((format(printf, 2, 3)));

#endif
