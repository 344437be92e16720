#include "module/module.h"
#include "sys/command.h"
#include "sys/quote.h"

int
copy_icon_v8(PortJob &job)
{
	if (!job.icon)
		return 0;
	log_msg(job, "Copying icon file %s\n", job.icon->c_str());
	run_command(shell_command("cp", {*job.icon,
	    *job.module_dir8 + "/overlay-dir/"}));
	return 1;
}

int
copy_icon_v9(PortJob &job)
{
	if (!job.icon)
		return 0;
	log_msg(job, "Copying icon file, %s, to resource directory.\n",
	    job.icon->c_str());
	run_command(shell_command("cp", {*job.icon,
	    *job.module_dir9 + "/resources/"}));
	return 1;
}

// Runs last, after every file of the module is written.
static void
chown_module(PortJob &job, const std::string &module_dir)
{
	if (!job.owner)
		return;
	std::string command = shell_command("chown -R", {*job.owner,
	    module_dir});
	log_msg(job, "Performing %s\n", command.c_str());
	run_command(command);
}

void
chown_module_v8(PortJob &job)
{
	chown_module(job, *job.module_dir8);
}

void
chown_module_v9(PortJob &job)
{
	chown_module(job, *job.module_dir9);
}
