// Run control: the command line and the driver that runs every stage.
#ifndef RIDIVAVE_RUN_RUN_H
#define RIDIVAVE_RUN_RUN_H

#include "run/job.h"

void print_usage();
int parse_args(PortJob &job, int argc, char **argv);

// Runs the whole sequence and returns the exit status, 0 to 3.
int run_driver(int argc, char **argv);

#endif
