// Port build and capture: the batch-mode switch of /etc/make.conf, the
// marker, the build or package install, and the capture of what it created.
#ifndef RIDIVAVE_BUILD_BUILD_H
#define RIDIVAVE_BUILD_BUILD_H

#include "run/job.h"

int enable_batch_mode(PortJob &job);

int create_marker(PortJob &job);
int build_port(PortJob &job);
int add_package(PortJob &job);

int capture_new_files(PortJob &job);

// Reads what one find printed, files or links (`kind`), into new_files from
// the slot `slot` names on; every path found takes a slot, an excluded one
// too, which stays empty.
void take_found_paths(PortJob &job, FILE *out, const char *kind, int &slot);

#endif
