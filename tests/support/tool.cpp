#include "support/tool.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <csignal>
#include <grp.h>
#include <poll.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

std::string
sort_found_lines(const std::string &log)
{
	std::istringstream in(log);
	std::string line, out, kind;
	std::vector<std::string> run;

	auto flush = [&]() {
		std::sort(run.begin(), run.end());
		for (const std::string &l : run)
			out += l + "\n";
		run.clear();
	};
	while (std::getline(in, line)) {
		std::string k = line.substr(0, 16);
		bool found = k == "Found new file: " || k == "Found new link: ";
		if (!found || k != kind)
			flush();
		kind = found ? k : "";
		if (found)
			run.push_back(line);
		else
			out += line + "\n";
	}
	flush();
	if (!log.empty() && log.back() != '\n')
		out.pop_back();
	return out;
}

std::string
example_port()
{
	return std::string(SOURCE_DIR) + "/examples/ports/games/pebblejump";
}

std::string
framework()
{
	return std::string(SOURCE_DIR) + "/examples/ports/Mk/framework.sh";
}

void
make_port(const std::string &dir, const std::string &makefile,
    const std::string &descr, const std::string &plist)
{
	fs::create_directories(dir);
	std::string text = makefile;
	if (("\n" + text).find("\ninstall:") != std::string::npos &&
	    ("\n" + text).find("\nstage") == std::string::npos)
		text += "\nstage deinstall:\n\t@sh " + framework() + " $@ " +
		    fs::path(dir).filename().string() + "\n";
	if (!text.empty())
		write_file(dir + "/Makefile", text);
	if (!descr.empty())
		write_file(dir + "/pkg-descr", descr);
	if (!plist.empty())
		write_file(dir + "/pkg-plist", plist);
}

// Standard input, output and error of the child: files in `io`, or pipes
// that the parent holds the other ends of.
[[noreturn]] static void
exec_child(const ToolRun &run, const std::string &binary,
    const std::string &io, int in_pipe, int out_pipe)
{
	if (chdir(run.cwd.c_str()) != 0)
		_exit(126);
	umask(run.umask_value);

	int in = in_pipe >= 0 ? in_pipe : run.close_stdin ? -1 :
	    open((io + "/in").c_str(), O_RDONLY);
	int out = out_pipe >= 0 ? out_pipe :
	    open((io + "/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
	int err = open((io + "/err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
	if (in >= 0)
		dup2(in, 0);
	else
		close(0);
	dup2(out, 1);
	dup2(err, 2);
	for (int fd = 3; fd < 1024; fd++)
		close(fd);

	if (run.stdout_reader_gone) {
		// Until the parent has closed the reading end.
		struct pollfd p = {1, 0, 0};
		poll(&p, 1, 10000);
	}
	struct rlimit no_core = {0, 0};
	setrlimit(RLIMIT_CORE, &no_core);
	for (int sig : run.ignored_signals)
		signal(sig, SIG_IGN);
	if (run.inherit_fds) {
		int null = open("/dev/null", O_RDONLY);
		struct rlimit lim = {4096, 4096}, low = {1024, 4096};
		if (dup2(null, 7) != 7 || setrlimit(RLIMIT_NOFILE, &lim) != 0 ||
		    dup2(null, 2000) != 2000 || setrlimit(RLIMIT_NOFILE, &low) != 0)
			_exit(126);
	}

	for (const std::string &e : run.environment)
		if (putenv(strdup(e.c_str())) != 0)
			_exit(126);
	if (!run.path_prefix.empty()) {
		std::string path = run.path_prefix + ":" + std::getenv("PATH");
		setenv("PATH", path.c_str(), 1);
	}
	if (!run.plant_marker_link.empty()) {
		std::string marker = "/tmp/" + std::to_string(getpid());
		if (symlink(run.plant_marker_link.c_str(), marker.c_str()) != 0)
			_exit(126);
	}
	for (int n = 0; !run.plant_temp_links.first.empty() && n < 50; n++) {
		std::string temp = run.plant_temp_links.first + "/.ridivave." +
		    std::to_string(getpid()) + "." + std::to_string(n);
		if (link(run.plant_temp_links.second.c_str(), temp.c_str()) != 0)
			_exit(126);
	}
	if (run.plant_marker_dir) {
		std::string marker = "/tmp/" + std::to_string(getpid());
		if (mkdir(marker.c_str(), 0755) != 0 ||
		    mkdir((marker + "/in-use").c_str(), 0755) != 0)
			_exit(126);
	}
	if (run.real_uid != 0 || run.effective_uid != 0) {
		if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 ||
		    setreuid(run.real_uid, run.effective_uid) != 0)
			_exit(126);
	}

	if (run.open_files_limit != 0) {
		struct rlimit lim = {static_cast<rlim_t>(run.open_files_limit),
		    static_cast<rlim_t>(run.open_files_limit)};
		if (setrlimit(RLIMIT_NOFILE, &lim) != 0)
			_exit(126);
	}

	std::vector<char *> argv;
	std::string name = "ridivave";
	argv.push_back(name.data());
	std::vector<std::string> args = run.args;
	for (std::string &a : args)
		argv.push_back(a.data());
	argv.push_back(nullptr);
	execv(binary.c_str(), argv.data());
	_exit(127);
}

// The binary a run executes.  An ordinary user may not reach the build tree
// (a checkout below a folder only root may enter): such a run gets a copy
// in the sandbox's own /tmp.
static std::string
binary_for(const ToolRun &run)
{
	if (run.real_uid == 0 && run.effective_uid == 0)
		return RIDIVAVE_BIN;
	const std::string copy = "/tmp/tool/ridivave";
	fs::create_directories("/tmp/tool");
	fs::permissions("/tmp/tool", fs::perms::owner_all |
	    fs::perms::group_read | fs::perms::group_exec |
	    fs::perms::others_read | fs::perms::others_exec);
	fs::copy_file(RIDIVAVE_BIN, copy, fs::copy_options::overwrite_existing);
	return copy;
}

ToolProcess
start_tool(const ToolRun &run)
{
	// The captured streams live beside the sandbox, never in the tree that
	// a test inspects; each run has its own.
	static int runs = 0;
	ToolProcess proc;
	proc.io = std::string(SANDBOX_DIR) + "/io/" + std::to_string(runs++);
	fs::create_directories(proc.io);
	write_file(proc.io + "/in", run.input);

	int in[2] = {-1, -1}, out[2] = {-1, -1};
	if (!run.answers.empty() && pipe(in) != 0)
		return proc;
	if ((!run.answers.empty() || run.stdout_reader_gone) && pipe(out) != 0)
		return proc;
	const std::string binary = binary_for(run);
	std::fflush(nullptr);
	proc.pid = fork();
	if (proc.pid == 0)
		exec_child(run, binary, proc.io, in[0], out[1]);
	if (in[0] >= 0) {
		close(in[0]);
		proc.in = in[1];
	}
	if (out[1] >= 0)
		close(out[1]);
	if (run.stdout_reader_gone)
		close(out[0]);
	else if (out[0] >= 0)
		proc.out = out[0];
	return proc;
}

// Reads what the tool printed until `text` shows after `from`, or the time
// limit passes; false then.
static bool
read_until(ToolProcess &proc, const std::string &text, size_t from)
{
	while (proc.printed.find(text, from) == std::string::npos) {
		struct pollfd p = {proc.out, POLLIN, 0};
		char buf[4096];
		if (poll(&p, 1, 10000) <= 0)
			return false;
		ssize_t n = read(proc.out, buf, sizeof buf);
		if (n <= 0)
			return false;
		proc.printed.append(buf, static_cast<size_t>(n));
	}
	return true;
}

ToolResult
finish_tool(ToolProcess &proc)
{
	ToolResult result;
	result.pid = proc.pid;
	if (proc.out >= 0) {
		while (read_until(proc, std::string(1, '\0'), 0))
			;	// to the end of output: no NUL is ever printed
		close(proc.out);
		result.out = proc.printed;
	}
	int status = 0;
	if (proc.pid > 0)
		waitpid(proc.pid, &status, 0);
	result.status = WIFEXITED(status) ? WEXITSTATUS(status) :
	    128 + WTERMSIG(status);
	if (proc.out < 0)
		result.out = read_file(proc.io + "/out");
	result.err = read_file(proc.io + "/err");
	return result;
}

ToolResult
run_tool(const ToolRun &run)
{
	ToolProcess proc = start_tool(run);
	size_t seen = 0;
	for (const auto &[prompt, answer] : run.answers) {
		// An answer before its prompt shows would hide a prompt that
		// was never flushed.
		if (!read_until(proc, prompt, seen)) {
			kill(proc.pid, SIGKILL);
			break;
		}
		seen = proc.printed.find(prompt, seen) + prompt.size();
		if (write(proc.in, answer.data(), answer.size()) !=
		    static_cast<ssize_t>(answer.size()))
			break;
	}
	if (proc.in >= 0)
		close(proc.in);
	return finish_tool(proc);
}
