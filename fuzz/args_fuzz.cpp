// The command line: the input is the arguments after the tool's name,
// separated by NUL bytes.
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <unistd.h>
#include <vector>

#include "fuzz/scratch.h"
#include "cli/cli.h"

// -l creates its file: each input starts from an empty scratch directory.
static void
empty_scratch()
{
	DIR *d = opendir(".");
	if (d == nullptr)
		std::abort();
	while (struct dirent *e = readdir(d))
		unlink(e->d_name);
	closedir(d);
}

extern "C" int
LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	enter_scratch();
	std::vector<std::string> args = {"ridivave", ""};
	for (size_t i = 0; i < size; i++) {
		if (data[i] == '\0')
			args.emplace_back();
		else
			args.back().push_back(static_cast<char>(data[i]));
	}
	// A -l file stays in the scratch directory.
	for (size_t i = 0; i + 1 < args.size(); i++)
		if (args[i] == "-l" && args[i + 1].find('/') != std::string::npos)
			return 0;

	std::vector<char *> argv;
	for (std::string &a : args)
		argv.push_back(a.data());
	argv.push_back(nullptr);

	PortJob job;
	int result = parse_args(job, static_cast<int>(args.size()), argv.data());
	if (result == 1) {
		bool version = false;
		for (const std::string &a : args)
			version = version || a == "-8" || a == "-9";
		if (!version || !job.port_path || !job.ports_root)
			std::abort();
	}
	if (job.port_path) {
		std::string last = args.back();
		if (!last.empty() && last.back() == '/')
			last.pop_back();
		if (*job.port_path != last)
			std::abort();
		if (!job.ports_root || job.port_path->rfind(*job.ports_root, 0) != 0)
			std::abort();
	}
	job.log_file.reset();
	empty_scratch();
	return 0;
}
