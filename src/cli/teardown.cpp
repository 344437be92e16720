#include "cli/cli.h"
#include "install/install.h"
#include "sys/command.h"
#include "sys/signals.h"

void
job_teardown(PortJob &job, bool silent)
{
	if (!silent)
		log_msg(job, "Cleaning up ZUB data.\n");
	restore_make_conf(job, silent);
	remove_marker();
	std::fflush(stdout);
	job.log_file.reset();
}

// A signal that ends the run ends the command it runs first, then undoes
// what the run changed on the system, and ends the tool by that signal, so
// that its caller sees it.  Only calls that neither allocate nor run a
// shell.
static void
end_by_signal(int sig)
{
	stop_command(sig);
	undo_batch_mode();
	remove_marker();
	die_by_signal(sig);
}

void
arm_teardown()
{
	catch_ending_signals(end_by_signal);
}

void
disarm_teardown()
{
	release_ending_signals();
}
