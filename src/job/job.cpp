#include "job/job.h"

std::unique_ptr<PortJob>
job_new()
{
	return std::make_unique<PortJob>();
}

void
strip_newline(std::string &text)
{
	std::string::size_type nl = text.find('\n');
	if (nl != std::string::npos)
		text.erase(nl);
}
