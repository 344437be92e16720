// Runs the built ridivave binary and captures everything it did.
#ifndef RIDIVAVE_TESTS_TOOL_H
#define RIDIVAVE_TESTS_TOOL_H

#include <string>
#include <sys/types.h>
#include <vector>

struct ToolRun {
	std::vector<std::string> args;	// after the tool's name
	std::string cwd = ".";
	std::string input;		// standard input
	bool close_stdin = false;	// no standard input at all
	uid_t real_uid = 0;
	uid_t effective_uid = 0;
	std::string path_prefix;	// put in front of PATH
	std::string plant_marker_link;	// link /tmp/<pid> to this first
	bool plant_marker_dir = false;	// a non-empty directory at /tmp/<pid>
	mode_t umask_value = 022;
	int open_files_limit = 0;	// RLIMIT_NOFILE when not 0
};

struct ToolResult {
	int status = -1;	// exit status, or 128 + signal
	std::string out;
	std::string err;
	pid_t pid = -1;
};

ToolResult run_tool(const ToolRun &run);

std::string read_file(const std::string &path);
void write_file(const std::string &path, const std::string &text);
bool exists(const std::string &path);
// Sorts each run of consecutive "Found new file:" and "Found new link:"
// lines, whose order is the file system's.
std::string sort_found_lines(const std::string &log);

// Every path below `dir`, relative to it, sorted; directories end in "/".
std::vector<std::string> list_tree(const std::string &dir);

// The values that sourcing `conf` with /bin/sh under set -u gives `names`.
std::vector<std::string> sourced_values(const std::string &conf,
    const std::vector<std::string> &names);

// Every path below `dir` whose last component is `name`.
std::vector<std::string> find_named(const std::string &dir,
    const std::string &name);

// The bundled example port, and the path of our own test ports.
std::string example_port();

// A port directory at `dir` with the given files; an empty text leaves the
// file out.
void make_port(const std::string &dir, const std::string &makefile,
    const std::string &descr, const std::string &plist);

#endif
