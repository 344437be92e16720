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
