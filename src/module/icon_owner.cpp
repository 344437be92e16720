#include "module/module.h"

// "cp <icon> <target>"; a relative icon path that begins with a dash would
// reach cp as an option.
static std::string
copy_command(const std::string &icon, const std::string &target)
{
	std::string source = icon.compare(0, 1, "-") == 0 ? "./" + icon : icon;
	return "cp " + shell_quote(source) + " " + shell_quote(target);
}

int
copy_icon_v8(PortJob &job)
{
	if (!job.icon)
		return 0;
	log_msg(job, "Copying icon file %s\n", job.icon->c_str());
	run_shell(copy_command(*job.icon, *job.module_dir8 + "/overlay-dir/"));
	return 1;
}

int
copy_icon_v9(PortJob &job)
{
	if (!job.icon)
		return 0;
	log_msg(job, "Copying icon file, %s, to resource directory.\n",
	    job.icon->c_str());
	run_shell(copy_command(*job.icon, *job.module_dir9 + "/resources/"));
	return 1;
}

static void
chown_module(PortJob &job, const std::string &module_dir)
{
	if (!job.owner)
		return;
	std::string command = "chown -R " + shell_quote(*job.owner) + " " +
	    shell_quote(module_dir);
	log_msg(job, "Performing %s\n", command.c_str());
	run_shell(command);
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
