// What the stages of a test logged to the job's log file so far.
#ifndef RIDIVAVE_TESTS_JOB_LOG_H
#define RIDIVAVE_TESTS_JOB_LOG_H

#include <cstdio>
#include <string>

#include "job/job.h"

inline std::string
logged_text(PortJob &job)
{
	FILE *f = job.log_file.get();
	std::fflush(f);
	std::rewind(f);
	std::string text;
	int c;
	while ((c = std::fgetc(f)) != EOF)
		text.push_back(static_cast<char>(c));
	return text;
}

#endif
