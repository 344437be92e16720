#include <unistd.h>

#include "run/job.h"

std::unique_ptr<PortJob>
job_new()
{
	return std::make_unique<PortJob>();
}

int
restore_make_conf(PortJob &job, int silent)
{
	if (!silent)
		log_msg(job, "Reverting back to old make configuration.\n");
	if (can_open(MAKE_CONF_BACKUP))
		run_shell("mv /etc/make.conf.zub /etc/make.conf");
	else if (job.make_conf_created)
		unlink(MAKE_CONF);	// there was none before this run
	job.make_conf_created = false;
	return 1;
}

void
job_teardown(PortJob &job, int silent)
{
	if (!silent)
		log_msg(job, "Cleaning up ZUB data.\n");
	restore_make_conf(job, silent);
	if (job.marker_created) {
		unlink(marker_path().c_str());
		job.marker_created = false;
	}
	std::fflush(stdout);
	job.log_file.reset();
}

void
strip_newline(std::string &text)
{
	std::string::size_type nl = text.find('\n');
	if (nl != std::string::npos)
		text.erase(nl);
}
