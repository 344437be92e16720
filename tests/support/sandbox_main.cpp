// The sandboxed tests enter their private mount namespace before any test
// runs; each test then mounts a fresh sandbox in its SetUp.
#include <gtest/gtest.h>

#include "support/sandbox.h"

int
main(int argc, char **argv)
{
	std::string why;

	::testing::InitGoogleTest(&argc, argv);
	if (!sandbox_enter(why))
		std::fprintf(stderr, "sandboxed tests are skipped: %s\n",
		    why.c_str());
	return RUN_ALL_TESTS();
}
