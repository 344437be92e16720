// The job record: everything the tool knows during one run, with the
// logging convention that every stage shares.
#ifndef RIDIVAVE_JOB_JOB_H
#define RIDIVAVE_JOB_JOB_H

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sys/fd.h"

enum class LogMode { LOG_QUIET, LOG_STDOUT, LOG_FILE };
enum class InstallMethod { INSTALL_PKG = 2, INSTALL_MAKE = 3 };

constexpr int NEW_FILES_MAX = 1024;

// An absent field is std::nullopt; an empty string is present.
using Text = std::optional<std::string>;

// What the packager's guesses (-d) read of the port's files, once, after
// the capture.
struct PortFiles {
	bool listed = false;	// the packing list could be read
	// Its paths directly in bin/ or sbin/ ("bin/foo"), in its order.
	std::vector<std::string> programs;
	// The files of the port that a guess looks at (desktop entries, .png
	// images, programs in /usr/local/bin and /usr/local/sbin), absolute:
	// the captured ones in the table's order, then the packing list's
	// that are installed.
	std::vector<std::string> files;
};

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
	Text backup_icon;
	Text category;
	Text exclude;
	Text owner;
	Text ports_root;
	FilePtr log_file;	// the -l file; standard output otherwise
	LogMode log_mode = LogMode::LOG_STDOUT;
	bool interactive = false;
	bool console_app = false;
	bool want_v8 = false;
	bool want_v9 = false;
	InstallMethod install_method = InstallMethod::INSTALL_MAKE;
	bool skip_build = false;
	bool packager_guesses = false;	// -d
	PortFiles port_files;		// -d only
	// With -d: the Icon value of the port's desktop entry, absent when no
	// entry was read or its value is empty; and the further executables,
	// each once, which without -d are read from the packing list each
	// time they are needed.
	Text entry_icon;
	std::vector<std::string> extra_exes;
	// A module file could not be written whole; the run ends with 4.
	bool write_failed = false;
	// The module directories ("foo") and their subdirectories ("foo/xdg-menu"),
	// each opened once for the module stage; invalid where it could not be.
	std::map<std::string, Fd> module_dirs;
};

std::unique_ptr<PortJob> job_new();
void strip_newline(std::string &text);

// Writes one message to the log unless the run is quiet.
void log_msg(PortJob &job, const char *fmt, ...)
    __attribute__((format(printf, 2, 3)));

// Writes "ridivave: " and one line to standard error, as the commands the
// tool once ran for the icon copy and the handover did.
void warn(const char *fmt, ...) __attribute__((format(printf, 1, 2)));

#endif
