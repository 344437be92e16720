// The guesses on ports as they are laid out today: each row a trap for the
// guesses of before.  A run without -d must log exactly what it always did;
// the run with -d must see through the trap.
#include <algorithm>
#include <sstream>

#include "job/job.h"
#include "support/runs.h"
#include "support/sandbox_test.h"

namespace {

// What one run finds.  The icon is the first of `icons` that the capture
// met, as several qualify before -d and find's order is the file system's;
// a single one is the icon whether it was captured or not.
struct Guesses {
	std::optional<std::string> main_exe = {};
	std::vector<std::string> extras = {};
	std::vector<std::string> icons = {};	// below /usr/local
	std::optional<std::string> website = {}, author = {};
	std::optional<std::string> entry = {};	// the entry that named main_exe
};

struct TrapRow {
	std::string name;
	std::string port;
	std::string makefile = "", descr = "", plist = "";
	// Installed below /usr/local in this order (by default the packing
	// list's lines), each empty but a desktop entry, which holds
	// `entry_text`; then `filler` files share/<port>/data/<n>.
	std::vector<std::string> files = {};
	std::string entry_text = "";
	int filler = 0;
	Guesses before, with_d;
};

void
PrintTo(const TrapRow &row, std::ostream *os)
{
	*os << row.name;
}

// find meets the newest file first on the sandbox's tmpfs: where a row
// installs the larger icon first, a rule that took the first would take
// the smaller one.
const TrapRow ROWS[] = {
    {.name = "cvlc before vlc", .port = "vlc",
	.makefile = "MAINTAINER=\tmm@example.org\n",
	.descr = "A media player.\nIts home, http://www.videolan.example/, is "
	    "a good start.\n",
	.plist = "bin/cvlc\nbin/nvlc\nbin/vlc\n"
	    "share/icons/hicolor/128x128/apps/vlc-xmas.png\nshare/pixmaps/vlc.png\n",
	.before = {"bin/cvlc", {"nvlc", "vlc"},
	    {"share/icons/hicolor/128x128/apps/vlc-xmas.png"},
	    "http://www.videolan.example/, is a good start.", "mm@example.org"},
	.with_d = {"bin/vlc", {"cvlc", "nvlc"}, {"share/pixmaps/vlc.png"},
	    "http://www.videolan.example/", "mm@example.org"}},
    {.name = "toolbar icons before the port's own", .port = "geany",
	.plist = "bin/geany\nshare/icons/hicolor/256x256/apps/geany.png\n"
	    "share/icons/hicolor/48x48/apps/geany.png\n"
	    "share/geany/icons/16x16/classviewer-class.png\n",
	.before = {"bin/geany", {}, {"share/icons/hicolor/48x48/apps/geany.png",
	    "share/icons/hicolor/256x256/apps/geany.png",
	    "share/geany/icons/16x16/classviewer-class.png"}},
	.with_d = {"bin/geany", {}, {"share/icons/hicolor/256x256/apps/geany.png"}}},
    {.name = "icon only in pixmaps", .port = "leafpad",
	.plist = "bin/leafpad\nshare/pixmaps/leafpad.png\n",
	.before = {"bin/leafpad"},
	.with_d = {"bin/leafpad", {}, {"share/pixmaps/leafpad.png"}}},
    {.name = "app-id icon", .port = "inkscape",
	.plist = "bin/inkscape\n"
	    "share/icons/hicolor/256x256/apps/org.inkscape.Inkscape.png\n"
	    "share/icons/hicolor/48x48/apps/org.inkscape.Inkscape.png\n",
	.before = {"bin/inkscape", {}, {
	    "share/icons/hicolor/48x48/apps/org.inkscape.Inkscape.png",
	    "share/icons/hicolor/256x256/apps/org.inkscape.Inkscape.png"}},
	.with_d = {"bin/inkscape", {}, {
	    "share/icons/hicolor/256x256/apps/org.inkscape.Inkscape.png"}}},
    {.name = "sizes in the icon's name", .port = "foo",
	.plist = "bin/foo\nshare/foo/foo128x128.png\nshare/foo/foo48x48.png\n",
	.before = {"bin/foo"},
	.with_d = {"bin/foo", {}, {"share/foo/foo128x128.png"}}},
    // The group of another action comes first, with another program.
    {.name = "desktop entry", .port = "foo",
	.plist = "bin/foo\nbin/foo-gui\nshare/applications/foo.desktop\n"
	    "share/icons/hicolor/48x48/apps/foo.png\n"
	    "share/icons/hicolor/64x64/apps/foo-gui.png\n",
	.entry_text = "[Desktop Action Window]\nExec=/usr/local/bin/foo -w\n"
	    "Icon=foo\n\n[Desktop Entry]\nName=Foo\n"
	    "Exec=env A=1 /usr/local/bin/foo-gui %U\nIcon=foo-gui\n",
	.before = {"bin/foo", {"foo-gui"}, {
	    "share/icons/hicolor/48x48/apps/foo.png",
	    "share/icons/hicolor/64x64/apps/foo-gui.png"}},
	.with_d = {"bin/foo-gui", {"foo"},
	    {"share/icons/hicolor/64x64/apps/foo-gui.png"}, {}, {},
	    "/usr/local/share/applications/foo.desktop"}},
    // The icon, installed first, comes after the table is full.
    {.name = "more files than the table before the icon", .port = "big",
	.plist = "bin/big\nshare/pixmaps/big.png\n",
	.files = {"share/pixmaps/big.png", "bin/big"}, .filler = 1100,
	.before = {"bin/big"},
	.with_d = {"bin/big", {}, {"share/pixmaps/big.png"}}},
    {.name = "option markers and an owner and mode", .port = "xscreensaver",
	.plist = "@(,,4755) bin/xscreensaver\n%%GTK%%bin/xscreensaver-settings\n"
	    "%%NLS%%%%GTK:%%bin/xscreensaver-demo\n"
	    "bin/xscreensaver-hacks/attraction\n%%DATADIR%%/config/README\n"
	    "@dir share/xscreensaver\n%%NLS%%share/pixmaps/xscreensaver.png\n",
	.files = {"bin/xscreensaver", "bin/xscreensaver-settings",
	    "bin/xscreensaver-demo", "bin/xscreensaver-hacks/attraction",
	    "share/pixmaps/xscreensaver.png"},
	.before = {"@(,,4755) bin/xscreensaver",
	    {"xscreensaver-hacks/attraction"}},
	.with_d = {"bin/xscreensaver", {"xscreensaver-settings",
	    "xscreensaver-demo"}, {"share/pixmaps/xscreensaver.png"}}},
    // find meets smartd first; a sign-off names the author.
    {.name = "no program named after the port", .port = "smartmontools",
	.descr = "Disk tools.\n\n- Jo Bloggs <jo@example.org>\n",
	.plist = "sbin/smartctl\nsbin/smartd\n",
	.before = {{}, {}, {}, {}, " Jo Bloggs <jo@example.org>"},
	.with_d = {"sbin/smartctl", {}, {}, {}, "jo@example.org"}},
    {.name = "debugging symbols and a program listed twice", .port = "gftp",
	.plist = "bin/gftp.debug\nbin/gftp-text\n%%GTK%%bin/gftp-gtk\n"
	    "%%NOX11:%%bin/gftp-gtk\n",
	.files = {"bin/gftp.debug", "bin/gftp-text", "bin/gftp-gtk"},
	.before = {"bin/gftp.debug", {"gftp-text"}},
	.with_d = {"bin/gftp-text", {"gftp-gtk"}}},
    {.name = "an address in the prose before WWW", .port = "easytag",
	.descr = "Tags audio files.\n- CDDB support (from http protocol), see "
	    "http://gnudb.example/.\n\nWWW: https://easytag.example.org/\n",
	.plist = "bin/easytag\n",
	.before = {"bin/easytag", {}, {},
	    "http protocol), see http://gnudb.example/."},
	.with_d = {"bin/easytag", {}, {}, "https://easytag.example.org/"}},
    {.name = "the Makefile's WWW", .port = "foo",
	.makefile = "WWW=\t\thttps://foo.example.org/\n",
	.descr = "Speaks http and more: http://mirror.example/\n",
	.plist = "bin/foo\n",
	.before = {"bin/foo", {}, {}, "http and more: http://mirror.example/"},
	.with_d = {"bin/foo", {}, {}, "https://foo.example.org/"}},
    {.name = "a maintainer set with ?= and a sign-off", .port = "saver",
	.makefile = "MAINTAINER?=\tdougb@example.org\n",
	.descr = "A screen saver.\n\n- Jamie Z <jwz@example.org>\n",
	.plist = "bin/saver\n",
	.before = {"bin/saver", {}, {}, {}, " Jamie Z <jwz@example.org>"},
	.with_d = {"bin/saver", {}, {}, {}, "dougb@example.org"}},
};

// The first of `icons` that the log names as captured, or the only one.
std::optional<std::string>
first_met(const std::string &out, const std::vector<std::string> &icons)
{
	if (icons.size() == 1)
		return "/usr/local/" + icons[0];
	std::optional<std::string> first;
	size_t first_at = std::string::npos;
	for (const std::string &icon : icons) {
		size_t at = out.find("Found new file: /usr/local/" + icon + "\n");
		if (at < first_at) {
			first = "/usr/local/" + icon;
			first_at = at;
		}
	}
	return first;
}

// The log less its "Found new file:" lines, and how many there were.
std::string
without_captured_files(const std::string &out, size_t &count)
{
	std::istringstream in(out);
	std::string line, rest;
	count = 0;
	while (std::getline(in, line))
		if (line.starts_with("Found new file: "))
			count++;
		else
			rest += line + "\n";
	return rest;
}

class GuessesTest : public SandboxTest,
		    public ::testing::WithParamInterface<TrapRow> {};

TEST_P(GuessesTest, EachTrapWithoutAndWithD)
{
	const TrapRow &row = GetParam();
	const std::string port = "/tmp/ports/games/" + row.port;
	make_port(port, "PORTNAME=\t" + row.port + "\n" + row.makefile +
	    "install:\n\t@cp -R files/. /usr/local/\n", row.descr, row.plist);
	std::vector<std::string> files = row.files;
	if (files.empty()) {
		std::istringstream plist(row.plist);
		for (std::string line; std::getline(plist, line); )
			files.push_back(line);
	}
	std::vector<std::string> captured;
	for (const std::string &f : files) {
		write_file(port + "/files/" + f, f.ends_with(".desktop") ?
		    row.entry_text : "");
		captured.push_back("/usr/local/" + f);
	}
	std::sort(captured.begin(), captured.end());
	for (int n = 1; n <= row.filler; n++)
		write_file(port + "/files/share/" + row.port + "/data/" +
		    std::to_string(n), "");

	for (bool d : {false, true}) {
		const Guesses &g = d ? row.with_d : row.before;
		const char *how = d ? "with -d" : "without -d";
		fresh_out(true);
		ToolResult res = run(d ? std::vector<std::string>{"-d", "-8", "-9",
		    port} : std::vector<std::string>{"-8", "-9", port});
		EXPECT_EQ(res.status, 0) << how;

		FullRun expect;
		expect.port = port;
		expect.name = row.port;
		expect.website = g.website;
		expect.author = g.author;
		expect.make_output = "";
		expect.files = captured;
		expect.main_exe = g.main_exe;
		expect.extras = g.extras;
		expect.icon = first_met(res.out, g.icons);
		expect.packager = d;
		expect.entry = g.entry;
		std::string out = sort_found_lines(res.out);
		if (row.filler > 0) {
			size_t count;
			out = without_captured_files(out, count);
			expect.files.clear();
			EXPECT_EQ(count, static_cast<size_t>(NEW_FILES_MAX)) << how;
			EXPECT_EQ(res.out.find("Found new file: /usr/local/" +
			    files[0]), std::string::npos) << "captured: " << how;
		}
		EXPECT_EQ(out, full_run_log(expect, res.pid)) << how;
	}
}

INSTANTIATE_TEST_SUITE_P(Each, GuessesTest, ::testing::ValuesIn(ROWS),
    row_name<TrapRow>);

}
