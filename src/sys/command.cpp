#include "sys/command.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "sys/signals.h"

// The command that runs, also its process group; 0 when none.  Read by
// stop_command in a signal handler.
static volatile sig_atomic_t running = 0;

// Every descriptor above the standard three: closefrom where the system has
// it; else each one below the hard open-files limit, which a caller that
// lowered the soft limit after opening more still had them under, whatever
// sysconf makes of it.
static void
close_above_standard()
{
#ifdef RIDIVAVE_HAVE_CLOSEFROM
	closefrom(3);
#else
	struct rlimit rl;
	int top = INT_MAX;
	if (getrlimit(RLIMIT_NOFILE, &rl) == 0 && rl.rlim_max != RLIM_INFINITY &&
	    rl.rlim_max < static_cast<rlim_t>(INT_MAX))
		top = static_cast<int>(rl.rlim_max);
	for (int fd = 3; fd < top; fd++)
		::close(fd);
#endif
}

// In the child: the pipe (or our standard output) as standard output, the
// directory asked for, no other descriptor but the three, every signal at
// its default but those the caller ignored, and none held.
[[noreturn]] static void
exec_shell(const char *command, int out, const char *dir)
{
	setpgid(0, 0);
	if (out >= 0 && dup2(out, 1) < 0)
		_exit(127);
	if (dir != nullptr && chdir(dir) != 0)
		_exit(127);
	close_above_standard();
	reset_signals_for_command();
	execl("/bin/sh", "sh", "-c", command, static_cast<char *>(nullptr));
	_exit(127);
}

// The ending signals are held back from the fork until the command is on
// record, so a handler never misses a command that has started.
static pid_t
start(const std::string &command, int out, const char *dir = nullptr)
{
	std::fflush(nullptr);
	SignalBlock block;
	pid_t pid = fork();
	if (pid == 0)
		exec_shell(command.c_str(), out, dir);
	if (pid > 0) {
		setpgid(pid, pid);	// whichever of the two comes first
		running = pid;
	}
	return pid;
}

// Waits for the command without reaping it, and reaps it only with the
// ending signals held back: a handler that comes meanwhile still finds the
// command on record and waits for it itself.
static int
finish(pid_t pid)
{
	siginfo_t info;
	while (waitid(P_PID, pid, &info, WEXITED | WNOWAIT) != 0 &&
	    errno == EINTR)
		;
	SignalBlock block;
	int status = 0;
	pid_t got;
	while ((got = waitpid(pid, &status, 0)) < 0 && errno == EINTR)
		;
	running = 0;
	if (got < 0)
		return -1;
	return WIFEXITED(status) ? WEXITSTATUS(status) :
	    128 + WTERMSIG(status);
}

int
run_command(const std::string &command, const char *dir)
{
	pid_t pid = start(command, -1, dir);
	return pid < 0 ? -1 : finish(pid);
}

CommandPipe::CommandPipe(CommandPipe &&other) noexcept
    : out_(other.out_), pid_(other.pid_)
{
	other.out_ = nullptr;
	other.pid_ = -1;
}

int
CommandPipe::close()
{
	int status = -1;

	if (out_ != nullptr)
		std::fclose(out_);
	out_ = nullptr;
	if (pid_ > 0)
		status = finish(pid_);
	pid_ = -1;
	return status;
}

CommandPipe
open_command(const std::string &command)
{
	CommandPipe p;
	int fds[2];

	if (pipe(fds) != 0)
		return p;
	fcntl(fds[0], F_SETFD, FD_CLOEXEC);
	pid_t pid = start(command, fds[1]);
	::close(fds[1]);
	if (pid < 0) {
		::close(fds[0]);
		return p;
	}
	p.pid_ = pid;
	p.out_ = fdopen(fds[0], "r");
	if (p.out_ == nullptr) {
		::close(fds[0]);
		p.close();
	}
	return p;
}

// An empty entry is the current directory; without PATH the shell searches
// the system's own directories.
bool
found_on_path(const std::string &name)
{
	const char *path = std::getenv("PATH");
	const std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
	std::string::size_type start = 0;

	for (;;) {
		std::string::size_type colon = dirs.find(':', start);
		std::string dir = dirs.substr(start, colon - start);
		std::string file = (dir.empty() ? "." : dir) + "/" + name;
		struct stat st;
		if (stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
		    access(file.c_str(), X_OK) == 0)
			return true;
		if (colon == std::string::npos)
			return false;
		start = colon + 1;
	}
}

void
stop_command(int sig)
{
	pid_t pid = running;
	if (pid <= 0)
		return;
	if (kill(-pid, sig) != 0)
		kill(pid, sig);
	kill(-pid, SIGCONT);	// a stopped command must see it too
	int status;
	while (waitpid(pid, &status, 0) < 0 && errno == EINTR)
		;
	running = 0;
}
