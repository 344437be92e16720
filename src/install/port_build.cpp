#include <unistd.h>

#include <vector>

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

// Builds and installs every missing dependency and builds and stages the
// port, before the marker: the capture's window then holds the install of
// the staged port alone.  deinstall removes an installed copy, so that
// make install takes the new build; it is a command of its own, run only
// once the stage succeeded, since make told to keep going (-k in the
// caller's MAKEFLAGS) would go on to it past a failed stage.  Run in the
// port directory without leaving our own, so that nothing but the command
// can lose its way.
int
stage_port(PortJob &job)
{
	const char *dir = job.port_path->c_str();

	log_msg(job, "Building the port and its dependencies.\n");
	if (run_command("make stage", dir) != 0 ||
	    run_command("make deinstall", dir) != 0) {
		log_msg(job, "Something went wrong building the port.\n");
		return 0;
	}
	return 1;
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
static bool
uses_pkg_add()
{
	return found_on_path("pkg_add");
}

// The origins pkg(8) names as the package's dependencies, a line each;
// absent when the query fails.
static std::optional<std::vector<std::string>>
query_depends(const std::string &origin)
{
	CommandPipe query = open_command(shell_command("pkg rquery %do",
	    {origin}));
	if (!query)
		return std::nullopt;
	std::vector<std::string> origins;
	std::string line;
	while (read_line(query.get(), line)) {
		strip_newline(line);
		if (!line.empty())
			origins.push_back(line);
	}
	if (query.close() != 0)
		return std::nullopt;
	return origins;
}

// With pkg(8), the package's dependencies are installed before the marker,
// marked automatic, so that the capture takes the package's files alone.
int
add_package_depends(PortJob &job)
{
	if (uses_pkg_add())
		return 1;
	log_msg(job, "Installing the package's dependencies.\n");
	std::optional<std::vector<std::string>> origins =
	    query_depends(port_origin(*job.port_path));
	if (!origins || (!origins->empty() &&
	    run_command(shell_command("pkg install -y -A", *origins)) != 0)) {
		log_msg(job, "Error trying to install the package's "
		    "dependencies.\n");
		return 0;
	}
	return 1;
}

// -f installs the package again where it is installed already, so that a
// second run captures it as the first did.
int
add_package(PortJob &job)
{
	log_msg(job, "Attempting to install port.\n");
	const std::string command = uses_pkg_add() ?
	    shell_command("pkg_add -r -v", {*job.port_name}) :
	    shell_command("pkg install -y -f", {port_origin(*job.port_path)});
	if (run_command(command) != 0) {
		log_msg(job, "Error trying to install port.\n");
		return 0;
	}
	log_msg(job, "Finished installing port.\n");
	return 1;
}
