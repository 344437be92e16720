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
	// Present for a run that builds: what make install, or the install of
	// the package, printed.  Absent for -s.
	std::optional<std::string> make_output;
	// What the build or the package's dependencies printed before the
	// marker.
	std::string stage_output;
	bool package = false;			// -p, with pkg(8)
	std::vector<std::string> files, links;	// captured, in sorted order
	std::optional<std::string> main_exe;	// from pkg-plist; absent: none
	// With -d: the author's line without the empty line after it, and the
	// desktop entry that named the main executable, if one did.
	bool packager = false;
	std::optional<std::string> entry;
	std::vector<std::string> extras;
	std::optional<std::string> icon;	// captured; absent: none
	std::string category = "Games";
};

// The whole log, for comparison with sort_found_lines of what the run
// printed; `pid` names its marker.
std::string full_run_log(const FullRun &run, pid_t pid);

// A run of the bundled example port: with the lines of make staging it and
// the captured icon, or, for a run with -s, neither.
FullRun example_port_run(const std::optional<std::string> &stage_lines,
    const std::optional<std::string> &icon);

// Every path of the two module trees of the example port, as list_tree
// gives them, with the icon copies or without.
std::vector<std::string> example_port_tree(bool with_icon);

// Puts our `program` (pkg_add or pkg) first on the PATH of `r`: it adds
// its argument count and arguments to /tmp/<program>.args a line each, says
// "<program> says hello" and fails when /tmp/fakebin/fail exists.  pkg_add
// installs what /tmp/stage holds, or else the file /usr/local/bin/pkgfile.
// pkg answers "rquery %do ORIGIN" with /tmp/repo/ORIGIN/depends (and fails
// when /tmp/fakebin/fail-query exists), and "install [-y] [-A] [-f]
// ORIGIN..." installs each package, its dependencies first, as pkg_add
// would or from /tmp/repo/ORIGIN/files with its times, registering it in
// /tmp/pkgdb; a package installed already is installed again only with -f.
ToolRun with_fake_installer(const std::string &program = "pkg_add",
    ToolRun r = ToolRun());

#endif
