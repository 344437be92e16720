// The command line, the checks and the exit statuses of runs that stop early.
#include "support/sandbox_test.h"

namespace {

const char USAGE[] =
    "Version: 1.3\n"
    "usage: ridivave <-8 or -9> [options] <path_to_port>\n\n"
    "Options:\n"
    "  -q         -- Run in quiet mode, no logging or output.\n"
    "  -l logfile -- Save output to a logfile.\n"
    "  -i         -- Run in interactiv mode.\n"
    "  -e dir     -- Exclude a directory from searched.\n"
    "  -o user    -- chown the module to user\n"
    "  -c         -- target port is a console app, not a GUI\n"
    "  -p         -- install via pkg_add, not make\n"
    "  -b icon    -- if no icon is found, use this one\n"
    "  -s         -- skip building/installing port\n"
    "  -d         -- guess program, icon, website, author as a packager would\n"
    "  -8         -- build module for ZUB version 8\n"
    "  -9         -- build module for ZUB version 9\n"
    "\n";

class CliTest : public SandboxTest {};

TEST_F(CliTest, NoArgumentsPrintsUsageAndRestoresAStaleBackup)
{
	write_file("/etc/make.conf", "BATCH=yes\n");
	write_file("/etc/make.conf.zub", "CFLAGS=-O2\n");
	ToolResult r = run({});
	EXPECT_EQ(r.status, 1);
	EXPECT_EQ(r.out, USAGE);
	EXPECT_EQ(r.err, "");
	EXPECT_EQ(read_file("/etc/make.conf"), "CFLAGS=-O2\n");
	EXPECT_FALSE(exists("/etc/make.conf.zub"));
	EXPECT_TRUE(list_tree(out_dir).empty());
}

struct EarlyStop {
	std::vector<std::string> args;
	std::string out;
	std::vector<std::string> left;	// what the output directory holds
};

TEST_F(CliTest, RunsThatStopWithStatusOne)
{
	make_port("/tmp/ports/games/foo", "PORTNAME=foo\n", "", "");
	write_file("/tmp/ports/games/plain", "");
	const EarlyStop cases[] = {
		{{"/tmp/ports/games/foo"}, "", {}},
		{{"-l", "run.log", "/tmp/ports/games/foo"}, "", {"run.log"}},
		{{"-9", "-l", "/tmp/ports/games/foo"}, "", {}},
		{{"-8"}, "Unable to find port -8\n", {}},
		{{"-9", "-s", "/tmp/ports/games/missing"},
		    "Unable to find port /tmp/ports/games/missing\n", {}},
		{{"-9", "-s", "/tmp/ports/games/plain"},
		    "Unable to find port /tmp/ports/games/plain\n", {}},
		{{"-9", "-s", "foo"}, "Found port foo\n"
		    "Was unable to find port name from foo\n",
		    {"foo/", "foo/Makefile"}},
		{{"-9", "-s", "/tmp/ports/games/foo//"},
		    "Found port /tmp/ports/games/foo/\n"
		    "Was unable to find port name from /tmp/ports/games/foo/\n", {}},
	};
	for (const EarlyStop &c : cases) {
		std::filesystem::remove_all(out_dir);
		make_port(out_dir + "/foo", "PORTNAME=foo\n", "", "");
		if (c.args.back() != "foo")
			std::filesystem::remove_all(out_dir + "/foo");
		ToolResult r = run(c.args);
		std::string what = c.args[0] + " " + c.args.back();
		EXPECT_EQ(r.status, 1) << what;
		EXPECT_EQ(r.out, c.out) << what;
		EXPECT_EQ(r.err, "") << what;
		EXPECT_EQ(list_tree(out_dir), c.left) << what;
	}
	EXPECT_EQ(read_file(out_dir + "/run.log"), "");
}

TEST_F(CliTest, OrdinaryUserIsRefusedUnlessTheBuildIsSkipped)
{
	make_port("/tmp/ports/games/foo", "PORTNAME=foo\n", "", "");
	std::filesystem::permissions(out_dir, std::filesystem::perms::all);
	for (uid_t euid : {65534u, 0u}) {
		ToolRun r;
		r.args = {"-8", "-9", "/tmp/ports/games/foo"};
		r.cwd = out_dir;
		r.real_uid = 65534;
		r.effective_uid = euid;
		ToolResult res = run_tool(r);
		EXPECT_EQ(res.status, 1) << euid;
		EXPECT_EQ(res.out, "Found port /tmp/ports/games/foo\n"
		    "We do not have root access.\n");
		EXPECT_TRUE(list_tree(out_dir).empty());
	}

	ToolRun r;
	r.args = {"-9", "-s", "-q", "/tmp/ports/games/foo"};
	r.cwd = out_dir;
	r.real_uid = 65534;
	r.effective_uid = 65534;
	ToolResult res = run_tool(r);
	EXPECT_EQ(res.status, 0);
	EXPECT_EQ(res.out, "");
	EXPECT_TRUE(std::filesystem::is_directory(out_dir + "/foo/xdg-menu"));
}

TEST_F(CliTest, TemplateInTheWayStopsWithItsOwnMessage)
{
	make_port("/tmp/ports/games/foo", "PORTNAME=foo\n", "", "");
	write_file(out_dir + "/foo", "not a directory");
	ToolResult r = run({"-8", "-9", "-s", "/tmp/ports/games/foo"});
	EXPECT_EQ(r.status, 1);
	EXPECT_EQ(r.out, "Found port /tmp/ports/games/foo\n"
	    "Got port name: foo\n"
	    "Creating empty module template, version 8.\n"
	    "Done creating module 8 template.\n"
	    "Creating empty module template, version 9.\n"
	    "Unable to complete module 9 template.\n");
	EXPECT_EQ(read_file(out_dir + "/foo"), "not a directory");
	EXPECT_TRUE(std::filesystem::is_directory(out_dir + "/foo-8/mime-dir"));
}

TEST_F(CliTest, TemplatesFollowTheUmask)
{
	make_port("/tmp/ports/games/foo", "PORTNAME=foo\n", "", "");
	ToolRun r;
	r.args = {"-8", "-9", "-s", "-q", "/tmp/ports/games/foo"};
	r.cwd = out_dir;
	r.umask_value = 077;
	ASSERT_EQ(run_tool(r).status, 0);
	for (const std::string &dir : list_tree(out_dir)) {
		if (dir.back() != '/')
			continue;
		auto perms = std::filesystem::status(out_dir + "/" + dir).permissions();
		EXPECT_EQ(perms, std::filesystem::perms::owner_all) << dir;
	}
}

TEST_F(CliTest, LogFileAndQuietModes)
{
	make_port("/tmp/ports/games/foo", "PORTNAME=foo\n", "", "");
	ToolResult loud = run({"-9", "-s", "/tmp/ports/games/foo"});
	ASSERT_EQ(loud.status, 0);
	ASSERT_NE(loud.out, "");

	ToolResult r = run({"-q", "-l", "run.log", "-9", "-s",
	    "/tmp/ports/games/foo"});
	EXPECT_EQ(r.status, 0);
	EXPECT_EQ(r.out, "");
	EXPECT_EQ(read_file(out_dir + "/run.log"), loud.out);

	r = run({"-l", "quiet.log", "-q", "-9", "-s", "/tmp/ports/games/foo"});
	EXPECT_EQ(r.status, 0);
	EXPECT_EQ(r.out, "");
	EXPECT_EQ(read_file(out_dir + "/quiet.log"), "");
}

}
