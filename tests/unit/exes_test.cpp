#include "inspect/inspect.h"
#include "unit/stage_test.h"

namespace {

class ExesTest : public StageTest {
protected:
	void SetUp() override
	{
		StageTest::SetUp();
		use_port("games", "foo");
	}

	// The further executables as the entries are written for them.
	std::vector<std::string> extras() const
	{
		std::vector<std::string> names;
		ExtraExeWalk walk = walk_extra_exes(job);
		std::string name;
		while (next_extra_exe(job, walk, name))
			names.push_back(name);
		return names;
	}
};

struct PlistCase {
	const char *port_name;
	const char *plist;
	const char *main_exe;		// nullptr: not found in the list
	std::vector<std::string> extras;
};

TEST_F(ExesTest, MainAndExtraFromThePackingList)
{
	const PlistCase cases[] = {
		{"foo", "bin/foo\nbin/foo-config\nshare/foo/foo.png\n", "bin/foo",
		    {"foo-config"}},
		// The first line holding bin/ and the name wins; bin/foo is then
		// taken to be that one.
		{"foo", "bin/foo-config\nbin/foo\n", "bin/foo-config", {}},
		{"foo", "sbin/foo\nbin/foo\nbin/bar\n", "sbin/foo", {"bar"}},
		{"foo", "share/foo/bin/runner\nbin/tool\n", "share/foo/bin/runner",
		    {"tool"}},
		{"foobar", "bin/foobar\nbin/foo\nbin/bar\n", "bin/foobar",
		    {"bar"}},
		// The last line may lack its newline.
		{"foo", "bin/sub/tool\n%%DATADIR%%/bin/x\nsbin/y\nbin/foo",
		    "bin/foo", {"sub/tool"}},
		{"foo", "bin/bar\nbin/baz", nullptr, {"bar", "baz"}},
		{"", "share/x\nbin/one\nbin/two\n", "bin/one", {"two"}},
		{"foo", "bin/\n", nullptr, {""}},
		{"foo", "bin/foo\nbin/\n", "bin/foo", {}},
	};
	for (const PlistCase &c : cases) {
		job.port_name = c.port_name;
		job.main_exe.reset();
		port_file("pkg-plist", c.plist);
		EXPECT_EQ(find_exe_in_plist(job), c.main_exe ? 1 : 0) << c.plist;
		if (c.main_exe)
			EXPECT_EQ(job.main_exe, c.main_exe);
		else
			EXPECT_FALSE(job.main_exe);
		EXPECT_EQ(collect_extra_exes(job), 1);
		EXPECT_EQ(extras(), c.extras) << c.plist;
	}
}

TEST_F(ExesTest, FallbackMainExeSkipsItsExtra)
{
	job.main_exe = "/usr/local/bin/foo";
	port_file("pkg-plist", "bin/foo\nbin/foo-gui\n");
	EXPECT_EQ(collect_extra_exes(job), 1);
	EXPECT_EQ(extras(), std::vector<std::string>{"foo-gui"});
}

TEST_F(ExesTest, Log)
{
	port_file("pkg-plist", "bin/foo\nbin/foo-config\n");
	find_exe_in_plist(job);
	collect_extra_exes(job);
	EXPECT_EQ(logged(), "Found main exe file bin/foo\n"
	    "Looking for more bin files.\n"
	    "Found extra exe: foo-config\n");
}

TEST_F(ExesTest, NoPackingList)
{
	EXPECT_EQ(find_exe_in_plist(job), 0);
	EXPECT_EQ(collect_extra_exes(job), 0);
	EXPECT_TRUE(extras().empty());
	EXPECT_EQ(logged(), "Could not find exe the smart way.\n"
	    "Looking for more bin files.\n");
}

TEST_F(ExesTest, LongLinesAreWholeLines)
{
	// A piece-wise reader would see "bin/" and the name in two pieces of
	// one line, or take the tail of a long line as a line of its own.
	std::string dir(2000, 'd');
	port_file("pkg-plist", "share/" + dir + "/bin/x\n" + "share/" + dir +
	    "/foo\n" + "bin/" + std::string(3000, 't') + "\n");
	EXPECT_EQ(find_exe_in_plist(job), 0);
	EXPECT_EQ(collect_extra_exes(job), 1);
	EXPECT_EQ(extras(), std::vector<std::string>{std::string(3000, 't')});
}

// A NUL byte ends a line: the entry is jk, not a name that a path made
// from it would cut short.
TEST_F(ExesTest, NulEndsALine)
{
	port_file("pkg-plist", std::string("bin/foo\nbin/jk\0evil\n", 20));
	EXPECT_EQ(find_exe_in_plist(job), 1);
	EXPECT_EQ(collect_extra_exes(job), 1);
	EXPECT_EQ(extras(), std::vector<std::string>{"jk"});
}

}
