// /etc/make.conf comes back as the very same file however a run ends: a
// status, a signal during make or the finds, a reader gone from standard
// output; odd files at its paths are left alone; runs take turns.
#include <chrono>
#include <csignal>
#include <ctime>
#include <sys/mount.h>

#include "sandbox/make_conf.h"
#include "support/runs.h"

namespace {

const char PORT[] = "/tmp/ports/games/turns";


struct Ending {
	std::string name;
	std::string install;	// the port's install recipe
	int signal_in_find;	// a find of ours sends this, when not 0
	int status;
	bool marker_dir, reader_gone;
	int ignored = 0;	// the caller leaves this signal ignored
};

std::string
signal_name(int sig)
{
	return sig == SIGTERM ? "TERM" : sig == SIGINT ? "INT" : sig == SIGHUP ?
	    "HUP" : "QUIT";
}

// Sends `sig` to the tool: the marker is the only file named by a number in
// the sandbox's /tmp, and its name is the tool's process id.  A make recipe
// doubles its dollar signs.
std::string
kill_tool(int sig, bool in_make)
{
	return "kill -" + signal_name(sig) + " `ls /tmp | grep -E '^[0-9]+" +
	    (in_make ? "$$" : "$") + "'`";
}

// Thirty seconds in short steps (a shell that caught SIGINT acts on it
// only once its command ends), well past the ten a run is allowed: a tool
// that waited for the command rather than ending it fails the row.
std::string
pause_30s(bool in_make)
{
	const char *d = in_make ? "$$" : "$";
	return std::string("i=0; while [ ") + d + "i -lt 300 ]; do sleep 0.1; i=" +
	    d + "((" + d + "i+1)); done";
}

std::vector<Ending>
endings()
{
	std::vector<Ending> e = {
		{"status 0", "\t@touch /usr/local/made\n", 0, 0, false, false},
		{"status 1", "\t@true\n", 0, 1, true, false},
		{"status 2", "\t@exit 1\n", 0, 2, false, false},
		// An install that removes the marker cannot be captured.
		{"status 3", "\t@rm -f /tmp/[0-9]*\n", 0, 3, false, false},
		{"reader gone", "\t@touch /usr/local/made\n", 0, 128 + SIGPIPE,
		    false, true},
		// Its log writes fail, and the run goes on to its end.
		{"reader gone, SIGPIPE ignored", "\t@touch /usr/local/made\n", 0, 0,
		    false, true, SIGPIPE},
	};
	for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
		const std::string name = signal_name(sig);
		// The recipe's shell, the rest of the build, must not outlive it.
		e.push_back({name, "\t@echo $$$$ > /tmp/recipe.pid; " +
		    kill_tool(sig, true) + "; " + pause_30s(true) + "\n", 0,
		    128 + sig, false, false});
		e.push_back({name + " in find", "\t@touch /usr/local/made\n", sig,
		    128 + sig, false, false});
		if (sig == SIGTERM)
			continue;
		// Ignored by the caller (nohup, a script's background job), the
		// signal sent to the tool and to all of make leaves the run be.
		e.push_back({name + " ignored", "\t@" + kill_tool(sig, true) +
		    "; kill -" + name + " 0; touch /usr/local/made\n", 0, 0, false,
		    false, sig});
	}
	// make's process group stopped by job control when the tool is ended.
	e.push_back({"TERM, make stopped", "\t@sh /tmp/stop-make.sh\n", 0,
	    128 + SIGTERM, false, false});
	return e;
}

// Stops make's whole process group; once it is stopped, a process outside
// it terminates the tool, and lets the group go on after 15 seconds should
// the tool never do so.
const char STOP_MAKE[] =
    "echo $$ > /tmp/recipe.pid\n"
    "read -r me comm state ppid group rest < /proc/$$/stat\n"
    "tool=`ls /tmp | grep -E '^[0-9]+$'`\n"
    "setsid sh -c \"touch /tmp/killer-ready\n"
    "    while ! grep -q ') T ' /proc/$me/stat; do sleep 0.01; done\n"
    "    kill -TERM $tool; sleep 15; kill -CONT -$group\" &\n"
    "while [ ! -e /tmp/killer-ready ]; do sleep 0.01; done\n"
    "kill -STOP 0\n"
    "sleep 5\n";

bool
gone(pid_t pid)
{
	for (int i = 0; i < 200; i++) {
		std::string stat = read_file("/proc/" + std::to_string(pid) + "/stat");
		if (stat.empty() || stat.find(") Z ") != std::string::npos)
			return true;
		struct timespec pause = {0, 10000000};
		nanosleep(&pause, nullptr);
	}
	return false;
}

void
PrintTo(const Ending &e, std::ostream *os)
{
	*os << e.name;
}

class MakeConfTest : public SandboxTest,
    public ::testing::WithParamInterface<Ending> {};

// Each ending is a test of its own, so that the table's rows run at once.
INSTANTIATE_TEST_SUITE_P(Each, MakeConfTest, ::testing::ValuesIn(endings()),
    row_name<Ending>);

TEST_P(MakeConfTest, EveryWayARunEndsGivesTheSameFileBack)
{
	const Ending &end = GetParam();
	write_file("/tmp/stop-make.sh", STOP_MAKE);
	for (const ConfState &state : CONF_STATES) {
		const std::string what = end.name + ", " + state.name;
		FileId before = set_conf(state);
		make_port(PORT, "install:\n" + end.install, "", "");
		for (const char *p : {"/tmp/recipe.pid", "/tmp/killer-ready",
		    "/usr/local/made"})
			std::filesystem::remove(p);
		ToolRun r;
		r.plant_marker_dir = end.marker_dir;
		r.stdout_reader_gone = end.reader_gone;
		if (end.ignored)
			r.ignored_signals = {end.ignored};
		if (end.signal_in_find) {
			write_file("/tmp/findbin/find", "#!/bin/sh\n"
			    "echo $$ > /tmp/recipe.pid; " +
			    kill_tool(end.signal_in_find, false) + "; " +
			    pause_30s(false) + "\n"
			    "exec /usr/bin/find \"$@\"\n");
			chmod("/tmp/findbin/find", 0755);
			r.path_prefix = "/tmp/findbin";
		}
		const auto start = std::chrono::steady_clock::now();
		ToolResult res = run({"-9", PORT}, r);
		EXPECT_LT(std::chrono::steady_clock::now() - start,
		    std::chrono::seconds(10)) << what;
		std::filesystem::remove_all("/tmp/findbin");
		EXPECT_EQ(res.status, end.status) << what;
		if (end.status == 0 && !end.reader_gone) {
			EXPECT_NE(res.out.find("Found new file: /usr/local/made\n"),
			    std::string::npos) << what;
		}
		std::string marker = "/tmp/" + std::to_string(res.pid);
		if (end.marker_dir)
			std::filesystem::remove_all(marker);
		expect_restored(before, res, what);
		if (end.status == 3) {
			EXPECT_NE(res.out.find("Marker file " + marker +
			    " is gone.\n"), std::string::npos) << what;
		}
		if (exists("/tmp/recipe.pid")) {
			EXPECT_TRUE(gone(std::stoi(read_file("/tmp/recipe.pid"))))
			    << what;
		}
	}
}

// Everything in the sandbox's /etc changes, as the overlay's upper
// directory holds it: names, kinds, link targets and bytes.
std::string
etc_changes(const std::string &upper)
{
	std::string text;
	for (const std::string &rel : list_tree(upper)) {
		const std::string path = upper + "/" + rel;
		struct stat st;
		lstat(path.c_str(), &st);
		text += rel + " " + std::to_string(st.st_mode) + " ";
		if (S_ISLNK(st.st_mode))
			text += std::filesystem::read_symlink(path).string();
		else if (S_ISREG(st.st_mode))
			text += read_file(path);
		text += "\n";
	}
	return text;
}

TEST_F(MakeConfTest, OddFilesAtEitherPathLeaveEtcAlone)
{
	make_port(PORT, "install:\n\t@touch /usr/local/made\n", "", "");
	for (const char *path : {"/etc/make.conf.zub", "/etc/make.conf"}) {
		for (const char *odd : {"directory", "link", "dangling link",
		    "fifo"}) {
			const std::string what = std::string(odd) + " at " + path;
			std::filesystem::remove_all("/etc/make.conf");
			std::filesystem::remove_all("/etc/make.conf.zub");
			std::filesystem::remove_all("/etc/real.conf");
			write_file("/etc/real.conf", "KEEP=1\n");
			// The other path holds a regular file: the real
			// configuration, or a backup left by an interrupted run.
			write_file(std::string(path) == "/etc/make.conf" ?
			    "/etc/make.conf.zub" : "/etc/make.conf", "OTHER=1\n");
			if (std::string(odd) == "directory")
				std::filesystem::create_directories(std::string(path) +
				    "/inside");
			else if (std::string(odd) == "link")
				std::filesystem::create_symlink("real.conf", path);
			else if (std::string(odd) == "dangling link")
				std::filesystem::create_symlink("no-such.conf", path);
			else
				ASSERT_EQ(mkfifo(path, 0644), 0);
			const std::string before = etc_changes(etc_upper_dir());

			ToolResult res = run({"-9", PORT});
			EXPECT_EQ(res.status, 1) << what;
			EXPECT_NE(res.out.find("Switching make to batch mode.\n"
			    "Was unable to create batch mode.\n"), std::string::npos)
			    << what;
			EXPECT_EQ(etc_changes(etc_upper_dir()), before) << what;
			EXPECT_FALSE(exists("/usr/local/made")) << what;
		}
	}
}

// Started together, the runs take turns: each has make.conf switched alone,
// and each captures its own install, which names the file after its run.
TEST_F(MakeConfTest, EightRunsAtOnceTakeTurns)
{
	make_port(PORT, "install:\n\t@sleep 0.1\n"
	    "\t@mkdir -p /usr/local/share/turns && touch /usr/local/share/turns/" +
	    kill_tool(SIGTERM, true).substr(11) + "\n", "", "");
	FileId before = set_conf(CONF_STATES[0]);
	std::vector<ToolProcess> procs;
	for (int i = 0; i < 8; i++) {
		ToolRun r;
		r.args = {"-9", PORT};
		r.cwd = "/tmp/out/" + std::to_string(i);
		std::filesystem::create_directories(r.cwd);
		procs.push_back(start_tool(r));
	}
	size_t waited = 0;
	for (ToolProcess &p : procs) {
		ToolResult res = finish_tool(p);
		EXPECT_EQ(res.status, 0) << res.out;
		const std::string own = "Found new file: /usr/local/share/turns/" +
		    std::to_string(res.pid) + "\n";
		EXPECT_NE(res.out.find(own), std::string::npos) << res.out;
		EXPECT_EQ(res.out.find("Found new file: "), res.out.find(own));
		EXPECT_EQ(res.out.rfind("Found new file: "), res.out.find(own));
		const std::string wait = "Waiting for another run to finish.\n";
		size_t at = res.out.find(wait);
		if (at != std::string::npos) {
			waited++;
			EXPECT_EQ(res.out.find(wait, at + 1), std::string::npos);
		}
	}
	EXPECT_GE(waited, 1u);
	expect_same_file(before, "/etc/make.conf", "after eight runs");
	EXPECT_FALSE(exists("/etc/make.conf.zub"));
}

// A full /etc: the batch-only file cannot be written, and nothing changes.
TEST_F(MakeConfTest, FullEtcFailsTheSwitch)
{
	make_port(PORT, "install:\n\t@touch /usr/local/made\n", "", "");
	for (const char *name : {"make.conf", "filler"}) {
		ASSERT_EQ(mount("full", "/etc", "tmpfs", 0, "size=4k"), 0);
		write_file(std::string("/etc/") + name, "CFLAGS=-O\n");
		const std::string before = etc_changes("/etc");
		ToolResult res = run({"-9", PORT});
		const std::string after = etc_changes("/etc");
		umount2("/etc", MNT_DETACH);
		EXPECT_EQ(res.status, 1) << name;
		EXPECT_NE(res.out.find("Switching make to batch mode.\n"
		    "Was unable to create batch mode.\n"), std::string::npos) << name;
		EXPECT_EQ(after, before) << name;
	}
}

// While a run holds the lock, its backup is its own: a run with -s leaves
// it, and a run that waits and is ended while waiting changes nothing.
TEST_F(MakeConfTest, LiveRunsBackupIsNeverTouched)
{
	make_port(PORT, "install:\n"
	    "\t@while [ ! -e /tmp/go ]; do sleep 0.02; done\n", "", "");
	FileId before = set_conf(CONF_STATES[0]);
	ToolRun holder;
	holder.args = {"-9", PORT};
	holder.cwd = out_dir;
	ToolProcess first = start_tool(holder);
	for (int i = 0; i < 500 && !exists("/etc/make.conf.zub"); i++)
		usleep(10000);
	EXPECT_TRUE(exists("/etc/make.conf.zub"));	// the holder is let go below

	EXPECT_EQ(run({"-q", "-9", "-s", PORT}).status, 0);
	EXPECT_EQ(read_file("/etc/make.conf"), "BATCH=yes\n");
	EXPECT_TRUE(exists("/etc/make.conf.zub"));

	ToolProcess second = start_tool(holder);
	const std::string out = second.io + "/out";
	for (int i = 0; i < 500 && read_file(out).find("Waiting") ==
	    std::string::npos; i++)
		usleep(10000);
	EXPECT_NE(read_file(out).find("Switching make to batch mode.\n"
	    "Waiting for another run to finish.\n"), std::string::npos);
	kill(second.pid, SIGTERM);
	EXPECT_EQ(finish_tool(second).status, 128 + SIGTERM);
	EXPECT_EQ(read_file("/etc/make.conf"), "BATCH=yes\n");

	write_file("/tmp/go", "");
	EXPECT_EQ(finish_tool(first).status, 0);
	expect_same_file(before, "/etc/make.conf", "after the holder");
	EXPECT_FALSE(exists("/etc/make.conf.zub"));
}

}
