#include <vector>

#include "cli/cli.h"
#include "unit/stage_test.h"

namespace {

class ArgsTest : public StageTest {
protected:
	int parse(std::vector<std::string> args)
	{
		args.insert(args.begin(), "ridivave");
		std::vector<char *> argv;
		for (std::string &a : args)
			argv.push_back(a.data());
		argv.push_back(nullptr);
		job = std::move(*job_new());
		return parse_args(job, static_cast<int>(args.size()), argv.data());
	}
};

struct PathCase {
	const char *last;
	const char *port_path;
	const char *ports_root;
};

TEST_F(ArgsTest, PortPathAndPortsRoot)
{
	static const PathCase cases[] = {
		{"/usr/ports/games/foo", "/usr/ports/games/foo", "/usr/ports/"},
		{"/usr/ports/games/foo/", "/usr/ports/games/foo", "/usr/ports/"},
		{"/usr/ports/games/foo//", "/usr/ports/games/foo/",
		    "/usr/ports/games/"},
		{"ports/games/foo", "ports/games/foo", "ports/"},
		{"./games/foo", "./games/foo", "./"},
		{"/games/foo", "/games/foo", "/games/foo"},
		{"games/foo", "games/foo", "games/foo"},
		{"foo", "foo", "foo"},
		{"/", "", ""},
	};
	for (const PathCase &c : cases) {
		EXPECT_EQ(parse({"-9", c.last}), 1) << c.last;
		EXPECT_EQ(job.port_path, c.port_path) << c.last;
		EXPECT_EQ(job.ports_root, c.ports_root) << c.last;
	}
}

TEST_F(ArgsTest, OptionsSetTheirFields)
{
	ASSERT_EQ(parse({"-i", "-c", "-p", "-s", "-8", "-b", "icon.png", "-e",
	    "doc", "-o", "nobody", "/usr/ports/games/foo"}), 1);
	EXPECT_TRUE(job.interactive);
	EXPECT_TRUE(job.console_app);
	EXPECT_EQ(job.install_method, InstallMethod::INSTALL_PKG);
	EXPECT_TRUE(job.skip_build);
	EXPECT_TRUE(job.want_v8);
	EXPECT_FALSE(job.want_v9);
	EXPECT_EQ(job.backup_icon, "icon.png");
	EXPECT_EQ(job.exclude, "doc");
	EXPECT_EQ(job.owner, "nobody");
	EXPECT_EQ(job.log_mode, LogMode::LOG_STDOUT);
}

TEST_F(ArgsTest, DefaultsLeaveFieldsAbsent)
{
	ASSERT_EQ(parse({"-9", "/usr/ports/games/foo"}), 1);
	// A new job's file table has every slot, each empty.
	ASSERT_EQ(job.new_files.size(), static_cast<size_t>(NEW_FILES_MAX));
	for (const Text &slot : job.new_files)
		EXPECT_FALSE(slot);
	EXPECT_FALSE(job.backup_icon);
	EXPECT_FALSE(job.exclude);
	EXPECT_FALSE(job.owner);
	EXPECT_EQ(job.install_method, InstallMethod::INSTALL_MAKE);
	EXPECT_EQ(job.log_mode, LogMode::LOG_STDOUT);
	EXPECT_FALSE(job.skip_build);
	EXPECT_FALSE(job.console_app);
}

TEST_F(ArgsTest, ValueOfBEOIsExaminedAgainAsAnOption)
{
	ASSERT_EQ(parse({"-9", "-b", "-q", "/usr/ports/games/foo"}), 1);
	EXPECT_EQ(job.backup_icon, "-q");
	EXPECT_EQ(job.log_mode, LogMode::LOG_QUIET);

	// An empty value is present, not absent.
	ASSERT_EQ(parse({"-9", "-o", "", "-e", "-8", "/usr/ports/games/foo"}),
	    1);
	EXPECT_EQ(job.owner, "");
	EXPECT_EQ(job.exclude, "-8");
	EXPECT_TRUE(job.want_v8);

	// Later values win.
	ASSERT_EQ(parse({"-9", "-o", "a", "-o", "b", "/p/games/foo"}), 1);
	EXPECT_EQ(job.owner, "b");
}

TEST_F(ArgsTest, OptionNeedingAValueStandingLastIsThePortPath)
{
	EXPECT_EQ(parse({"-9", "-l"}), 1);
	EXPECT_EQ(job.port_path, "-l");
	EXPECT_EQ(job.log_file, nullptr);
	EXPECT_EQ(job.log_mode, LogMode::LOG_STDOUT);

	EXPECT_EQ(parse({"-9", "-o"}), 1);
	EXPECT_FALSE(job.owner);

	// -8 alone asks for version 8 with the port path -8.
	EXPECT_EQ(parse({"-8"}), 1);
	EXPECT_EQ(job.port_path, "-8");
}

TEST_F(ArgsTest, WithoutAVersionTheResultIsZero)
{
	EXPECT_EQ(parse({"/usr/ports/games/foo"}), 0);
	EXPECT_EQ(job.port_path, "/usr/ports/games/foo");
	EXPECT_EQ(parse({"-8s", "-98", "/usr/ports/games/foo"}), 0);
}

TEST_F(ArgsTest, LogFileAndQuiet)
{
	ASSERT_EQ(parse({"-q", "-l", "run.log", "-9", "/p/games/foo"}), 1);
	EXPECT_EQ(job.log_mode, LogMode::LOG_FILE);
	EXPECT_NE(job.log_file, nullptr);

	ASSERT_EQ(parse({"-l", "run2.log", "-q", "-9", "/p/games/foo"}), 1);
	EXPECT_EQ(job.log_mode, LogMode::LOG_QUIET);
	EXPECT_TRUE(std::filesystem::exists("run2.log"));

	// The value of -l is consumed: "-9" here is the file name.
	ASSERT_EQ(parse({"-l", "-9", "/p/games/foo"}), 0);
	EXPECT_TRUE(std::filesystem::exists("-9"));
}

TEST_F(ArgsTest, LogFileThatCannotBeOpenedStopsTheWalk)
{
	std::filesystem::create_directories("port/games/foo");
	EXPECT_EQ(parse({"-9", "-l", "port/games/foo"}), 0);
	EXPECT_EQ(job.log_mode, LogMode::LOG_FILE);
	EXPECT_EQ(job.log_file, nullptr);
	EXPECT_FALSE(job.port_path);

	EXPECT_EQ(parse({"-l", "no/such/dir/run.log", "-9", "-s", "/p/g/foo"}),
	    0);
	EXPECT_FALSE(job.skip_build);
}

}
