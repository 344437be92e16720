// The install and its capture: the batch-mode switch of /etc/make.conf and
// its restore, the build or the package's dependencies before the marker,
// the marker and its removal, make install or the package install, and the
// capture of what the install created.
#ifndef RIDIVAVE_INSTALL_INSTALL_H
#define RIDIVAVE_INSTALL_INSTALL_H

#include <cstdio>

#include "job/job.h"

// make's configuration, switched to batch mode for a build, and its backup.
constexpr const char *MAKE_CONF = "/etc/make.conf";
constexpr const char *MAKE_CONF_BACKUP = "/etc/make.conf.zub";

// Switches make.conf to batch mode under an exclusive lock, which a second
// run waits for.
int enable_batch_mode(PortJob &job);
// Puts make.conf back as the very same file, or moves back a backup left by
// an interrupted run; teardown calls it on every way out.
int restore_make_conf(PortJob &job, bool silent);
// The undo of the switch alone; safe in a signal handler.
void undo_batch_mode();

// "/tmp/<pid>", composed afresh wherever it is needed.
std::string marker_path();
int create_marker(PortJob &job);
// Whether the marker at its path is still the file this run made.
bool marker_is_ours();
// Removes the marker when it is still the one this run made; safe in a
// signal handler.
void remove_marker();

// Before the marker: the port's dependencies and its staged build (make), or
// the package's dependencies (pkg).
int stage_port(PortJob &job);
int add_package_depends(PortJob &job);

int build_port(PortJob &job);
int add_package(PortJob &job);

int capture_new_files(PortJob &job);

// Reads what one find printed, files or links (`kind`), into new_files from
// the slot `slot` names on; every path found takes a slot, an excluded one
// too, which stays empty.
void take_found_paths(PortJob &job, FILE *out, const char *kind, int &slot);

#endif
