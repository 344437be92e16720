#include <cstdarg>

#include "job/job.h"

void
log_msg(PortJob &job, const char *fmt, ...)
{
	FILE *out;

	if (job.log_mode == LogMode::LOG_QUIET)
		return;
	out = job.log_mode == LogMode::LOG_FILE ? job.log_file.get() : stdout;
	if (out == nullptr)
		return;		// the -l file could not be opened

	va_list ap;
	va_start(ap, fmt);
	std::vfprintf(out, fmt, ap);
	va_end(ap);
}

void
warn(const char *fmt, ...)
{
	va_list ap;

	std::fflush(stdout);
	std::fputs("ridivave: ", stderr);
	va_start(ap, fmt);
	std::vfprintf(stderr, fmt, ap);
	va_end(ap);
	std::fputc('\n', stderr);
}
