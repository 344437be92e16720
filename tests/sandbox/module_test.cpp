// Whole runs that write the module trees: every file byte for byte, the
// icon copies, console programs and the handover to an owner.
#include <sys/mount.h>
#include <sys/stat.h>

#include "support/entries.h"
#include "support/runs.h"
#include "support/sandbox_test.h"

namespace {

class ModuleTest : public SandboxTest {
protected:
	std::string out(const std::string &rel) { return read_file(out_dir + "/" + rel); }

	static mode_t mode_of(const std::string &path)
	{
		struct stat st;
		EXPECT_EQ(lstat(path.c_str(), &st), 0) << path;
		return st.st_mode & 07777;
	}
};

TEST_F(ModuleTest, FullRunBuildsTheExamplePortWithEitherMake)
{
	const std::string port = example_port();
	const std::string icon = "/usr/local/share/icons/hicolor/48x48/apps/"
	    "pebblejump-icon.png";
	// FreeBSD's make as well as GNU make: BSD make comes first on PATH.
	std::filesystem::create_directories("/tmp/bmake");
	std::filesystem::create_symlink("/usr/bin/bmake", "/tmp/bmake/make");
	for (const char *make_dir : {"", "/tmp/bmake"}) {
		SCOPED_TRACE(*make_dir ? "bmake" : "make");
		if (*make_dir && !exists("/usr/bin/bmake"))
			GTEST_SKIP() << "bmake is not installed";
		fresh_out(true);
		ToolRun r;
		r.path_prefix = make_dir;
		ToolResult res = run({"-8", "-9", port}, r);
		ASSERT_EQ(res.status, 0) << res.out << res.err;
		EXPECT_EQ(res.err, "");

		// make echoes the commands that stage the port, before the
		// marker; its install of the staged port is silent.
		const std::string p = "/tmp/ports-framework/work/pebblejump/stage"
		    "/usr/local";
		std::string make_lines;
		for (const std::string &cmd : {"mkdir -p " + p + "/bin " + p +
		    "/share/pebblejump " + p + "/share/icons/hicolor/48x48/apps",
		    "cp files/pebblejump.sh " + p + "/bin/pebblejump",
		    "cp files/pebblejump-scores.sh " + p + "/bin/pebblejump-scores",
		    "chmod 755 " + p + "/bin/pebblejump " + p +
		    "/bin/pebblejump-scores",
		    "cp files/pebblejump-icon.png " + p +
		    "/share/icons/hicolor/48x48/apps/pebblejump-icon.png",
		    "cp files/README " + p + "/share/pebblejump/README",
		    "ln -sf pebblejump " + p + "/bin/pjump"})
			make_lines += cmd + "\n";
		EXPECT_EQ(sort_found_lines(res.out), full_run_log(example_port_run(
		    make_lines, icon), res.pid));

		EXPECT_EQ(list_tree(out_dir), example_port_tree(true));

		EXPECT_EQ(out("pebblejump-8/zub.conf"), "#!/bin/sh\n"
		    "PROGNAME=\"pebblejump\"\n"
		    "PROGWEB=\"https://pebblejump.example.org/\"\n"
		    "PROGAUTHOR=\"pebbles@example.org\"\n"
		    "PROGICON=\"pebblejump-icon.png\"\n"
		    "ZUBPORT=\"" + port + "\"\n"
		    "PROGLIBS=\"Auto\"\n"
		    "ZUBUPDATE=\"http://update.ridivave.org\"\n"
		    "OTHERPORT=\"\"\n"
		    "MAKEOPTS=\"\"\n"
		    "BUILDKEY=\"01\"\n"
		    "export ZUBPORT MAKEOPTS PROGNAME PROGWEB PROGAUTHOR OTHERPORT "
		    "PROGICON PROGLIBS ZUBUPDATE BUILDKEY\n");
		EXPECT_EQ(out("pebblejump/zub.conf"), "#!/bin/sh\n"
		    "ZUB_PROGNAME=\"pebblejump\"\n"
		    "ZUB_PROGWEB=\"https://pebblejump.example.org/\"\n"
		    "ZUB_PROGAUTHOR=\"pebbles@example.org\"\n"
		    "ZUB_PROGICON=\"pebblejump-icon.png\"\n"
		    "ZUB_MAKEPORT=\"games/pebblejump\"\n"
		    "ZUB_MKPORTBEFORE=\"\"\n"
		    "ZUB_MKPORTAFTER=\"\"\n"
		    "ZUB_MAKEOPTS=\"\"\n"
		    "export ZUB_MAKEOPTS ZUB_PROGNAME ZUB_PROGWEB ZUB_PROGAUTHOR "
		    "ZUB_MKPORTBEFORE ZUB_MKPORTAFTER ZUB_PROGICON ZUB_MAKEPORT\n");
		EXPECT_EQ(out("pebblejump-8/kmenu-dir/pebblejump"),
		    kmenu_file("pebblejump", "pebblejump-icon.png", "Pebblejump", GUI_FLAGS,
		    "Games"));

		const std::string icon_line =
		    "Icon=%%ZUB_APPDIR%%/pebblejump-icon.png\n";
		for (const char *name : {"pebblejump", "pebblejump-scores", "pjump"}) {
			std::string e = desktop_entry(name, icon_line);
			EXPECT_EQ(out(std::string("pebblejump/xdg-desktop/") + name +
			    ".desktop"), e);
			EXPECT_EQ(out(std::string("pebblejump/xdg-menu/") + name +
			    ".desktop"), e + "Categories=Games");
		}

		const std::string png = read_file(port + "/files/pebblejump-icon.png");
		EXPECT_EQ(out("pebblejump-8/overlay-dir/pebblejump-icon.png"), png);
		EXPECT_EQ(out("pebblejump/resources/pebblejump-icon.png"), png);
		EXPECT_EQ(mode_of(out_dir + "/pebblejump-8/zub.conf"), 0755u);
		EXPECT_EQ(mode_of(out_dir + "/pebblejump/zub.conf"), 0755u);
		EXPECT_EQ(mode_of(out_dir + "/pebblejump-8/kmenu-dir/pebblejump"), 0644u);
		EXPECT_EQ(mode_of(out_dir + "/pebblejump/xdg-menu/pjump.desktop"), 0644u);
		EXPECT_FALSE(exists("/etc/make.conf"));
		EXPECT_FALSE(exists("/tmp/" + std::to_string(res.pid)));
	}
}

TEST_F(ModuleTest, ConsoleProgramGetsConsoleFlagsAndNoDesktopEntries)
{
	make_port("/tmp/ports/misc/tally", "MAINTAINER= tally@example.org\n",
	    "Counts things.\n", "bin/tally\nbin/tally-sum\nbin/tally-avg\n");
	write_file(out_dir + "/defaulticon.png", "default png");
	ToolResult res = run({"-c", "-8", "-9", "-s", "/tmp/ports/misc/tally"});
	ASSERT_EQ(res.status, 0);
	std::string tail = res.out.substr(res.out.find("Using default"));
	EXPECT_EQ(tail, "Using default icon defaulticon.png\n"
	    "Copying icon file defaulticon.png\n"
	    "Copying icon file, defaulticon.png, to resource directory.\n"
	    "Creating ZUB conf file.\n"
	    "Creating ZUB 9 conf file.\n"
	    "Creating Kmenu file.\n"
	    "Finished writing to Kmenu file.\n"
	    "Skipping desktop entry.\n"
	    "Skipping desktop entry.\n"
	    "Skipping desktop entry.\n"
	    "Cleaning up ZUB data.\n"
	    "Reverting back to old make configuration.\n");
	EXPECT_EQ(out("tally-8/kmenu-dir/tally"),
	    kmenu_file("tally", "defaulticon.png", "Tally", CONSOLE_FLAGS,
	    "Utilities"));
	EXPECT_TRUE(std::filesystem::is_empty(out_dir + "/tally/xdg-desktop"));
	EXPECT_TRUE(std::filesystem::is_empty(out_dir + "/tally/xdg-menu"));
	EXPECT_EQ(out("tally-8/overlay-dir/defaulticon.png"), "default png");
	EXPECT_EQ(out("tally/resources/defaulticon.png"), "default png");
	// A port path of two components: no category directory.
	EXPECT_NE(out("tally/zub.conf").find("\nZUB_MAKEPORT=\"misc/tally\"\n"),
	    std::string::npos);
}

TEST_F(ModuleTest, OwnerGetsBothTreesAfterEverythingIsWritten)
{
	ToolResult res = run({"-o", "nobody", "-b",
	    example_port() + "/files/pebblejump-icon.png", "-8", "-9", "-s",
	    example_port()});
	ASSERT_EQ(res.status, 0);
	EXPECT_NE(res.out.find("Writing menu file.\n"
	    "Performing chown -R nobody pebblejump-8\n"
	    "Performing chown -R nobody pebblejump\n"
	    "Cleaning up ZUB data.\n"), std::string::npos) << res.out;
	std::vector<std::string> all = list_tree(out_dir);
	ASSERT_EQ(all.size(), 21u);
	for (const std::string &rel : all) {
		struct stat st;
		ASSERT_EQ(lstat((out_dir + "/" + rel).c_str(), &st), 0);
		EXPECT_EQ(st.st_uid, 65534u) << rel;
	}

	// Without -o nothing is handed over.
	fresh_out();
	res = run({"-9", "-s", example_port()});
	EXPECT_EQ(res.out.find("Performing"), std::string::npos);
	struct stat st;
	ASSERT_EQ(stat((out_dir + "/pebblejump/zub.conf").c_str(), &st), 0);
	EXPECT_EQ(st.st_uid, 0u);
}

TEST_F(ModuleTest, PortWithoutMainExecutableStillWritesTheExtras)
{
	make_port("/tmp/ports/games/foo", "PORTNAME=foo\n", "",
	    "bin/helper\nshare/foo/data\nbin/other\n");
	ToolResult res = run({"-8", "-9", "-s", "/tmp/ports/games/foo"});
	ASSERT_EQ(res.status, 0);
	EXPECT_NE(res.out.find("Could not find exe the smart way.\n"
	    "Trying to guess the port's executable.\n"
	    "Was unable to guess main executable.\n"
	    "Looking for more bin files.\n"
	    "Found extra exe: helper\n"
	    "Found extra exe: other\n"), std::string::npos) << res.out;
	EXPECT_NE(res.out.find("Finished writing to Kmenu file.\n"
	    "Creating desktop entry.\n"
	    "Couldn't find exe to write to menu/desktop.\n"
	    "Creating desktop entry.\n"
	    "Writing menu file.\n"
	    "Creating desktop entry.\n"
	    "Writing menu file.\n"
	    "Cleaning up ZUB data.\n"), std::string::npos) << res.out;
	EXPECT_EQ(out("foo-8/kmenu-dir/foo").substr(0, 24),
	    "ExePath: bin/\nExeIcon: \n");
	EXPECT_EQ(list_tree(out_dir + "/foo/xdg-desktop"),
	    (std::vector<std::string>{"helper.desktop", "other.desktop"}));
	EXPECT_EQ(out("foo/xdg-menu/other.desktop"),
	    desktop_entry("other", "") + "Categories=Games");
}

// A port whose icon lies in a directory with a blank, and whose packing list
// names an executable that climbs out of the module and one whose entry
// name is a byte longer than a file name can be (and one that just fits).
const char ODD_MAKEFILE[] =
    "install:\n"
    "\t@mkdir -p '/usr/local/share/odd icons' /usr/local/bin\n"
    "\t@printf png > '/usr/local/share/odd icons/odd-icon.png'\n"
    "\t@touch /usr/local/bin/odd\n";

TEST_F(ModuleTest, IconPathWithABlankAndAnEntryThatWouldLeaveTheModule)
{
	const std::string too_long(248, 'x'), longest(247, 'y');
	make_port("/tmp/ports/x11/odd", ODD_MAKEFILE, "",
	    "bin/odd\nbin/../../../escape\nbin/" + too_long + "\nbin/" + longest +
	    "\n");
	ToolResult res = run({"-8", "-9", "/tmp/ports/x11/odd"});
	ASSERT_EQ(res.status, 0);
	EXPECT_EQ(res.err, "");
	for (const char *refusal : {"Unable to write", "Unable to create"})
		EXPECT_EQ(res.out.find(refusal), std::string::npos) << res.out;
	EXPECT_EQ(out("odd-8/overlay-dir/odd-icon.png"), "png");
	EXPECT_EQ(out("odd/resources/odd-icon.png"), "png");
	const std::vector<std::string> entries = {"odd.desktop",
	    longest + ".desktop"};
	EXPECT_EQ(list_tree(out_dir + "/odd/xdg-desktop"), entries);
	EXPECT_EQ(list_tree(out_dir + "/odd/xdg-menu"), entries);
	EXPECT_EQ(out("odd/xdg-menu/" + longest + ".desktop"),
	    desktop_entry(longest, "Icon=%%ZUB_APPDIR%%/odd-icon.png\n") +
	    "Categories=Utilities");
	EXPECT_FALSE(exists("/tmp/escape.desktop"));
	EXPECT_FALSE(exists("/escape.desktop"));
}

// A tree handed to a user is theirs between two runs: whatever they plant
// there, the next root run writes only regular files of its own inside.
// The temporary names a run will try next to a file are the user's to
// take too.
enum class Plant { link_to_file, hard_link, link_to_dir, temp_names };

struct PlantCase {
	const char *path;	// below the output directory
	Plant plant;
};

const char *const MODULE_FILES[] = {
	"pebblejump-8/overlay-dir/pebblejump-icon.png",
	"pebblejump/resources/pebblejump-icon.png",
	"pebblejump-8/zub.conf", "pebblejump/zub.conf",
	"pebblejump-8/kmenu-dir/pebblejump",
	"pebblejump/xdg-desktop/pebblejump.desktop",
	"pebblejump/xdg-menu/pebblejump.desktop",
};

const char *const MODULE_DIRS[] = {
	"pebblejump-8/kmenu-dir", "pebblejump-8/mime-dir",
	"pebblejump-8/overlay-dir", "pebblejump/resources", "pebblejump/scripts",
	"pebblejump/xdg-desktop", "pebblejump/xdg-menu", "pebblejump/xdg-mime",
};

struct Outside {
	std::string bytes;
	struct stat st;
};

Outside
outside(const std::string &path)
{
	Outside o{read_file(path), {}};
	EXPECT_EQ(lstat(path.c_str(), &o.st), 0) << path;
	return o;
}

TEST_F(ModuleTest, WhatAUserPlantsInTheTreeIsNeverFollowed)
{
	write_file("/tmp/outside/secret", "root's secret\n");
	write_file("/tmp/outside/linked", "root's linked file\n");
	chmod("/tmp/outside/secret", 0600);
	chmod("/tmp/outside/linked", 0640);
	std::filesystem::create_directories("/tmp/outside/dir");
	chmod("/tmp/outside/dir", 0700);
	write_file("/tmp/icon/pebblejump-icon.png", "png bytes");

	std::vector<PlantCase> cases;
	for (const char *file : MODULE_FILES) {
		cases.push_back({file, Plant::link_to_file});
		cases.push_back({file, Plant::hard_link});
	}
	for (const char *dir : MODULE_DIRS)
		cases.push_back({dir, Plant::link_to_dir});
	cases.push_back({"pebblejump/xdg-menu/pebblejump.desktop",
	    Plant::temp_names});

	const std::vector<std::string> args = {"-o", "nobody", "-b",
	    "/tmp/icon/pebblejump-icon.png", "-8", "-9", "-s", example_port()};
	for (const PlantCase &c : cases) {
		fresh_out();
		ToolResult first = run(args);
		ASSERT_EQ(first.status, 0);
		const std::string path = out_dir + "/" + c.path;
		const std::string before = c.plant == Plant::link_to_dir ? "" :
		    out(c.path);
		ToolRun r;
		if (c.plant == Plant::temp_names)
			r.plant_temp_links = {std::filesystem::path(c.path).parent_path(),
			    "/tmp/outside/linked"};
		else
			std::filesystem::remove_all(path);
		if (c.plant == Plant::link_to_file)
			std::filesystem::create_symlink("/tmp/outside/secret", path);
		else if (c.plant == Plant::hard_link)
			std::filesystem::create_hard_link("/tmp/outside/linked", path);
		else if (c.plant == Plant::link_to_dir)
			std::filesystem::create_directory_symlink("/tmp/outside/dir",
			    path);
		const std::pair<const char *, Outside> kept[] = {
		    {"/tmp/outside/secret", outside("/tmp/outside/secret")},
		    {"/tmp/outside/linked", outside("/tmp/outside/linked")}};

		ToolResult again = run(args, r);
		EXPECT_EQ(again.status, 0) << c.path;
		EXPECT_EQ(again.out.find("Unable to write"), std::string::npos);
		for (const auto &[p, before_run] : kept) {
			const Outside now = outside(p);
			EXPECT_EQ(now.bytes, before_run.bytes) << c.path;
			EXPECT_EQ(now.st.st_uid, 0u) << c.path;
			EXPECT_EQ(now.st.st_mode, before_run.st.st_mode) << c.path;
		}
		EXPECT_TRUE(std::filesystem::is_empty("/tmp/outside/dir")) << c.path;
		if (c.plant == Plant::link_to_dir) {
			EXPECT_TRUE(std::filesystem::is_symlink(path)) << c.path;
			continue;
		}
		struct stat st;
		ASSERT_EQ(lstat(path.c_str(), &st), 0) << c.path;
		EXPECT_TRUE(S_ISREG(st.st_mode)) << c.path;
		EXPECT_EQ(st.st_nlink, 1u) << c.path;
		EXPECT_EQ(st.st_uid, 65534u) << c.path;
		EXPECT_EQ(out(c.path), before) << c.path;
	}
	// Nothing but the trees and our own files in /tmp.
	EXPECT_EQ(list_tree("/tmp/outside"), (std::vector<std::string>{"dir/",
	    "linked", "secret"}));
}

// A port whose icon is larger than what the output directory can hold.
const char BIG_ICON_MAKEFILE[] =
    "install:\n"
    "\t@mkdir -p /usr/local/bin /usr/local/share/icons\n"
    "\t@touch /usr/local/bin/tiny\n"
    "\t@head -c 200000 /dev/zero > /usr/local/share/icons/tiny-icon.png\n";

// Module files that cannot be put in place: a full disk fails their writes,
// a file mounted over one of them its rename.
struct WriteFailure {
	const char *name;
	const char *mounted;	// a file bound over this one; else a full disk
	std::string log;	// from the icon on
	const char *tree;	// nullptr: every file written but the mounted one
};

TEST_F(ModuleTest, ModuleFilesThatCannotBePutInPlaceEndWithFour)
{
	make_port("/tmp/ports/games/tiny", BIG_ICON_MAKEFILE, "", "bin/tiny\n");
	write_file("/etc/make.conf", "WRKDIRPREFIX=/tmp/w\n");
	write_file("/tmp/held", "another mount's file\n");
	const std::string icon = "/usr/local/share/icons/tiny-icon.png";
	const WriteFailure cases[] = {
		// One page: the first zub.conf fits, nothing after it does.
		{"full disk", nullptr, "Found icon file " + icon + "\n"
		    "Copying icon file " + icon + "\n"
		    "Unable to write tiny-8/overlay-dir/tiny-icon.png.\n"
		    "Copying icon file, " + icon + ", to resource directory.\n"
		    "Unable to write tiny/resources/tiny-icon.png.\n"
		    "Creating ZUB conf file.\n"
		    "Creating ZUB 9 conf file.\n"
		    "Unable to write tiny/zub.conf.\n"
		    "Creating Kmenu file.\n"
		    "Unable to write tiny-8/kmenu-dir/tiny.\n"
		    "Creating desktop entry.\n"
		    "Unable to write tiny/xdg-desktop/tiny.desktop.\n"
		    "Writing menu file.\n"
		    "Unable to write tiny/xdg-menu/tiny.desktop.\n",
		    "tiny-8/\ntiny-8/kmenu-dir/\ntiny-8/mime-dir/\n"
		    "tiny-8/overlay-dir/\ntiny-8/zub.conf\ntiny/\ntiny/resources/\n"
		    "tiny/scripts/\ntiny/xdg-desktop/\ntiny/xdg-menu/\n"
		    "tiny/xdg-mime/\n"},
		// Every write succeeds; the rename fails (EBUSY).
		{"mounted desktop entry", "tiny/xdg-desktop/tiny.desktop",
		    "Found icon file " + icon + "\n"
		    "Copying icon file " + icon + "\n"
		    "Copying icon file, " + icon + ", to resource directory.\n"
		    "Creating ZUB conf file.\n"
		    "Creating ZUB 9 conf file.\n"
		    "Creating Kmenu file.\n"
		    "Finished writing to Kmenu file.\n"
		    "Creating desktop entry.\n"
		    "Unable to write tiny/xdg-desktop/tiny.desktop.\n"
		    "Writing menu file.\n", nullptr},
	};
	for (const WriteFailure &c : cases) {
		SCOPED_TRACE(c.name);
		fresh_out(true);
		const std::string target = out_dir + "/" + (c.mounted ? c.mounted : "");
		if (c.mounted) {
			write_file(target, "");
			ASSERT_EQ(mount("/tmp/held", target.c_str(), nullptr, MS_BIND,
			    nullptr), 0);
		} else {
			ASSERT_EQ(mount("tiny", out_dir.c_str(), "tmpfs", 0, "size=4k"),
			    0);
		}
		ToolResult res = run({"-8", "-9", "/tmp/ports/games/tiny"});
		std::string tree_listing;
		for (const std::string &p : list_tree(out_dir))
			tree_listing += p + "\n";
		std::string zub8 = out("tiny-8/zub.conf");
		umount2(target.c_str(), MNT_DETACH);

		EXPECT_EQ(res.status, 4);
		EXPECT_EQ(res.out.substr(res.out.find("Found icon file")), c.log +
		    std::string("Cleaning up ZUB data.\n"
		    "Reverting back to old make configuration.\n"));
		// Nothing half-written stays behind, temporary files included.
		if (c.tree) {
			EXPECT_EQ(tree_listing, c.tree);
		}
		EXPECT_EQ(tree_listing.find("/.ridivave."), std::string::npos);
		const std::string last = "PROGLIBS ZUBUPDATE BUILDKEY\n";
		ASSERT_GT(zub8.size(), last.size());
		EXPECT_EQ(zub8.substr(zub8.size() - last.size()), last);
		EXPECT_EQ(read_file("/tmp/held"), "another mount's file\n");
		EXPECT_EQ(read_file("/etc/make.conf"), "WRKDIRPREFIX=/tmp/w\n");
		EXPECT_FALSE(exists("/etc/make.conf.zub"));
	}
}

struct HandoverCase {
	const char *owner;
	gid_t gid;	// the group every file then has
};

TEST_F(ModuleTest, HandoverLeavesLinksAndMultiLinkFilesAlone)
{
	write_file("/tmp/outside/linked", "root's file\n");
	const HandoverCase cases[] = {
		{"nobody", 0}, {"nobody:65534", 65534}, {"65534:nogroup", 65534},
	};
	const std::string scripts = out_dir + "/pebblejump/scripts";
	for (const HandoverCase &c : cases) {
		fresh_out();
		ASSERT_EQ(run({"-q", "-9", "-s", example_port()}).status, 0);
		std::filesystem::create_hard_link("/tmp/outside/linked",
		    scripts + "/shared");
		std::filesystem::create_symlink("/tmp/outside/linked",
		    scripts + "/link");
		write_file(scripts + "/sub/deeper/file", "");

		ToolResult res = run({"-q", "-o", c.owner, "-9", "-s",
		    example_port()});
		EXPECT_EQ(res.status, 0) << c.owner;
		EXPECT_EQ(res.err, "ridivave: pebblejump/scripts/shared: has other "
		    "hard links; owner left as it is\n") << c.owner;
		for (const std::string &rel : list_tree(out_dir)) {
			struct stat st;
			ASSERT_EQ(lstat((out_dir + "/" + rel).c_str(), &st), 0);
			bool left = rel == "pebblejump/scripts/shared" ||
			    rel == "pebblejump/scripts/link";
			EXPECT_EQ(st.st_uid, left ? 0u : 65534u) << c.owner << rel;
			EXPECT_EQ(st.st_gid, left ? 0u : c.gid) << c.owner << rel;
		}
		struct stat st;
		ASSERT_EQ(stat("/tmp/outside/linked", &st), 0);
		EXPECT_EQ(st.st_uid, 0u);
	}
}

// An icon that cannot be read is named on standard error once per copy,
// as cp named it, and copies nothing; the run goes on.
TEST_F(ModuleTest, IconThatCannotBeReadCopiesNothing)
{
	make_port("/tmp/ports/games/foo", "PORTNAME=foo\n", "", "bin/foo\n");
	const std::pair<const char *, const char *> cases[] = {
		{"/tmp/no/such.png", "No such file or directory"},
		{"/tmp/", "Is a directory"},
	};
	for (const auto &[icon, why] : cases) {
		ToolResult res = run({"-q", "-b", icon, "-8", "-9", "-s",
		    "/tmp/ports/games/foo"});
		EXPECT_EQ(res.status, 0) << icon;
		const std::string line = std::string("ridivave: ") + icon + ": " +
		    why + "\n";
		EXPECT_EQ(res.err, line + line);
		EXPECT_TRUE(std::filesystem::is_empty(out_dir + "/foo-8/overlay-dir"));
		EXPECT_TRUE(std::filesystem::is_empty(out_dir + "/foo/resources"));
	}
}

}
