#include "inspect/inspect.h"
#include "unit/stage_test.h"

namespace {

class ChecksTest : public StageTest {};

TEST_F(ChecksTest, PortDirectoryMustOpen)
{
	std::filesystem::create_directories("ports/games/foo");
	write_file("ports/games/file", "");

	job.port_path = "ports/games/foo";
	EXPECT_EQ(check_port_dir(job), 1);
	job.port_path = "ports/games/missing";
	EXPECT_EQ(check_port_dir(job), 0);
	job.port_path = "ports/games/file";
	EXPECT_EQ(check_port_dir(job), 0);
	EXPECT_EQ(logged(), "Found port ports/games/foo\n"
	    "Unable to find port ports/games/missing\n"
	    "Unable to find port ports/games/file\n");
}

struct NameCase {
	const char *port_path;
	int result;
	const char *port_name;
	const char *log;
};

TEST_F(ChecksTest, DeriveNames)
{
	static const NameCase cases[] = {
		{"/usr/ports/games/foo", 1, "foo", "Got port name: foo\n"},
		{"./foo", 1, "foo", "Got port name: foo\n"},
		{"foo", 0, nullptr, "Was unable to find port name from foo\n"},
		// An empty last component is refused like a missing slash.
		{"games/foo/", 0, nullptr,
		    "Was unable to find port name from games/foo/\n"},
		{"", 0, nullptr, "Was unable to find port name from \n"},
		// "." and ".." would put a module in or above this directory.
		{"/usr/ports/games/.", 0, nullptr,
		    "Was unable to find port name from /usr/ports/games/.\n"},
		{"games/..", 0, nullptr,
		    "Was unable to find port name from games/..\n"},
		{"games/...", 1, "...", "Got port name: ...\n"},
		{"games/-rf", 1, "-rf", "Got port name: -rf\n"},
	};
	for (const NameCase &c : cases) {
		job = PortJob();
		job.log_mode = LogMode::LOG_FILE;
		job.log_file.reset(std::tmpfile());
		job.port_path = c.port_path;
		EXPECT_EQ(derive_names(job), c.result) << c.port_path;
		EXPECT_EQ(logged(), c.log);
		if (c.port_name) {
			EXPECT_EQ(job.port_name, c.port_name);
			EXPECT_EQ(job.module_dir8, std::string(c.port_name) + "-8");
			EXPECT_EQ(job.module_dir9, c.port_name);
		} else {
			EXPECT_FALSE(job.port_name);
			EXPECT_FALSE(job.module_dir8);
			EXPECT_FALSE(job.module_dir9);
		}
	}
}

TEST_F(ChecksTest, QuietSetsTheSameNames)
{
	job.log_mode = LogMode::LOG_QUIET;
	job.port_path = "/usr/ports/games/foo";
	EXPECT_EQ(derive_names(job), 1);
	EXPECT_EQ(job.module_dir8, "foo-8");
	job.log_mode = LogMode::LOG_FILE;
	EXPECT_EQ(logged(), "");
}

}
