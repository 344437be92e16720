// What the tests' whole runs expect and use: the log of a run of both module
// versions, composed from the facts of its port, and a package installer of
// our own.
#ifndef RIDIVAVE_TESTS_RUNS_H
#define RIDIVAVE_TESTS_RUNS_H

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

#include "support/tool.h"

// A run with -8 and -9 that reaches its end, started in /tmp/out.
struct FullRun {
	std::string port;			// the port path as given
	std::string name;			// the port name
	std::optional<std::string> website;	// absent: not found
	std::optional<std::string> author;	// absent: not found
	// Present for a run that builds: what make printed.  Absent for -s.
	std::optional<std::string> make_output;
	std::vector<std::string> files, links;	// captured, in sorted order
	std::optional<std::string> main_exe;	// from pkg-plist; absent: none
	std::vector<std::string> extras;
	std::optional<std::string> icon;	// captured; absent: none
	std::string category = "Games";
};

// The whole log, for comparison with sort_found_lines of what the run
// printed; `pid` names its marker.
std::string full_run_log(const FullRun &run, pid_t pid);

// A run of the bundled example port: with make's lines and the captured
// icon, or, for a run with -s, neither.
FullRun example_port_run(const std::optional<std::string> &make_lines,
    const std::optional<std::string> &icon);

// Every path of the two module trees of the example port, as list_tree
// gives them, with the icon copies or without.
std::vector<std::string> example_port_tree(bool with_icon);

// Puts our `program` (pkg_add or pkg) first on the PATH of `r`: it writes
// its argument count and arguments to /tmp/<program>.args a line each, says
// "<program> says hello", fails when /tmp/fakebin/fail exists, and installs
// what /tmp/stage holds, or else the file /usr/local/bin/pkgfile.
ToolRun with_fake_installer(const std::string &program = "pkg_add",
    ToolRun r = ToolRun());

#endif
