// zub.conf is sourced by a package builder as root: whatever the website,
// author and port path hold, sourcing the file with /bin/sh must give them
// back exactly and run nothing.  The input is the value, up to a NUL.
#include <cstdint>
#include <cstdio>
#include <sys/stat.h>

#include "fuzz/scratch.h"
#include "module/module.h"

// The website and the author as /bin/sh gives them back, NUL-separated.
static std::string
sourced()
{
	FILE *p = popen("/bin/sh -c 'set -u; . ./foo/zub.conf; "
	    "printf \"%s\\0%s\" \"$ZUB_PROGWEB\" \"$ZUB_PROGAUTHOR\"'", "r");
	if (p == nullptr)
		std::abort();
	std::string out;
	int c;
	while ((c = std::fgetc(p)) != EOF)
		out.push_back(static_cast<char>(c));
	if (pclose(p) != 0)
		std::abort();
	return out;
}

extern "C" int
LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	enter_scratch();
	mkdir("foo", 0755);
	std::string value(reinterpret_cast<const char *>(data), size);
	value = value.substr(0, value.find('\0'));

	PortJob job;
	job.log_mode = LogMode::LOG_QUIET;
	job.port_name = "foo";
	job.module_dir9 = "foo";
	job.port_path = "ports/games/foo";
	job.ports_root = "ports/";
	job.website = value;
	job.author = value;
	if (write_conf_v9(job) != 1)
		std::abort();
	if (sourced() != value + '\0' + value)
		std::abort();
	return 0;
}
