// Run control: the command line, the driver that runs every stage in its
// fixed order, and the teardown that ends every run.
#ifndef RIDIVAVE_CLI_CLI_H
#define RIDIVAVE_CLI_CLI_H

#include "job/job.h"

void print_usage();
int parse_args(PortJob &job, int argc, char **argv);

// Undoes what the run changed on the system and closes the log; `silent`
// leaves out the two clean-up messages.
void job_teardown(PortJob &job, bool silent);

// From arm_teardown to disarm_teardown, a signal that ends the run (hangup,
// interrupt, quit, terminate, a standard output whose reader went away)
// undoes what the run changed before the tool ends by it.
void arm_teardown();
void disarm_teardown();

// Runs the whole sequence and returns the exit status.
int run_driver(int argc, char **argv);

#endif
