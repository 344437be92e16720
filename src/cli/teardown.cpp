#include "cli/cli.h"
#include "install/install.h"

void
job_teardown(PortJob &job, bool silent)
{
	if (!silent)
		log_msg(job, "Cleaning up ZUB data.\n");
	restore_make_conf(job, silent);
	remove_marker(job);
	std::fflush(stdout);
	job.log_file.reset();
}
