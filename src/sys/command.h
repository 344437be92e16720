// Running the commands that do the tool's outside work: make, pkg_add,
// find, cp, chown and mv, each through the system shell.
#ifndef RIDIVAVE_SYS_COMMAND_H
#define RIDIVAVE_SYS_COMMAND_H

#include <cstdio>
#include <memory>
#include <string>

// A pipe from a command; closing it waits for the command.
struct PipeCloser {
	void operator()(FILE *f) const { pclose(f); }
};
using PipePtr = std::unique_ptr<FILE, PipeCloser>;

// Runs a command and returns its status, 0 for success.  Our own output is
// flushed first, so that our lines and the command's keep their order.
int run_command(const std::string &command);

// Starts a command with a pipe from its standard output.
PipePtr open_command(const std::string &command);

#endif
