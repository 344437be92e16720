#include <cstring>

#include "cli/cli.h"
#include "job/port_path.h"

void
print_usage()
{
	std::printf("Version: %s\n", RIDIVAVE_VERSION);
	std::printf("usage: ridivave <-8 or -9> [options] <path_to_port>\n\n");
	std::printf("Options:\n");
	std::printf("  -q         -- Run in quiet mode, no logging or output.\n");
	std::printf("  -l logfile -- Save output to a logfile.\n");
	std::printf("  -i         -- Run in interactiv mode.\n");
	std::printf("  -e dir     -- Exclude a directory from searched.\n");
	std::printf("  -o user    -- chown the module to user\n");
	std::printf("  -c         -- target port is a console app, not a GUI\n");
	std::printf("  -p         -- install via pkg_add, not make\n");
	std::printf("  -b icon    -- if no icon is found, use this one\n");
	std::printf("  -s         -- skip building/installing port\n");
	std::printf("  -d         -- guess program, icon, website, author "
	    "as a packager would\n");
	std::printf("  -8         -- build module for ZUB version 8\n");
	std::printf("  -9         -- build module for ZUB version 9\n");
	std::printf("\n");
}

int
parse_args(PortJob &job, int argc, char **argv)
{
	bool version_seen = false;

	if (argc < 2) {
		print_usage();
		return 0;
	}

	// The value of -b, -e and -o is not consumed: it is examined again as
	// an argument of its own.  Only the value of -l is skipped.
	for (int i = 0; i < argc; i++) {
		const char *arg = argv[i];
		bool has_value = i < argc - 1;

		if (std::strcmp(arg, "-q") == 0)
			job.log_mode = LogMode::LOG_QUIET;
		else if (std::strcmp(arg, "-l") == 0 && has_value) {
			job.log_mode = LogMode::LOG_FILE;
			job.log_file = open_file(argv[i + 1], "w");
			if (job.log_file == nullptr)
				return 0;
			i++;
		} else if (std::strcmp(arg, "-b") == 0 && has_value)
			job.backup_icon = argv[i + 1];
		else if (std::strcmp(arg, "-e") == 0 && has_value)
			job.exclude = argv[i + 1];
		else if (std::strcmp(arg, "-i") == 0)
			job.interactive = true;
		else if (std::strcmp(arg, "-c") == 0)
			job.console_app = true;
		else if (std::strcmp(arg, "-p") == 0)
			job.install_method = InstallMethod::INSTALL_PKG;
		else if (std::strcmp(arg, "-s") == 0)
			job.skip_build = true;
		else if (std::strcmp(arg, "-d") == 0)
			job.packager_guesses = true;
		else if (std::strcmp(arg, "-o") == 0 && has_value)
			job.owner = argv[i + 1];
		else if (std::strcmp(arg, "-8") == 0) {
			job.want_v8 = true;
			version_seen = true;
		} else if (std::strcmp(arg, "-9") == 0) {
			job.want_v9 = true;
			version_seen = true;
		}
	}

	std::string path = argv[argc - 1];
	if (!path.empty() && path.back() == '/')
		path.pop_back();
	job.port_path = path;
	job.ports_root = split_port_path(path).ports_root;

	return version_seen ? 1 : 0;
}
