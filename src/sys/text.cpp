#include "sys/text.h"

#include <cstdarg>
#include <cstdio>
#include <new>

void
append_format(std::string &text, const char *fmt, ...)
{
	va_list ap, again;

	va_start(ap, fmt);
	va_copy(again, ap);
	int n = std::vsnprintf(nullptr, 0, fmt, ap);
	va_end(ap);
	if (n < 0) {
		va_end(again);
		throw std::bad_alloc();		// only an encoding error does this
	}
	std::string::size_type at = text.size();
	text.resize(at + static_cast<size_t>(n) + 1);
	std::vsnprintf(&text[at], static_cast<size_t>(n) + 1, fmt, again);
	va_end(again);
	text.resize(at + static_cast<size_t>(n));
}
