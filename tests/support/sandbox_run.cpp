// Runs one command inside the sandbox of the tests: a private mount
// namespace with a fresh /usr/local and /tmp and an overlay on /etc, so that
// a real build and install of a port leaves the host as it was.
//
//	sandbox_run command [argument ...]
//
// Exits 125 when the sandbox cannot be made (not root, not Linux).
#include <cstdio>
#include <unistd.h>

#include "support/sandbox.h"

int
main(int argc, char **argv)
{
	std::string why;

	if (argc < 2) {
		std::fprintf(stderr, "usage: sandbox_run command [argument ...]\n");
		return 2;
	}
	if (!sandbox_enter(why) || !sandbox_reset(why)) {
		std::fprintf(stderr, "sandbox_run: %s\n", why.c_str());
		return 125;
	}
	execvp(argv[1], argv + 1);
	std::perror(argv[1]);
	return 127;
}
