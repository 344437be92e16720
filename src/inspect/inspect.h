// Port inspection: the checks on the port and the user, the names derived
// from the port path, and the guesses made from the port's own files.
#ifndef RIDIVAVE_INSPECT_INSPECT_H
#define RIDIVAVE_INSPECT_INSPECT_H

#include "job/job.h"

int check_port_dir(PortJob &job);
int check_root(PortJob &job);
int derive_names(PortJob &job);

int guess_website(PortJob &job);
int guess_author(PortJob &job);
int guess_category(PortJob &job);

int find_exe_in_plist(PortJob &job);
int guess_main_exe(PortJob &job);
int collect_extra_exes(PortJob &job);

// The further executables, walked in the packing list's order each time
// they are needed rather than kept: a port lists any number of them.
// open_extra_exes is null when there is no packing list; next_extra_exe
// gives the next one's name (its line less "bin/"), false at the end.
FilePtr open_extra_exes(const PortJob &job);
bool next_extra_exe(const PortJob &job, FILE *plist, std::string &name);

int choose_icon(PortJob &job);

// The path of one of the port's own files (Makefile, pkg-descr, pkg-plist).
std::string port_file(const PortJob &job, const char *name);

#endif
