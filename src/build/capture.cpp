#include "build/build.h"

// Reads the output of one find, of files or of links (`kind`), into
// new_files from *slot on.  Every line takes a slot, an excluded one too,
// which it leaves empty.
static void
take_lines(PortJob &job, FILE *pipe, const char *kind, int *slot)
{
	std::string line;

	while (read_line(pipe, line)) {
		if (*slot >= NEW_FILES_MAX)
			return;		// the rest is dropped
		strip_newline(line);
		log_msg(job, "Found new %s: %s\n", kind, line.c_str());
		if (job.exclude && line.find(*job.exclude) != std::string::npos)
			log_msg(job, "Skipping due to exclude.\n");
		else
			job.new_files[*slot] = line;
		(*slot)++;
	}
}

int
capture_new_files(PortJob &job)
{
	int slot = 0;
	std::string marker = marker_path();

	std::string command = "find /usr/local -type f -newer " + marker;
	log_msg(job, "Finding files using %s\n", command.c_str());
	PipePtr files = open_pipe(command);
	if (files == nullptr)
		return 0;
	take_lines(job, files.get(), "file", &slot);
	files.reset();

	command = "find /usr/local/ -type l -newer " + marker;
	log_msg(job, "Finding links using %s\n", command.c_str());
	PipePtr links = open_pipe(command);
	if (links == nullptr)
		return 0;
	take_lines(job, links.get(), "link", &slot);
	return 1;
}
