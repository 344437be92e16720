#include <unistd.h>

#include "install/install.h"
#include "job/port_path.h"
#include "sys/command.h"
#include "sys/quote.h"

// Later stages address the module trees by relative paths, so build_port
// goes back where it started on every path; a failure there is not reported.
static void
return_to(const std::string &dir)
{
	if (chdir(dir.c_str()) != 0)
		return;
}

int
build_port(PortJob &job)
{
	std::optional<std::string> start = current_dir();
	if (!start) {
		log_msg(job, "Unable to get current working directory.\n");
		return 0;
	}
	log_msg(job, "Moving to port directory %s\n", job.port_path->c_str());
	if (chdir(job.port_path->c_str()) != 0) {
		log_msg(job, "Something went wrong changing dir.\n");
		return 0;
	}
	log_msg(job, "Attempting to make the port.\n");
	int status = run_command("make install");
	if (status != 0) {
		log_msg(job, "Something went wrong during the make.\n");
		return_to(*start);
		return 0;
	}
	log_msg(job, "Completed make. Everything appears OK.\n");
	log_msg(job, "Returning to directory %s\n", start->c_str());
	return_to(*start);
	return 1;
}

// pkg_add left FreeBSD with 10.0: where it is not found, the package is
// installed with pkg(8), named by the port's origin.
int
add_package(PortJob &job)
{
	log_msg(job, "Attempting to install port.\n");
	const std::string command = found_on_path("pkg_add") ?
	    shell_command("pkg_add -r -v", {*job.port_name}) :
	    shell_command("pkg install -y", {port_origin(*job.port_path)});
	if (run_command(command) != 0) {
		log_msg(job, "Error trying to install port.\n");
		return 0;
	}
	log_msg(job, "Finished installing port.\n");
	return 1;
}
