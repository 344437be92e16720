// Whole runs that write the module trees: every file byte for byte, the
// icon copies, console programs and the handover to an owner.
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

TEST_F(ModuleTest, FullRunBuildsTheExamplePortAndWritesBothModules)
{
	const std::string port = example_port();
	const std::string icon = "/usr/local/share/icons/hicolor/48x48/apps/"
	    "pebblejump-icon.png";
	ToolResult res = run({"-8", "-9", port});
	ASSERT_EQ(res.status, 0) << res.out << res.err;
	EXPECT_EQ(res.err, "");

	// make echoes its commands; the tool's own lines frame them.
	std::string make_lines;
	for (const char *cmd : {"sleep 1",
	    "mkdir -p /usr/local/bin /usr/local/share/pebblejump "
	    "/usr/local/share/icons/hicolor/48x48/apps",
	    "cp files/pebblejump.sh /usr/local/bin/pebblejump",
	    "cp files/pebblejump-scores.sh /usr/local/bin/pebblejump-scores",
	    "chmod 755 /usr/local/bin/pebblejump "
	    "/usr/local/bin/pebblejump-scores",
	    "cp files/pebblejump-icon.png "
	    "/usr/local/share/icons/hicolor/48x48/apps/pebblejump-icon.png",
	    "cp files/README /usr/local/share/pebblejump/README",
	    "ln -sf pebblejump /usr/local/bin/pjump"})
		make_lines += std::string(cmd) + "\n";
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
	std::filesystem::remove_all(out_dir);
	std::filesystem::create_directories(out_dir);
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
// names an executable that climbs out of the module.
const char ODD_MAKEFILE[] =
    "install:\n"
    "\t@sleep 0.05\n"
    "\t@mkdir -p '/usr/local/share/odd icons' /usr/local/bin\n"
    "\t@printf png > '/usr/local/share/odd icons/odd-icon.png'\n"
    "\t@touch /usr/local/bin/odd\n";

TEST_F(ModuleTest, IconPathWithABlankAndAnEntryThatWouldLeaveTheModule)
{
	make_port("/tmp/ports/x11/odd", ODD_MAKEFILE, "",
	    "bin/odd\nbin/../../../escape\n");
	ToolResult res = run({"-q", "-8", "-9", "/tmp/ports/x11/odd"});
	ASSERT_EQ(res.status, 0);
	EXPECT_EQ(res.err, "");
	EXPECT_EQ(out("odd-8/overlay-dir/odd-icon.png"), "png");
	EXPECT_EQ(out("odd/resources/odd-icon.png"), "png");
	EXPECT_EQ(list_tree(out_dir + "/odd/xdg-desktop"),
	    std::vector<std::string>{"odd.desktop"});
	EXPECT_EQ(list_tree(out_dir + "/odd/xdg-menu"),
	    std::vector<std::string>{"odd.desktop"});
	EXPECT_FALSE(exists("/tmp/escape.desktop"));
	EXPECT_FALSE(exists("/escape.desktop"));
}

}
