#include "sys/text.h"

#include <cstdarg>
#include <cstdio>
#include <new>

// Formatted straight into the text's spare room, and a second time only
// when it did not fit.
void
append_format(std::string &text, const char *fmt, ...)
{
	va_list ap, again;

	std::string::size_type at = text.size();
	text.resize(text.capacity() > at + 1 ? text.capacity() : at + 64);
	va_start(ap, fmt);
	va_copy(again, ap);
	int n = std::vsnprintf(&text[at], text.size() - at + 1, fmt, ap);
	va_end(ap);
	if (n < 0) {
		va_end(again);
		text.resize(at);
		throw std::bad_alloc();		// only an encoding error does this
	}
	if (static_cast<size_t>(n) > text.size() - at) {
		text.resize(at + static_cast<size_t>(n));
		std::vsnprintf(&text[at], static_cast<size_t>(n) + 1, fmt, again);
	}
	va_end(again);
	text.resize(at + static_cast<size_t>(n));
}

std::string_view
file_name(std::string_view path)
{
	return path.substr(path.rfind('/') + 1);
}

std::vector<std::string_view>
blank_words(std::string_view line)
{
	std::vector<std::string_view> words;
	std::string_view::size_type at = 0;

	while ((at = line.find_first_not_of(" \t", at)) != line.npos) {
		std::string_view::size_type end = line.find_first_of(" \t", at);
		if (end == line.npos)
			end = line.size();
		words.push_back(line.substr(at, end - at));
		at = end;
	}
	return words;
}

static char
lower(char c)
{
	return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool
equal_ignoring_case(std::string_view a, std::string_view b)
{
	if (a.size() != b.size())
		return false;
	for (std::string_view::size_type i = 0; i < a.size(); i++)
		if (lower(a[i]) != lower(b[i]))
			return false;
	return true;
}

bool
starts_ignoring_case(std::string_view text, std::string_view prefix)
{
	return text.size() >= prefix.size() &&
	    equal_ignoring_case(text.substr(0, prefix.size()), prefix);
}
