#include <dirent.h>
#include <unistd.h>

#include "inspect/inspect.h"
#include "job/port_path.h"

int
check_port_dir(PortJob &job)
{
	DIR *dir = opendir(job.port_path->c_str());

	if (dir == nullptr) {
		log_msg(job, "Unable to find port %s\n", job.port_path->c_str());
		return 0;
	}
	closedir(dir);
	log_msg(job, "Found port %s\n", job.port_path->c_str());
	return 1;
}

int
check_root(PortJob &job)
{
	// The real user id decides; a set-user-id root binary is refused.
	if (getuid() == 0) {
		log_msg(job, "Root access confirmed.\n");
		return 1;
	}
	log_msg(job, "We do not have root access.\n");
	return 0;
}

int
derive_names(PortJob &job)
{
	// An empty last component would name the modules "-8" and "", and "."
	// or ".." would put the version-9 module in or above this directory.
	Text name = split_port_path(*job.port_path).name;
	if (!name || name->empty() || name == "." || name == "..") {
		log_msg(job, "Was unable to find port name from %s\n",
		    job.port_path->c_str());
		return 0;
	}
	job.port_name = name;
	log_msg(job, "Got port name: %s\n", job.port_name->c_str());
	job.module_dir8 = *job.port_name + "-8";
	job.module_dir9 = job.port_name;
	return 1;
}

std::string
port_file(const PortJob &job, const char *name)
{
	return *job.port_path + "/" + name;
}
