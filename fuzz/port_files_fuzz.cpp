// The guesses made from a port's Makefile, pkg-descr and pkg-plist, and the
// category from its path.  The input is the port name, the three files and
// a port path, separated by NUL bytes.
#include <cstdint>
#include <cstdio>
#include <sys/stat.h>
#include <vector>

#include "fuzz/scratch.h"
#include "inspect/inspect.h"

static std::vector<std::string>
split(const uint8_t *data, size_t size, size_t parts)
{
	std::vector<std::string> out(1);
	for (size_t i = 0; i < size; i++) {
		if (data[i] == '\0' && out.size() < parts)
			out.emplace_back();
		else
			out.back().push_back(static_cast<char>(data[i]));
	}
	out.resize(parts);
	return out;
}

static void
put(const char *path, const std::string &text)
{
	FILE *f = std::fopen(path, "w");
	if (f == nullptr)
		std::abort();
	std::fwrite(text.data(), 1, text.size(), f);
	std::fclose(f);
}

static void
check_line(const Text &value)
{
	if (value && value->find('\n') != std::string::npos)
		std::abort();
}

extern "C" int
LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	enter_scratch();
	std::vector<std::string> in = split(data, size, 5);
	mkdir("ports", 0755);
	mkdir("ports/games", 0755);
	mkdir("ports/games/foo", 0755);
	put("ports/games/foo/Makefile", in[1]);
	put("ports/games/foo/pkg-descr", in[2]);
	put("ports/games/foo/pkg-plist", in[3]);

	// The guesses of before, then those of -d.
	for (bool packager : {false, true}) {
		PortJob job;
		job.log_mode = LogMode::LOG_QUIET;
		job.port_path = "ports/games/foo";
		job.port_name = in[0];
		job.packager_guesses = packager;
		guess_website(job);
		guess_author(job);
		if (packager)
			list_port_files(job);
		find_main_exe(job);
		collect_extra_exes(job);
		choose_icon(job);
		check_line(job.website);
		check_line(job.author);
		check_line(job.main_exe);
		ExtraExeWalk walk = walk_extra_exes(job);
		std::string name;
		while (next_extra_exe(job, walk, name)) {
			check_line(name);
			// The main executable is never listed again as an
			// extra one; with -d an extra is a program right in bin.
			if (job.main_exe && job.main_exe->find("bin/" + name) !=
			    std::string::npos && (!packager ||
			    job.main_exe->ends_with("/" + name)))
				std::abort();
			if (packager && (name.empty() ||
			    name.find('/') != std::string::npos))
				std::abort();
		}
	}

	PortJob path_job;
	path_job.log_mode = LogMode::LOG_QUIET;
	path_job.port_path = in[4];
	if (guess_category(path_job) != 1 || !path_job.category)
		std::abort();
	return 0;
}
