#include <sys/stat.h>

#include "module/module.h"
#include "unit/stage_test.h"

namespace {

class ConfTest : public StageTest {
protected:
	void SetUp() override
	{
		StageTest::SetUp();
		job.port_path = "/usr/ports/games/foo";
		job.ports_root = "/usr/ports/";
		job.port_name = "foo";
		job.module_dir8 = "foo-8";
		job.module_dir9 = "foo";
		std::filesystem::create_directories("foo-8");
		std::filesystem::create_directories("foo");
	}
};

TEST_F(ConfTest, Version8Lines)
{
	job.icon = "/usr/local/share/foo/foo-icon.png";
	job.website = "http://foo.example.org/";
	job.author = "jo@example.org";
	EXPECT_EQ(write_conf_v8(job), 1);
	EXPECT_EQ(read_file("foo-8/zub.conf"),
	    "#!/bin/sh\n"
	    "PROGNAME=\"foo\"\n"
	    "PROGWEB=\"http://foo.example.org/\"\n"
	    "PROGAUTHOR=\"jo@example.org\"\n"
	    "PROGICON=\"foo-icon.png\"\n"
	    "ZUBPORT=\"/usr/ports/games/foo\"\n"
	    "PROGLIBS=\"Auto\"\n"
	    "ZUBUPDATE=\"http://update.ridivave.org\"\n"
	    "OTHERPORT=\"\"\n"
	    "MAKEOPTS=\"\"\n"
	    "BUILDKEY=\"01\"\n"
	    "export ZUBPORT MAKEOPTS PROGNAME PROGWEB PROGAUTHOR OTHERPORT "
	    "PROGICON PROGLIBS ZUBUPDATE BUILDKEY\n");
	EXPECT_EQ(logged(), "Creating ZUB conf file.\n");
}

TEST_F(ConfTest, Version9Lines)
{
	EXPECT_EQ(write_conf_v9(job), 1);
	EXPECT_EQ(read_file("foo/zub.conf"),
	    "#!/bin/sh\n"
	    "ZUB_PROGNAME=\"foo\"\n"
	    "ZUB_PROGWEB=\"\"\n"
	    "ZUB_PROGAUTHOR=\"\"\n"
	    "ZUB_PROGICON=\"\"\n"
	    "ZUB_MAKEPORT=\"games/foo\"\n"
	    "ZUB_MKPORTBEFORE=\"\"\n"
	    "ZUB_MKPORTAFTER=\"\"\n"
	    "ZUB_MAKEOPTS=\"\"\n"
	    "export ZUB_MAKEOPTS ZUB_PROGNAME ZUB_PROGWEB ZUB_PROGAUTHOR "
	    "ZUB_MKPORTBEFORE ZUB_MKPORTAFTER ZUB_PROGICON ZUB_MAKEPORT\n");
	EXPECT_EQ(logged(), "Creating ZUB 9 conf file.\n");
}

static std::string
line_of(const std::string &text, const std::string &key)
{
	std::string::size_type at = text.find("\n" + key + "=");
	std::string::size_type end = text.find('\n', at + 1);
	return text.substr(at + 1, end - at - 1);
}

struct IconCase {
	Text icon;
	const char *value;
};

TEST_F(ConfTest, IconFileName)
{
	const IconCase cases[] = {
		{"/usr/local/share/icons/foo.png", "foo.png"},
		{"defaulticon.png", "defaulticon.png"},
		{"/usr/local/share/icons/", ""},
		{"", ""},
		{std::nullopt, ""},
	};
	for (const IconCase &c : cases) {
		job.icon = c.icon;
		write_conf_v8(job);
		write_conf_v9(job);
		EXPECT_EQ(line_of(read_file("foo-8/zub.conf"), "PROGICON"),
		    std::string("PROGICON=\"") + c.value + "\"");
		EXPECT_EQ(line_of(read_file("foo/zub.conf"), "ZUB_PROGICON"),
		    std::string("ZUB_PROGICON=\"") + c.value + "\"");
	}
}

struct MakePortCase {
	const char *port_path;
	const char *ports_root;
	const char *makeport;
};

TEST_F(ConfTest, MakePortIsCategoryAndName)
{
	static const MakePortCase cases[] = {
		{"/usr/ports/games/foo", "/usr/ports/", "games/foo"},
		{"ports/games/foo", "ports/", "games/foo"},
		{"games/foo", "games/foo", "/foo"},
	};
	for (const MakePortCase &c : cases) {
		job.port_path = c.port_path;
		job.ports_root = c.ports_root;
		write_conf_v9(job);
		EXPECT_EQ(line_of(read_file("foo/zub.conf"), "ZUB_MAKEPORT"),
		    std::string("ZUB_MAKEPORT=\"") + c.makeport + "\"");
		write_conf_v8(job);
		EXPECT_EQ(line_of(read_file("foo-8/zub.conf"), "ZUBPORT"),
		    std::string("ZUBPORT=\"") + c.port_path + "\"");
	}
}

TEST_F(ConfTest, ReplacedWholeAndExecutableWhateverTheUmask)
{
	write_file("foo-8/zub.conf", std::string(5000, 'x'));
	mode_t old = umask(077);
	write_conf_v8(job);
	write_conf_v9(job);
	umask(old);
	for (const char *path : {"foo-8/zub.conf", "foo/zub.conf"}) {
		struct stat st;
		ASSERT_EQ(stat(path, &st), 0);
		EXPECT_EQ(st.st_mode & 07777, 0755u) << path;
		EXPECT_EQ(read_file(path).compare(0, 10, "#!/bin/sh\n"), 0);
	}
	EXPECT_EQ(read_file("foo-8/zub.conf").find("xx"), std::string::npos);
}

// A link where zub.conf goes is replaced by the file, never written through.
TEST_F(ConfTest, LinkPlantedAtZubConfIsNotFollowed)
{
	write_file("elsewhere", "root's file\n");
	std::filesystem::permissions("elsewhere", std::filesystem::perms(0600));
	std::filesystem::create_symlink("../elsewhere", "foo/zub.conf");
	EXPECT_EQ(write_conf_v9(job), 1);
	EXPECT_EQ(logged(), "Creating ZUB 9 conf file.\n");
	EXPECT_EQ(read_file("elsewhere"), "root's file\n");
	EXPECT_EQ(std::filesystem::status("elsewhere").permissions(),
	    std::filesystem::perms(0600));
	EXPECT_TRUE(std::filesystem::is_regular_file(
	    std::filesystem::symlink_status("foo/zub.conf")));
	EXPECT_EQ(read_file("foo/zub.conf").rfind("#!/bin/sh\n", 0), 0u);
}

TEST_F(ConfTest, MissingModuleDirectory)
{
	std::filesystem::remove_all("foo-8");
	std::filesystem::remove_all("foo");
	EXPECT_EQ(write_conf_v8(job), 0);
	EXPECT_EQ(write_conf_v9(job), 0);
	EXPECT_EQ(logged(), "Creating ZUB conf file.\n"
	    "Unable to create zub.conf file.\n"
	    "Creating ZUB 9 conf file.\n"
	    "Unable to create zub.conf file.\n");
}

// Sourcing the file must give back every value verbatim and run nothing.
TEST_F(ConfTest, HostileValuesComeBackVerbatimFromTheShell)
{
	const std::string canary = scratch + "/canary";
	const std::vector<std::string> values = {
		"$(touch " + canary + ")",
		"`touch " + canary + "`",
		"a\"; touch " + canary + "; x=\"",
		"back\\slash\\",
		"${HOME} $HOME \\$",
		"new\nline",
		"plain http://foo.example.org/",
	};
	for (const std::string &v : values) {
		job.website = v;
		job.author = v;
		job.port_path = v;
		write_conf_v8(job);
		write_conf_v9(job);
		EXPECT_EQ(sourced_values("foo-8/zub.conf", {"PROGWEB", "PROGAUTHOR",
		    "ZUBPORT"}), std::vector<std::string>(3, v)) << v;
		EXPECT_EQ(sourced_values("foo/zub.conf", {"ZUB_PROGWEB",
		    "ZUB_PROGAUTHOR"}), std::vector<std::string>(2, v)) << v;
		EXPECT_FALSE(std::filesystem::exists(canary)) << v;
	}
}

TEST(ConfEscape, OnlyTheFourCharacters)
{
	EXPECT_EQ(conf_escape("plain text/with:all-else'"), "plain text/with:all-else'");
	EXPECT_EQ(conf_escape("\\\"$`"), "\\\\\\\"\\$\\`");
}

}
