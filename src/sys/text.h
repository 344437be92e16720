// Text composed with a printf format, for the files the tool writes whole,
// and the small text helpers that the guesses and the module files share.
#ifndef RIDIVAVE_SYS_TEXT_H
#define RIDIVAVE_SYS_TEXT_H

#include <string>
#include <string_view>
#include <vector>

void append_format(std::string &text, const char *fmt, ...)
    __attribute__((format(printf, 2, 3)));

// The text after the last slash of `path`, or all of it.
std::string_view file_name(std::string_view path);

// The words of `line` split on blanks (spaces and tabs).
std::vector<std::string_view> blank_words(std::string_view line);

// Comparisons that take A to Z for a to z and nothing else: the tool sets
// no locale.
bool equal_ignoring_case(std::string_view a, std::string_view b);
bool starts_ignoring_case(std::string_view text, std::string_view prefix);

#endif
