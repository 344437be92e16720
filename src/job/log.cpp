#include <cerrno>
#include <csignal>
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

	// A reader that went away ends the run as SIGPIPE would.
	va_list ap;
	va_start(ap, fmt);
	if (std::vfprintf(out, fmt, ap) < 0 && errno == EPIPE)
		raise(SIGPIPE);
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
