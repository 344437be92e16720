#include "inspect/inspect.h"

int
find_exe_in_plist(PortJob &job)
{
	FilePtr f = open_file(port_file(job, "pkg-plist"), "r");
	std::string line;

	while (f != nullptr && read_line(f.get(), line)) {
		if (line.find("bin/") != std::string::npos &&
		    line.find(*job.port_name) != std::string::npos) {
			strip_newline(line);
			job.main_exe = line;
			break;
		}
	}
	if (job.main_exe) {
		log_msg(job, "Found main exe file %s\n", job.main_exe->c_str());
		return 1;
	}
	log_msg(job, "Could not find exe the smart way.\n");
	return 0;
}

int
guess_main_exe(PortJob &job)
{
	std::string path = "/usr/local/bin/" + *job.port_name;

	log_msg(job, "Trying to guess the port's executable.\n");
	if (can_open(path)) {
		log_msg(job, "Found exe %s\n", path.c_str());
		job.main_exe = path;
		return 1;
	}
	for (const Text &entry : job.new_files) {
		if (entry && entry->find("/usr/local/bin") != std::string::npos) {
			log_msg(job, "Found exe option.\n");
			job.main_exe = entry;
			return 1;
		}
	}
	log_msg(job, "Was unable to guess main executable.\n");
	return 0;
}

int
find_main_exe(PortJob &job)
{
	if (job.packager_guesses && find_packager_exe(job))
		return 1;
	return find_exe_in_plist(job) || guess_main_exe(job);
}

ExtraExeWalk
walk_extra_exes(const PortJob &job)
{
	ExtraExeWalk walk;
	if (!job.packager_guesses)
		walk.plist = open_file(port_file(job, "pkg-plist"), "r");
	return walk;
}

// A packing-list line that begins with "bin/" names a further executable,
// unless the main executable's text holds the line: it is that one then.
bool
next_extra_exe(const PortJob &job, ExtraExeWalk &walk, std::string &name)
{
	if (job.packager_guesses) {
		if (walk.next == job.extra_exes.size())
			return false;
		name = job.extra_exes[walk.next++];
		return true;
	}
	while (walk.plist != nullptr && read_line(walk.plist.get(), name)) {
		if (name.compare(0, 4, "bin/") != 0)
			continue;
		strip_newline(name);
		if (job.main_exe && job.main_exe->find(name) != std::string::npos)
			continue;
		name.erase(0, 4);
		return true;
	}
	return false;
}

int
collect_extra_exes(PortJob &job)
{
	std::string name;

	log_msg(job, "Looking for more bin files.\n");
	if (job.packager_guesses)
		return collect_listed_extras(job);
	ExtraExeWalk walk = walk_extra_exes(job);
	if (walk.plist == nullptr)
		return 0;
	while (next_extra_exe(job, walk, name))
		log_msg(job, "Found extra exe: %s\n", name.c_str());
	return 1;
}
