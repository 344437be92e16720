// The private mount namespace in which every test that touches /etc,
// /usr/local, /tmp or /run runs: a fresh tmpfs on /usr/local, /tmp and /run
// (where /var/run points, and the tool keeps its lock) and an overlay on
// /etc whose upper directory the test can inspect.
#ifndef RIDIVAVE_TESTS_SANDBOX_H
#define RIDIVAVE_TESTS_SANDBOX_H

#include <string>

// Enters a private mount namespace; once per process.  Returns false, with
// the reason, where it cannot be done (not root, not Linux).
bool sandbox_enter(std::string &why);

// Whether sandbox_enter succeeded; the reason when it did not.
bool sandbox_entered(std::string &why);

// Mounts a fresh sandbox over the last one and verifies it from
// /proc/self/mountinfo.  Returns false, with the reason, when it is not in
// place: the test must then not run.
bool sandbox_reset(std::string &why);

// Where the sandbox keeps the overlay's upper directory and test files.
std::string sandbox_dir();
std::string etc_upper_dir();

#endif
