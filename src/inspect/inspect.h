// Port inspection: the checks on the port and the user, the names derived
// from the port path, and the guesses made from the port's own files.
#ifndef RIDIVAVE_INSPECT_INSPECT_H
#define RIDIVAVE_INSPECT_INSPECT_H

#include <string_view>

#include "job/job.h"

int check_port_dir(PortJob &job);
int check_root(PortJob &job);
int derive_names(PortJob &job);

int guess_website(PortJob &job);
int guess_author(PortJob &job);
int guess_category(PortJob &job);

// -d: the files of the port that the packager's guesses look at.
int list_port_files(PortJob &job);

// The main executable: with -d as a packager picks it (find_packager_exe:
// the port's desktop entry, then its programs), then from the packing
// list's lines (find_exe_in_plist), then below /usr/local/bin
// (guess_main_exe), each logging what it found or did not.
int find_main_exe(PortJob &job);
int find_packager_exe(PortJob &job);
int find_exe_in_plist(PortJob &job);
int guess_main_exe(PortJob &job);
int collect_extra_exes(PortJob &job);

// The further executables in their order, as the entries are written for
// them: with -d those collect_extra_exes kept, else the packing list read
// again each time rather than kept, since a port lists any number of them.
// next_extra_exe gives the next one's name, false at the end.
struct ExtraExeWalk {
	FilePtr plist;
	size_t next = 0;
};
ExtraExeWalk walk_extra_exes(const PortJob &job);
bool next_extra_exe(const PortJob &job, ExtraExeWalk &walk,
    std::string &name);

int choose_icon(PortJob &job);

// The path of one of the port's own files (Makefile, pkg-descr, pkg-plist).
std::string port_file(const PortJob &job, const char *name);

// Within port inspection, for the packager's guesses:

// A packing-list line, less its newline, read as a path: less its option
// markers (%%PORTDOCS%%; %%DATADIR%%/ is a directory and stays) and an
// owner and mode prefix "@(...)"; absent for a directive or nothing.
Text plist_path(const std::string &line);

// The first Exec and Icon values of a desktop entry's [Desktop Entry] group.
struct DesktopKeys {
	Text exec;
	Text icon;
};
DesktopKeys read_desktop_keys(const std::string &path);

// A file below /usr/local/share/applications/ named *.desktop.
bool is_desktop_entry(const std::string &path);
// The file name of `path` less `suffix`.
std::string_view file_stem(std::string_view path, std::string_view suffix);
// A stem names `name` when the two are equal but for case, or when its text
// after its last dot is (org.example.Foo names foo).
bool stem_matches(std::string_view stem, std::string_view name);
// With -d: the icon as a packager picks it, or nothing.
Text packager_icon(const PortJob &job);
// With -d: collect_extra_exes from the programs the packing list names.
int collect_listed_extras(PortJob &job);

#endif
