// The job record: everything the tool knows during one run, with the
// logging convention and teardown that every stage shares.
#ifndef RIDIVAVE_RUN_JOB_H
#define RIDIVAVE_RUN_JOB_H

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "run/sys.h"

constexpr int LOG_QUIET = 0;
constexpr int LOG_STDOUT = 1;
constexpr int LOG_FILE = 2;

constexpr int INSTALL_PKG = 2;
constexpr int INSTALL_MAKE = 3;

constexpr int NEW_FILES_MAX = 1024;

constexpr const char *VERSION = "1.3";

// make's configuration, switched to batch mode for a build, and its backup.
constexpr const char *MAKE_CONF = "/etc/make.conf";
constexpr const char *MAKE_CONF_BACKUP = "/etc/make.conf.zub";

// One further executable; the list keeps the order of discovery.
struct ExeNode {
	std::string name;
};

// An absent field is std::nullopt; an empty string is present.
using Text = std::optional<std::string>;

struct PortJob {
	Text author;
	Text website;
	Text port_name;
	Text module_dir9;
	Text module_dir8;
	Text port_path;
	std::vector<Text> new_files = std::vector<Text>(NEW_FILES_MAX);
	Text icon;
	Text main_exe;
	std::vector<ExeNode> extra_exes;
	Text backup_icon;
	Text category;
	Text exclude;
	Text owner;
	Text ports_root;
	FilePtr log_file;	// the -l file; standard output otherwise
	int log_mode = LOG_STDOUT;
	int interactive = 0;
	int console_app = 0;
	int want_v8 = 0;
	int want_v9 = 0;
	int install_method = INSTALL_MAKE;
	int skip_build = 0;

	// What this run changed on the system, so teardown undoes only that.
	bool marker_created = false;
	bool make_conf_created = false;
};

std::unique_ptr<PortJob> job_new();
void job_teardown(PortJob &job, int silent);
int restore_make_conf(PortJob &job, int silent);
void strip_newline(std::string &text);

// Writes one message to the log unless the run is quiet.
void log_msg(PortJob &job, const char *fmt, ...)
    __attribute__((format(printf, 2, 3)));

// "/tmp/<pid>", composed afresh wherever it is needed.
std::string marker_path();

#endif
