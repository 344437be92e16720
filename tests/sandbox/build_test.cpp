// Runs that build: batch mode, the marker, make or pkg_add, and what every
// way out leaves of the make configuration.
#include <cstdlib>
#include <sys/mount.h>

#include "sandbox/make_conf.h"
#include "support/runs.h"

namespace {

// Installs an executable, an icon and a link, and keeps a copy of the make
// configuration that the build saw.
const char GOOD_MAKEFILE[] =
    "PORTNAME=\tbuildme\n"
    "MAINTAINER=\tbm@example.org\n"
    "\n"
    "install:\n"
    "\t@mkdir -p /usr/local/bin /usr/local/share/buildme/icons\n"
    "\t@printf '#!/bin/sh\\n' > /usr/local/bin/buildme\n"
    "\t@cp /etc/make.conf /usr/local/share/buildme/seen-make.conf\n"
    "\t@printf 'png' > /usr/local/share/buildme/icons/buildme-icon.png\n"
    "\t@ln -s buildme /usr/local/bin/bm\n"
    "\t@echo make says hello\n";

const char GOOD_PLIST[] =
    "bin/buildme\n"
    "bin/bm\n"
    "share/buildme/icons/buildme-icon.png\n";

const char FAILING_MAKEFILE[] =
    "install:\n"
    "\t@echo make fails\n"
    "\t@exit 1\n";

const char PORT[] = "/tmp/ports/games/buildme";

class BuildTest : public SandboxTest {
protected:
	void SetUp() override
	{
		SandboxTest::SetUp();
		if (IsSkipped() || HasFatalFailure())
			return;
		make_port(PORT, GOOD_MAKEFILE, "", GOOD_PLIST);
	}
};

// What a run of the good port logs.
FullRun
good_run()
{
	FullRun run;
	run.port = PORT;
	run.name = "buildme";
	run.author = "bm@example.org";
	run.make_output = "make says hello\n";
	run.files = {"/usr/local/bin/buildme",
	    "/usr/local/share/buildme/icons/buildme-icon.png",
	    "/usr/local/share/buildme/seen-make.conf"};
	run.links = {"/usr/local/bin/bm"};
	run.main_exe = "bin/buildme";
	run.extras = {"bm"};
	run.icon = "/usr/local/share/buildme/icons/buildme-icon.png";
	return run;
}

TEST_F(BuildTest, FullRunWithMake)
{
	for (const ConfState &s : CONF_STATES) {
		FileId before = set_conf(s);
		fresh_out(true);

		ToolResult res = run({"-8", "-9", PORT});
		EXPECT_EQ(res.status, 0) << s.name;
		EXPECT_EQ(res.err, "") << s.name;
		EXPECT_EQ(sort_found_lines(res.out), full_run_log(good_run(), res.pid))
		    << s.name;
		EXPECT_EQ(read_file("/usr/local/share/buildme/seen-make.conf"),
		    "BATCH=yes\n") << s.name;
		expect_restored(before, res, s.name);
	}
}

TEST_F(BuildTest, RelativePortPathIsEnteredFromTheStartingDirectory)
{
	ToolResult res = run({"-9", "../ports/games/buildme"});
	EXPECT_EQ(res.status, 0);
	EXPECT_NE(res.out.find("Moving to port directory ../ports/games/buildme\n"
	    "Attempting to make the port.\n"
	    "make says hello\n"
	    "Completed make. Everything appears OK.\n"
	    "Returning to directory /tmp/out\n"), std::string::npos) << res.out;
	// The module was written where the run started, not in the port.
	EXPECT_NE(read_file(out_dir + "/buildme/zub.conf").find(
	    "\nZUB_MAKEPORT=\"games/buildme\"\n"), std::string::npos);
	EXPECT_FALSE(exists(std::string(PORT) + "/buildme"));
}

TEST_F(BuildTest, FailedMakeStopsWithTwo)
{
	make_port(PORT, FAILING_MAKEFILE, "", "");
	for (const ConfState &s : CONF_STATES) {
		FileId before = set_conf(s);
		ToolResult res = run({"-q", "-8", "-9", PORT});
		EXPECT_EQ(res.status, 2) << s.name;
		EXPECT_EQ(res.out, "make fails\n");
		expect_restored(before, res, s.name);
		EXPECT_TRUE(std::filesystem::is_directory(out_dir + "/buildme-8"));
		EXPECT_TRUE(std::filesystem::is_directory(out_dir + "/buildme"));
	}
	ToolResult res = run({"-9", PORT});
	std::string out = res.out;
	EXPECT_EQ(out.substr(out.find("Moving")), std::string("Moving to port "
	    "directory ") + PORT + "\n"
	    "Attempting to make the port.\n"
	    "make fails\n"
	    "Something went wrong during the make.\n"
	    "Cleaning up ZUB data.\n"
	    "Reverting back to old make configuration.\n");
}

TEST_F(BuildTest, CaptureThatCannotStartStopsWithThree)
{
	// The lock holds one descriptor; with only one more free, the find
	// pipe cannot be made.  The stand-in for the framework is a script,
	// which sh cannot open under that limit: this port has nothing to
	// build.
	make_port(PORT, "stage deinstall:\n\t@:\n"
	    "install:\n\t@touch /usr/local/made\n", "", "");
	for (const ConfState &s : CONF_STATES) {
		FileId before = set_conf(s);
		ToolRun r;
		r.open_files_limit = 5;
		ToolResult res = run({"-9", PORT}, r);
		EXPECT_EQ(res.status, 3) << s.name;
		std::string marker = "/tmp/" + std::to_string(res.pid);
		std::string out = res.out;
		EXPECT_EQ(out.substr(out.find("Completed")),
		    "Completed make. Everything appears OK.\n"
		    "Returning to directory /tmp/out\n"
		    "Finding files using find /usr/local -type f -cnewer " + marker +
		    "\n"
		    "Cleaning up ZUB data.\n"
		    "Reverting back to old make configuration.\n") << s.name;
		expect_restored(before, res, s.name);
	}
}

TEST_F(BuildTest, MarkerThatCannotBeMadeStopsWithOne)
{
	for (const ConfState &s : CONF_STATES) {
		FileId before = set_conf(s);
		ToolRun r;
		r.plant_marker_dir = true;
		ToolResult res = run({"-9", PORT}, r);
		EXPECT_EQ(res.status, 1) << s.name;
		std::string marker = "/tmp/" + std::to_string(res.pid);
		EXPECT_EQ(res.out.substr(res.out.find("Switching")),
		    "Switching make to batch mode.\n"
		    "Switch to batch mode complete.\n"
		    "Building the port and its dependencies.\n"
		    "Creating temporary file " + marker + "\n") << s.name;
		EXPECT_EQ(exists("/etc/make.conf"), s.after != nullptr) << s.name;
		expect_same_file(before, "/etc/make.conf", s.name);
		EXPECT_FALSE(exists("/etc/make.conf.zub"));
		// Another program's directory at the path is left alone.
		EXPECT_TRUE(exists(marker + "/in-use"));
	}
}

TEST_F(BuildTest, LinkAtTheMarkerPathIsNotFollowed)
{
	write_file("/tmp/victim", "keep me\n");
	ToolRun r;
	r.plant_marker_link = "/tmp/victim";
	ToolResult res = run({"-q", "-9", PORT}, r);
	EXPECT_EQ(res.status, 0);
	EXPECT_EQ(read_file("/tmp/victim"), "keep me\n");
	EXPECT_FALSE(exists("/tmp/" + std::to_string(res.pid)));
}

TEST_F(BuildTest, ConfigurationThatCannotBeCopiedIsLeftAlone)
{
	// A make.conf that cp cannot copy: a directory.
	std::filesystem::create_directories("/etc/make.conf/inside");
	ToolResult res = run({"-9", PORT});
	EXPECT_EQ(res.status, 1);
	EXPECT_NE(res.out.find("Switching make to batch mode.\n"
	    "Was unable to create batch mode.\n"), std::string::npos);
	EXPECT_TRUE(exists("/etc/make.conf/inside"));
	EXPECT_FALSE(exists("/etc/make.conf.zub"));
	std::filesystem::remove_all("/etc/make.conf");

	// A read-only /etc.
	write_file("/etc/make.conf", "KEEP=1\n");
	ASSERT_EQ(mount("/etc", "/etc", nullptr, MS_BIND, nullptr), 0);
	ASSERT_EQ(mount(nullptr, "/etc", nullptr,
	    MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr), 0);
	res = run({"-q", "-9", PORT});
	umount2("/etc", MNT_DETACH);
	EXPECT_EQ(res.status, 1);
	EXPECT_EQ(read_file("/etc/make.conf"), "KEEP=1\n");
	EXPECT_FALSE(exists("/etc/make.conf.zub"));
	EXPECT_FALSE(exists("/usr/local/bin/buildme"));
}

// pkg_add where it is found on PATH, as on releases before 10.0; pkg(8),
// asked for the dependencies first and then installing with the port's
// origin, everywhere else.
struct Installer {
	const char *program;
	const char *query;	// before the origin, when the program is asked
	const char *args;	// before the name or origin
	const char *category;	// of the origin
};

const Installer INSTALLERS[] = {
	{"pkg_add", nullptr, "3\n-r\n-v\n", ""},
	{"pkg", "3\nrquery\n%do\n", "4\ninstall\n-y\n-f\n", "games/"},
};

// Every call the installer got in a run with the port `name`.
std::string
installer_calls(const Installer &in, const std::string &name)
{
	const std::string operand = in.category + name + "\n";
	return (in.query ? in.query + operand : "") + in.args + operand;
}

TEST_F(BuildTest, PackageInstall)
{
	for (const Installer &in : INSTALLERS) {
		SCOPED_TRACE(in.program);
		std::filesystem::remove_all("/tmp/fakebin");
		std::filesystem::remove_all("/usr/local/bin");
		ToolRun r = with_fake_installer(in.program);
		const std::string args = std::string("/tmp/") + in.program + ".args";
		const std::string hello = std::string(in.program) + " says hello\n";
		std::filesystem::remove(args);
		ToolResult res = run({"-p", "-9", PORT}, r);
		EXPECT_EQ(res.status, 0);
		EXPECT_EQ(read_file(args), installer_calls(in, "buildme"));
		EXPECT_NE(res.out.find("Attempting to install port.\n" + hello +
		    "Finished installing port.\n"
		    "Finding files using "), std::string::npos) << res.out;
		EXPECT_NE(res.out.find("Found new file: /usr/local/bin/pkgfile\n"),
		    std::string::npos);
		EXPECT_FALSE(exists("/usr/local/share/buildme"));	// make never ran

		write_file("/tmp/fakebin/fail", "");
		res = run({"-p", "-9", PORT}, r);
		EXPECT_EQ(res.status, 2);
		EXPECT_NE(res.out.find("Attempting to install port.\n" + hello +
		    "Error trying to install port.\n"
		    "Cleaning up ZUB data.\n"), std::string::npos) << res.out;
		expect_restored(FileId(), res);

		// -s wins over -p: nothing is installed.
		std::filesystem::remove(args);
		res = run({"-p", "-s", "-9", PORT}, r);
		EXPECT_EQ(res.status, 0);
		EXPECT_FALSE(exists(args));
	}
}

TEST_F(BuildTest, PackageNameReachesTheInstallerAsOneWord)
{
	const std::string name = "it's $(touch canary); `touch canary2`";
	make_port("/tmp/ports/games/" + name, "PORTNAME=x\n", "", "");
	for (const Installer &in : INSTALLERS) {
		std::filesystem::remove_all("/tmp/fakebin");
		ToolResult res = run({"-q", "-p", "-9", "/tmp/ports/games/" + name},
		    with_fake_installer(in.program));
		EXPECT_EQ(res.status, 0) << in.program;
		EXPECT_EQ(read_file(std::string("/tmp/") + in.program + ".args"),
		    installer_calls(in, name));
		EXPECT_FALSE(exists(out_dir + "/canary"));
		EXPECT_FALSE(exists(out_dir + "/canary2"));
	}
}

// A port and the package made from it, as a fresh build machine meets
// them: they depend on devel/dep, which puts its own program, its own icon
// and more than a thousand files under /usr/local.  Each tree is made by a
// script, into a stage for make and into our repository for pkg.
const char DEP_TREE[] = "cd \"$1\" && mkdir -p bin share/dep/icons &&\n"
    "touch bin/depprog share/dep/icons/dep-icon.png &&\n"
    "cd share/dep && seq 1 1100 | xargs touch\n";
const char PORT_TREE[] = "cd \"$1\" && mkdir -p bin share/buildme/icons &&\n"
    "printf '#!/bin/sh\\n' > bin/buildme && ln -s buildme bin/bm &&\n"
    "printf png > share/buildme/icons/buildme-icon.png\n";

struct DependsCase {
	const char *name;
	bool package;		// -p, with pkg(8)
	int runs;
	const char *fail;	// made before the last run
	const char *message;	// the last run's failure, with status 2
	bool keep_going = false;	// MAKEFLAGS=-k in the caller's environment
};

void
PrintTo(const DependsCase &c, std::ostream *os)
{
	*os << c.name;
}

const DependsCase DEPENDS_CASES[] = {
	{"make, fresh machine", false, 1, nullptr, nullptr},
	{"make, the same port twice", false, 2, nullptr, nullptr},
	{"make, installed, its new build fails", false, 2, "/tmp/fail-build",
	    "Something went wrong building the port.\n"},
	{"make -k, installed, its new build fails", false, 2, "/tmp/fail-build",
	    "Something went wrong building the port.\n", true},
	{"pkg, fresh machine", true, 1, nullptr, nullptr},
	{"pkg, the same package twice", true, 2, nullptr, nullptr},
	{"pkg, installed, its dependencies fail", true, 2, "/tmp/fakebin/fail",
	    "Error trying to install the package's dependencies.\n"},
	{"pkg, the query fails", true, 1, "/tmp/fakebin/fail-query",
	    "Error trying to install the package's dependencies.\n"},
};

class DependsTest : public BuildTest,
    public ::testing::WithParamInterface<DependsCase> {};

INSTANTIATE_TEST_SUITE_P(Each, DependsTest,
    ::testing::ValuesIn(DEPENDS_CASES), row_name<DependsCase>);

TEST_P(DependsTest, OnlyThePortsOwnFilesAreCaptured)
{
	const DependsCase &c = GetParam();
	write_file("/tmp/trees/dep.sh", DEP_TREE);
	write_file("/tmp/trees/buildme.sh", PORT_TREE);
	const std::string targets = "stage install deinstall:\n\t@sh " +
	    framework() + " $@ ${PORTNAME} ${DEPENDS}\n";
	make_port("/tmp/ports/devel/dep", "PORTNAME=\tdep\ndo-install:\n"
	    "\t@sh /tmp/trees/dep.sh ${STAGEDIR}/usr/local\n" + targets, "", "");
	make_port(PORT, "PORTNAME=\tbuildme\nMAINTAINER=\tbm@example.org\n"
	    "DEPENDS=\t/tmp/ports/devel/dep\ndo-install:\n"
	    "\t@[ ! -e /tmp/fail-build ]\n"
	    "\t@sh /tmp/trees/buildme.sh ${STAGEDIR}/usr/local\n" + targets, "",
	    GOOD_PLIST);
	write_file("/tmp/repo/games/buildme/depends", "devel/dep\n");
	ASSERT_EQ(std::system("mkdir -p /tmp/repo/devel/dep/files "
	    "/tmp/repo/games/buildme/files && "
	    "sh /tmp/trees/dep.sh /tmp/repo/devel/dep/files && "
	    "sh /tmp/trees/buildme.sh /tmp/repo/games/buildme/files && "
	    "find /tmp/repo -exec touch -h -t 201906010000 {} +"), 0);

	FullRun expect = good_run();
	expect.files = {"/usr/local/bin/buildme",
	    "/usr/local/share/buildme/icons/buildme-icon.png"};
	ToolRun r = c.package ? with_fake_installer("pkg") : ToolRun();
	if (c.keep_going)
		r.environment = {"MAKEFLAGS=-k"};
	expect.package = c.package;
	expect.make_output = c.package ? "pkg says hello\n" : "";
	for (int i = 0; i < c.runs; i++) {
		const bool last = i == c.runs - 1;
		if (last && c.fail)
			write_file(c.fail, "");
		ToolResult res = run(c.package ?
		    std::vector<std::string>{"-p", "-8", "-9", PORT} :
		    std::vector<std::string>{"-8", "-9", PORT}, r);
		expect_restored(FileId(), res);
		if (last && c.message) {
			EXPECT_EQ(res.status, 2);
			EXPECT_TRUE(res.out.ends_with(c.message +
			    std::string("Cleaning up ZUB data.\n"
			    "Reverting back to old make configuration.\n")))
			    << res.out;
			// An installed copy is removed only by a build
			// that succeeded.
			EXPECT_EQ(exists("/usr/local/bin/buildme"), c.runs == 2);
			EXPECT_EQ(exists(c.package ? "/tmp/pkgdb/games_buildme" :
			    "/tmp/ports-framework/db/buildme"), c.runs == 2);
			continue;
		}
		ASSERT_EQ(res.status, 0) << res.out << res.err;
		expect.stage_output = c.package ? "pkg says hello\n" :
		    i > 0 ? "===>  Deinstalling for buildme\n" : "";
		EXPECT_EQ(sort_found_lines(res.out), full_run_log(expect,
		    res.pid));
		EXPECT_TRUE(exists("/usr/local/bin/depprog"));
	}
}

// Puts a file system with whole-second times on /usr/local: ext2 with
// 128-byte inodes, in an image on the sandbox's /tmp.
bool
mount_whole_second_usr_local(std::string &why)
{
	if (!exists("/dev/loop-control")) {
		why = "no loop devices";
		return false;
	}
	if (std::system("mkfs.ext2 -q -F -I 128 /tmp/ext2.img 8M "
	    ">/dev/null 2>&1 && mount -o loop /tmp/ext2.img /usr/local") != 0) {
		why = "cannot mount an ext2 image (mkfs.ext2 or loop devices)";
		return false;
	}
	return true;
}

// A file the install writes at once after the marker is newer than it,
// whatever clock the file system under /usr/local stamps with: the kernel's
// tick (tmpfs) or the whole second (ext2).  Eight runs on each, each a test
// of its own in a sandbox of its own.
struct Clock {
	std::string name;
	bool whole_seconds;
};

void
PrintTo(const Clock &c, std::ostream *os)
{
	*os << c.name;
}

std::vector<Clock>
clock_runs()
{
	std::vector<Clock> runs;
	for (int i = 0; i < 8; i++) {
		runs.push_back({"kernel tick " + std::to_string(i), false});
		runs.push_back({"whole seconds " + std::to_string(i), true});
	}
	return runs;
}

class ClockTest : public BuildTest,
    public ::testing::WithParamInterface<Clock> {};

INSTANTIATE_TEST_SUITE_P(Each, ClockTest, ::testing::ValuesIn(clock_runs()),
    row_name<Clock>);

TEST_P(ClockTest, FileWrittenRightAfterTheMarkerIsCaptured)
{
	make_port(PORT, "install:\n\t@: > /usr/local/quick\n", "", "");
	std::string why;
	if (GetParam().whole_seconds && !mount_whole_second_usr_local(why))
		GTEST_SKIP() << why;
	ToolResult res = run({"-9", PORT});
	EXPECT_EQ(res.status, 0);
	EXPECT_NE(res.out.find("Found new file: /usr/local/quick\n"),
	    std::string::npos);
	if (GetParam().whole_seconds)
		umount2("/usr/local", MNT_DETACH);
}

// Every way a port's install puts its files in place: each keeps the times
// of sources dated 2019, but a change time is the install's own.  A file
// under /usr/local that the install leaves alone is never taken.
const std::string INSTALL_1 = "install:\n"
    "\t@install -d /usr/local/bin /usr/local/share/icons\n"
    "\t@install $(P) /tmp/src/bin/oldtool /usr/local/bin\n"
    "\t@install $(P) -m 644 /tmp/src/share/icons/oldtool-icon.png "
    "/usr/local/share/icons\n"
    "\t@ln -s oldtool /usr/local/bin/oldtool-link\n";

const std::pair<const char *, std::string> INSTALL_METHODS[] = {
	{"install", "P=\n" + INSTALL_1},
	{"install -p", "P=-p\n" + INSTALL_1},
	{"cpio -pdum", "install:\n\t@cd /tmp/src && find bin share | "
	    "cpio -pdum --quiet /usr/local\n"},
	{"cmake --install", "install:\n\t@cmake --install /tmp/cmake-build "
	    "--prefix /usr/local >/dev/null\n"},
	{"tar -x", "install:\n\t@tar -C /usr/local -xf /tmp/src.tar bin share\n"},
	{"cp -p of a staged tree", "install:\n\t@cp -pR /tmp/src/bin "
	    "/tmp/src/share /usr/local/\n"},
};

TEST_F(BuildTest, EveryInstallMethodIsCapturedWhole)
{
	const char *oldtool = "/tmp/ports/games/oldtool";
	write_file("/tmp/src/CMakeLists.txt", "project(oldtool NONE)\n"
	    "install(PROGRAMS bin/oldtool bin/oldtool-link DESTINATION bin)\n"
	    "install(FILES share/icons/oldtool-icon.png DESTINATION "
	    "share/icons)\n");
	write_file("/tmp/src/bin/oldtool", "#!/bin/sh\n");
	chmod("/tmp/src/bin/oldtool", 0755);
	write_file("/tmp/src/share/icons/oldtool-icon.png", "png");
	std::filesystem::create_symlink("oldtool", "/tmp/src/bin/oldtool-link");
	ASSERT_EQ(std::system("find /tmp/src -exec touch -h -d @1559347200 {} + &&"
	    " tar -C /tmp/src -cf /tmp/src.tar bin share && cmake -S /tmp/src "
	    "-B /tmp/cmake-build -Wno-dev >/dev/null"), 0);

	FullRun expect;
	expect.port = oldtool;
	expect.name = "oldtool";
	expect.author = "old@example.org";
	expect.make_output = "";
	expect.files = {"/usr/local/bin/oldtool",
	    "/usr/local/share/icons/oldtool-icon.png"};
	expect.links = {"/usr/local/bin/oldtool-link"};
	expect.main_exe = "bin/oldtool";
	expect.extras = {"oldtool-link"};
	expect.icon = "/usr/local/share/icons/oldtool-icon.png";
	for (const auto &[method, makefile] : INSTALL_METHODS) {
		fresh_out(true);
		write_file("/usr/local/share/untouched", "");
		make_port(oldtool, "MAINTAINER=\told@example.org\n" + makefile, "",
		    "bin/oldtool\nbin/oldtool-link\nshare/icons/oldtool-icon.png\n");

		ToolResult res = run({"-8", "-9", oldtool});
		EXPECT_EQ(res.status, 0) << method;
		EXPECT_EQ(sort_found_lines(res.out), full_run_log(expect, res.pid))
		    << method;
		EXPECT_EQ(read_file(out_dir + "/oldtool/resources/oldtool-icon.png"),
		    "png") << method;
	}
}

// The commands see only the three standard descriptors and default signal
// handling: not the -l file, not a descriptor the caller left open (above
// the open-files limit too), not a SIGCHLD the caller left ignored, whose
// statuses could not be read, but for an ending signal the caller ignored.  A make
// of our own reports what it got, each process looking at itself: the
// shell reads its own status with builtins alone, and ls lists its own
// descriptors, the directory it reads (3) among them.
TEST_F(BuildTest, CommandsStartWithOnlyTheStandardDescriptors)
{
	write_file("/tmp/fakemake/make", "#!/bin/sh\n"
	    "while read -r l; do case $l in Sig[BI]*) echo \"$l\";; esac; done "
	    "< /proc/$$/status > /tmp/sigs\n"
	    "ls /proc/self/fd | tr '\\n' ' ' > /tmp/fds\n");
	chmod("/tmp/fakemake/make", 0755);
	ToolRun r;
	r.path_prefix = "/tmp/fakemake";
	r.ignored_signals = {SIGCHLD, SIGUSR1, SIGHUP};
	r.inherit_fds = true;
	ToolResult res = run({"-l", "run.log", "-9", PORT}, r);
	EXPECT_EQ(res.status, 0);
	EXPECT_EQ(read_file("/tmp/fds"), "0 1 2 3 ");
	// A hangup the caller ignored stays ignored (nohup); nothing else.
	EXPECT_EQ(read_file("/tmp/sigs"), "SigBlk:\t0000000000000000\n"
	    "SigIgn:\t0000000000000001\n");
}

}
