#include "support/tool.h"

#include "run/sys.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

std::string
read_file(const std::string &path)
{
	std::ifstream in(path, std::ios::binary);
	std::ostringstream text;
	text << in.rdbuf();
	return text.str();
}

void
write_file(const std::string &path, const std::string &text)
{
	fs::path parent = fs::path(path).parent_path();
	if (!parent.empty())
		fs::create_directories(parent);
	std::ofstream(path, std::ios::binary) << text;
}

bool
exists(const std::string &path)
{
	std::error_code ec;
	return fs::symlink_status(path, ec).type() != fs::file_type::not_found &&
	    !ec;
}

std::vector<std::string>
list_tree(const std::string &dir)
{
	std::vector<std::string> paths;
	for (const auto &e : fs::recursive_directory_iterator(dir)) {
		std::string rel = fs::relative(e.path(), dir).string();
		paths.push_back(e.is_directory() && !e.is_symlink() ? rel + "/" :
		    rel);
	}
	std::sort(paths.begin(), paths.end());
	return paths;
}

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

std::vector<std::string>
sourced_values(const std::string &conf, const std::vector<std::string> &names)
{
	std::string script = "set -u; . \"$1\"; printf '%s\\0'";
	for (const std::string &n : names)
		script += " \"$" + n + "\"";
	std::string command = "/bin/sh -c " + shell_quote(script) + " sh " +
	    shell_quote(conf);
	std::vector<std::string> values;
	FILE *p = popen(command.c_str(), "r");
	if (p == nullptr)
		return values;
	std::string value;
	int c;
	while ((c = std::fgetc(p)) != EOF) {
		if (c == '\0') {
			values.push_back(value);
			value.clear();
		} else
			value.push_back(static_cast<char>(c));
	}
	pclose(p);
	return values;
}

std::vector<std::string>
find_named(const std::string &dir, const std::string &name)
{
	std::vector<std::string> found;
	std::error_code ec;
	for (auto it = fs::recursive_directory_iterator(dir,
	    fs::directory_options::skip_permission_denied, ec);
	    it != fs::recursive_directory_iterator(); it.increment(ec))
		if (it->path().filename() == name)
			found.push_back(it->path().string());
	return found;
}

std::string
example_port()
{
	return std::string(SOURCE_DIR) + "/examples/ports/games/pebblejump";
}

void
make_port(const std::string &dir, const std::string &makefile,
    const std::string &descr, const std::string &plist)
{
	fs::create_directories(dir);
	if (!makefile.empty())
		write_file(dir + "/Makefile", makefile);
	if (!descr.empty())
		write_file(dir + "/pkg-descr", descr);
	if (!plist.empty())
		write_file(dir + "/pkg-plist", plist);
}

[[noreturn]] static void
exec_child(const ToolRun &run, const std::string &io)
{
	if (chdir(run.cwd.c_str()) != 0)
		_exit(126);
	umask(run.umask_value);

	int in = run.close_stdin ? -1 : open((io + "/in").c_str(), O_RDONLY);
	int out = open((io + "/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
	int err = open((io + "/err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
	if (in >= 0)
		dup2(in, 0);
	else
		close(0);
	dup2(out, 1);
	dup2(err, 2);
	for (int fd = 3; fd < 1024; fd++)
		close(fd);

	if (!run.path_prefix.empty()) {
		std::string path = run.path_prefix + ":" + std::getenv("PATH");
		setenv("PATH", path.c_str(), 1);
	}
	if (!run.plant_marker_link.empty()) {
		std::string marker = "/tmp/" + std::to_string(getpid());
		if (symlink(run.plant_marker_link.c_str(), marker.c_str()) != 0)
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
	execv(RIDIVAVE_BIN, argv.data());
	_exit(127);
}

ToolResult
run_tool(const ToolRun &run)
{
	// The captured streams live beside the sandbox, never in the tree that
	// a test inspects.
	std::string io = std::string(SANDBOX_DIR) + "/io";
	fs::create_directories(io);
	write_file(io + "/in", run.input);

	std::fflush(nullptr);
	pid_t pid = fork();
	if (pid == 0)
		exec_child(run, io);

	ToolResult result;
	result.pid = pid;
	int status = 0;
	waitpid(pid, &status, 0);
	result.status = WIFEXITED(status) ? WEXITSTATUS(status) :
	    128 + WTERMSIG(status);
	result.out = read_file(io + "/out");
	result.err = read_file(io + "/err");
	return result;
}
