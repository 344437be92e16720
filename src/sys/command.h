// Running the commands that do the tool's outside work (make, pkg or
// pkg_add, find) through the system shell.  A command gets only the three
// standard descriptors and default handling of every signal, and runs in a
// process group of its own, so that a signal that ends the run can end the
// whole command first (stop_command).
#ifndef RIDIVAVE_SYS_COMMAND_H
#define RIDIVAVE_SYS_COMMAND_H

#include <cstdio>
#include <string>
#include <sys/types.h>

// Runs a command and returns its exit status, 128 plus the signal that
// ended it, or -1 when it cannot be started.  Our own output is flushed
// first, so that our lines and the command's keep their order.  With `dir`,
// the command alone runs there (127 when it cannot be entered); the tool
// stays where it is.
int run_command(const std::string &command, const char *dir = nullptr);

// A command whose standard output is read through a pipe; closing it (or
// destroying it) waits for the command.
class CommandPipe {
public:
	CommandPipe() = default;
	~CommandPipe() { close(); }
	CommandPipe(const CommandPipe &) = delete;
	CommandPipe &operator=(const CommandPipe &) = delete;
	CommandPipe(CommandPipe &&other) noexcept;

	FILE *get() const { return out_; }
	explicit operator bool() const { return out_ != nullptr; }
	// Waits for the command; its status as run_command gives it.
	int close();

private:
	friend CommandPipe open_command(const std::string &command);
	FILE *out_ = nullptr;
	pid_t pid_ = -1;
};

// Starts a command with a pipe from its standard output; false (as a bool)
// when it cannot be started.
CommandPipe open_command(const std::string &command);

// Whether the shell would find the program `name` on PATH.
bool found_on_path(const std::string &name);

// Sends `sig` to the running command's process group and waits for the
// command.  Safe in a signal handler; nothing happens when none runs.
void stop_command(int sig);

#endif
