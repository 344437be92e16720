// Faults under a run: a build that is killed, the tool itself killed, a
// port without its files, a full table of new files, a log that cannot be
// written.  Every run leaves /etc/make.conf as it was.
#include <csignal>

#include "job/job.h"
#include "sandbox/make_conf.h"
#include "support/runs.h"

namespace {

const char PORT[] = "/tmp/ports/games/faulty";

class FaultTest : public SandboxTest {};

TEST_F(FaultTest, MakeKilledByASignalStopsWithTwo)
{
	// The recipe's shell kills make, its parent.
	make_port(PORT, "install:\n\t@kill -KILL $$PPID\n", "", "");
	for (const ConfState &s : CONF_STATES) {
		FileId before = set_conf(s);
		ToolResult res = run({"-8", "-9", PORT});
		EXPECT_EQ(res.status, 2) << s.name;
		EXPECT_NE(res.out.find("Attempting to make the port.\n"
		    "Something went wrong during the make.\n"
		    "Cleaning up ZUB data.\n"
		    "Reverting back to old make configuration.\n"),
		    std::string::npos) << res.out;
		expect_restored(before, res, s.name);
	}
}

TEST_F(FaultTest, ToolKilledDuringTheBuildIsUndoneByTheNextRun)
{
	// The marker is the only file named by a number in the sandbox's /tmp:
	// the recipe kills the process whose id names it, the tool itself.
	const char *kill_tool = "install:\n"
	    "\t@kill -KILL `ls /tmp | grep -E '^[0-9]+$$'`\n";
	const char *before = "CFLAGS+=-pipe\n";
	for (bool skip_again : {false, true}) {
		write_file("/etc/make.conf", before);
		const FileId original = file_id("/etc/make.conf");
		make_port(PORT, kill_tool, "", "");
		ToolResult killed = run({"-q", "-9", PORT});
		ASSERT_EQ(killed.status, 128 + SIGKILL);
		EXPECT_EQ(read_file("/etc/make.conf"), "BATCH=yes\n");
		EXPECT_EQ(read_file("/etc/make.conf.zub"), before);
		std::filesystem::remove("/tmp/" + std::to_string(killed.pid));

		// The next run, with a build or without, puts the saved one back.
		make_port(PORT, "install:\n\t@true\n", "", "");
		ToolResult again = run(skip_again ?
		    std::vector<std::string>{"-q", "-9", "-s", PORT} :
		    std::vector<std::string>{"-q", "-9", PORT});
		EXPECT_EQ(again.status, 0);
		expect_restored(original, again, skip_again ? "-s" : "build");
	}
}

TEST_F(FaultTest, LinkedMakeConfIsLeftAlone)
{
	write_file("/etc/make.conf.shared", "WITHOUT_X11=yes\n");
	std::filesystem::create_symlink("make.conf.shared", "/etc/make.conf");
	make_port(PORT, "install:\n\t@true\n", "", "");
	ToolResult res = run({"-9", PORT});
	EXPECT_EQ(res.status, 1);
	EXPECT_NE(res.out.find("Switching make to batch mode.\n"
	    "Was unable to create batch mode.\n"), std::string::npos);
	EXPECT_EQ(res.out.find("Cleaning up"), std::string::npos);
	EXPECT_TRUE(std::filesystem::is_symlink("/etc/make.conf"));
	EXPECT_EQ(read_file("/etc/make.conf.shared"), "WITHOUT_X11=yes\n");
	EXPECT_FALSE(exists("/etc/make.conf.zub"));
}

TEST_F(FaultTest, PortWithoutItsFiles)
{
	std::filesystem::create_directories(PORT);
	ToolResult res = run({"-8", "-9", "-s", PORT});
	EXPECT_EQ(res.status, 0);
	FullRun bare;
	bare.port = PORT;
	bare.name = "faulty";
	EXPECT_EQ(res.out, full_run_log(bare, res.pid));

	// Without -s make finds no Makefile.
	for (const ConfState &s : CONF_STATES) {
		FileId before = set_conf(s);
		res = run({"-q", "-9", PORT});
		EXPECT_EQ(res.status, 2) << s.name;
		expect_restored(before, res, s.name);
	}
}

TEST_F(FaultTest, MoreNewFilesThanTheTableHolds)
{
	make_port(PORT, "install:\n"
		    "\t@mkdir -p /usr/local/share/faulty /usr/local/bin\n"
	    "\t@cd /usr/local/share/faulty && seq 1 1100 | xargs touch\n"
	    "\t@ln -sf ../share/faulty/1 /usr/local/bin/faulty-link\n", "", "");
	for (const ConfState &s : CONF_STATES) {
		FileId before = set_conf(s);
		ToolResult res = run({"-l", "run.log", "-9", PORT});
		EXPECT_EQ(res.status, 0) << s.name;
		std::string log = read_file(out_dir + "/run.log");
		size_t found = 0;
		for (size_t at = 0; (at = log.find("Found new ", at)) !=
		    std::string::npos; at++)
			found++;
		EXPECT_EQ(found, static_cast<size_t>(NEW_FILES_MAX)) << s.name;
		EXPECT_EQ(log.find("Found new link"), std::string::npos);
		expect_restored(before, res, s.name);
	}
}

TEST_F(FaultTest, LogThatCannotBeWritten)
{
	make_port(PORT, "", "", "");
	// A log in a directory that does not exist: a silent stop.
	ToolResult res = run({"-l", "/tmp/no/such/run.log", "-9", "-s", PORT});
	EXPECT_EQ(res.status, 1);
	EXPECT_EQ(res.out, "");
	EXPECT_EQ(res.err, "");
	EXPECT_TRUE(list_tree(out_dir).empty());

	// A log whose writes fail: the modules are written all the same.
	res = run({"-l", "/dev/full", "-9", "-s", PORT});
	EXPECT_EQ(res.status, 0);
	EXPECT_EQ(res.out, "");
	EXPECT_TRUE(exists(out_dir + "/faulty/zub.conf"));
}

}
