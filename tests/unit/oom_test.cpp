// A run that cannot get memory ends with status 1 and a silent teardown,
// wherever the allocation fails.  Its own binary: it replaces operator new.
#include <cstdlib>
#include <new>

#include "cli/cli.h"
#include "unit/stage_test.h"

// The allocation that fails, counted down while a run is armed; -1 never.
static long fail_countdown = -1;
static long allocations = 0;

void *
operator new(std::size_t size)
{
	if (fail_countdown >= 0 && fail_countdown-- == 0)
		throw std::bad_alloc();
	allocations++;
	if (void *p = std::malloc(size != 0 ? size : 1))
		return p;
	throw std::bad_alloc();
}

// g++ sees the inlined operator new and takes the free below for a mismatch.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void
operator delete(void *p) noexcept
{
	std::free(p);
}

void
operator delete(void *p, std::size_t) noexcept
{
	std::free(p);
}

namespace {

class OutOfMemoryTest : public StageTest {
protected:
	int run(long fail_at, bool packager)
	{
		std::vector<std::string> args = {"ridivave", "-l", "run.log", "-8",
		    "-9", "-s", "ports/games/foo"};
		if (packager)
			args.insert(args.begin() + 1, "-d");
		std::vector<char *> argv;
		for (std::string &a : args)
			argv.push_back(a.data());
		argv.push_back(nullptr);
		std::filesystem::remove_all("foo");
		std::filesystem::remove_all("foo-8");
		std::filesystem::remove("run.log");

		allocations = 0;
		fail_countdown = fail_at;
		int status = run_driver(static_cast<int>(args.size()), argv.data());
		fail_countdown = -1;
		return status;
	}
};

TEST_F(OutOfMemoryTest, EveryFailedAllocationEndsWithStatusOneSilently)
{
	use_port("games", "foo");
	port_file("Makefile", "MAINTAINER=\tjo@example.org\n");
	port_file("pkg-descr", "Foo.\n\nWWW: http://foo.example.org/\n");
	// With -d, an icon the packing list names by its absolute path.
	port_file("pkg-plist", "bin/foo\nbin/foo-config\nshare/foo/foo.png\n" +
	    scratch + "/foo-48x48.png\n");
	write_file(scratch + "/foo-48x48.png", "png");

	for (bool packager : {false, true}) {
		ASSERT_EQ(run(-1, packager), 0);
		const long total = allocations;
		const std::string full_log = read_file("run.log");
		ASSERT_GT(total, 10);
		ASSERT_NE(full_log.find("Cleaning up ZUB data.\n"),
		    std::string::npos);
		if (packager) {
			ASSERT_NE(full_log.find("Found icon file " + scratch),
			    std::string::npos);
		}

		for (long n = 0; n < total; n++) {
			EXPECT_EQ(run(n, packager), 1) << "allocation " << n;
			// The log stops where the run did: no message of the
			// failure, and no clean-up lines after a failure before
			// the end.
			std::string log = read_file("run.log");
			EXPECT_LE(log.size(), full_log.size()) << n;
			EXPECT_EQ(full_log.compare(0, log.size(), log), 0) << n << log;
		}
	}
}

}
