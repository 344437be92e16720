// Runs the built ridivave binary and captures everything it did.
#ifndef RIDIVAVE_TESTS_TOOL_H
#define RIDIVAVE_TESTS_TOOL_H

#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

#include "support/files.h"

struct ToolRun {
	std::vector<std::string> args;	// after the tool's name
	std::string cwd = ".";
	std::string input;		// standard input
	bool close_stdin = false;	// no standard input at all
	uid_t real_uid = 0;
	uid_t effective_uid = 0;
	std::string path_prefix;	// put in front of PATH
	std::vector<std::string> environment;	// NAME=value, set for the run
	std::string plant_marker_link;	// link /tmp/<pid> to this first
	bool plant_marker_dir = false;	// a non-empty directory at /tmp/<pid>
	// Hard links to the file `second` at the first 50 temporary names the
	// run will try in the directory `first`.
	std::pair<std::string, std::string> plant_temp_links;
	mode_t umask_value = 022;
	int open_files_limit = 0;	// RLIMIT_NOFILE when not 0
	bool stdout_reader_gone = false;	// a pipe whose reader closed it
	std::vector<int> ignored_signals;	// left ignored by the caller
	// Open descriptors 7 and 2000, not close-on-exec, the second above the
	// open-files limit the tool then gets (1024).
	bool inherit_fds = false;
	// Prompts and their answers: standard input and output are pipes, and
	// each answer is written only once its prompt shows on the output.
	std::vector<std::pair<std::string, std::string>> answers;
};

struct ToolResult {
	int status = -1;	// exit status, or 128 + signal
	std::string out;
	std::string err;
	pid_t pid = -1;
};

// A run that has started; finish_tool waits for its end.
struct ToolProcess {
	pid_t pid = -1;
	std::string io;		// its captured streams
	int in = -1, out = -1;	// the pipes of a run with answers
	std::string printed;	// read from `out` so far
};

ToolProcess start_tool(const ToolRun &run);
ToolResult finish_tool(ToolProcess &proc);
ToolResult run_tool(const ToolRun &run);

// Sorts each run of consecutive "Found new file:" and "Found new link:"
// lines, whose order is the file system's.
std::string sort_found_lines(const std::string &log);

// The bundled example port, and the path of our own test ports.
std::string example_port();

// The stand-in for the ports framework that our ports call.
std::string framework();

// A port directory at `dir` with the given files; an empty text leaves the
// file out.  A Makefile with an install recipe of its own and no stage gets
// stage and deinstall from the stand-in, as a port gets them from the
// framework it includes: it stands for a port whose install does what the
// recipe does.
void make_port(const std::string &dir, const std::string &makefile,
    const std::string &descr, const std::string &plist);

#endif
