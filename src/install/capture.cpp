#include "install/install.h"
#include "sys/command.h"

// find prints a path a line, and every path begins with the directory it
// searched: a line that does not is the rest of a name that holds a newline.
static bool
continues_path(const std::string &line)
{
	return line.rfind("/usr/local", 0) != 0;
}

// Takes the slot that `slot` names for one path: stores the path, or leaves
// the slot empty when it holds the exclude text.  False when the table is
// full.
static bool
take_path(PortJob &job, const std::string &path, const char *kind, int &slot)
{
	if (slot >= NEW_FILES_MAX)
		return false;
	log_msg(job, "Found new %s: %s\n", kind, path.c_str());
	if (job.exclude && path.find(*job.exclude) != std::string::npos)
		log_msg(job, "Skipping due to exclude.\n");
	else
		job.new_files[slot] = path;
	slot++;
	return true;
}

void
take_found_paths(PortJob &job, FILE *out, const char *kind, int &slot)
{
	std::string line;
	Text path;

	while (read_line(out, line)) {
		strip_newline(line);
		if (path && continues_path(line)) {
			*path += "\n" + line;
			continue;
		}
		if (path && !take_path(job, *path, kind, slot))
			return;		// the rest is dropped
		path = line;
	}
	if (path)
		take_path(job, *path, kind, slot);
}

// A marker that the install removed or replaced would make find compare
// with nothing, or with another file: the capture cannot be trusted then.
static CommandPipe
start_find(PortJob &job, const std::string &command)
{
	if (!marker_is_ours()) {
		log_msg(job, "Marker file %s is gone.\n", marker_path().c_str());
		return CommandPipe();
	}
	return open_command(command);
}

int
capture_new_files(PortJob &job)
{
	int slot = 0;
	std::string marker = marker_path();

	std::string command = "find /usr/local -type f -cnewer " + marker;
	log_msg(job, "Finding files using %s\n", command.c_str());
	CommandPipe files = start_find(job, command);
	if (!files)
		return 0;
	take_found_paths(job, files.get(), "file", slot);
	files.close();

	command = "find /usr/local/ -type l -cnewer " + marker;
	log_msg(job, "Finding links using %s\n", command.c_str());
	CommandPipe links = start_find(job, command);
	if (!links)
		return 0;
	take_found_paths(job, links.get(), "link", slot);
	return 1;
}
