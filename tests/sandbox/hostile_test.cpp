// Strange and hostile names and values: none of them runs anything, none
// makes the tool write outside the module trees and its log, and each ends
// in the documented exit status.
#include <sys/stat.h>

#include "support/runs.h"
#include "support/sandbox_test.h"

namespace {

// Every value that could run something runs "touch CANARY".
const std::vector<std::string> HOSTILE = {
	"a b",
	"it's \"quoted\"",
	"$(touch CANARY)",
	"`touch CANARY`",
	"x;touch CANARY;y",
	"new\nline",
	"-rf",
	"--version",
	"\xc3\xa9t\xc3\xa9 \xff",
	"back\\slash $HOME *",
};

// Each value is a test of its own, so that they run at once.
class HostileTest : public SandboxTest,
    public ::testing::WithParamInterface<std::string> {
protected:
	void SetUp() override
	{
		SandboxTest::SetUp();
		if (IsSkipped() || HasFatalFailure())
			return;
		if (exists("/etc/make.conf"))
			conf_before = read_file("/etc/make.conf");
	}

	std::optional<std::string> conf_before;

	ToolResult run(std::vector<std::string> args)
	{
		return SandboxTest::run(std::move(args), with_fake_installer());
	}

	void fresh_out()
	{
		SandboxTest::fresh_out(true);
		std::filesystem::remove("/tmp/pkg_add.args");
		std::filesystem::remove_all("/tmp/stage");
		std::filesystem::create_directories("/tmp/stage");
	}

	// Nothing ran, and the output directory holds the two trees and the
	// log alone.
	void expect_contained(const std::string &name, const std::string &what)
	{
		EXPECT_TRUE(find_named("/tmp", "CANARY").empty()) << what;
		EXPECT_TRUE(find_named("/usr/local", "CANARY").empty()) << what;
		std::vector<std::string> top;
		for (const auto &e : std::filesystem::directory_iterator(out_dir))
			top.push_back(e.path().filename().string());
		std::sort(top.begin(), top.end());
		std::vector<std::string> expect = {name, name + "-8", "run.log"};
		std::sort(expect.begin(), expect.end());
		EXPECT_EQ(top, expect) << what;
		EXPECT_EQ(exists("/etc/make.conf"), conf_before.has_value()) << what;
		if (conf_before) {
			EXPECT_EQ(read_file("/etc/make.conf"), *conf_before) << what;
		}
		EXPECT_FALSE(exists("/etc/make.conf.zub")) << what;
	}
};

INSTANTIATE_TEST_SUITE_P(Each, HostileTest, ::testing::ValuesIn(HOSTILE));

TEST_P(HostileTest, PortDirectoryNames)
{
	const std::string &name = GetParam();
	fresh_out();
	const std::string port = "/tmp/ports/games/" + name;
	std::filesystem::remove_all("/tmp/ports");
	make_port(port, "MAINTAINER=\tjo@example.org\n",
	    "WWW: https://example.org/\n", "bin/" + name + "\n");
	write_file("/tmp/stage/share/icons/" + name + "-icon.png", name);
	// A packing-list line cannot hold a newline; the installed file
	// names the main executable then.
	write_file("/tmp/stage/bin/" + name, "");

	ToolResult res = run({"-l", "run.log", "-p", "-o", "nobody", "-8",
	    "-9", port});
	ASSERT_EQ(res.status, 0) << name << res.err;
	EXPECT_EQ(res.out, "pkg_add says hello\n") << name;
	expect_contained(name, name);

	// pkg_add got the name as one operand, never as an option.
	std::string args = name[0] == '-' ? "4\n-r\n-v\n--\n" :
	    "3\n-r\n-v\n";
	EXPECT_EQ(read_file("/tmp/pkg_add.args"), args + name + "\n");

	const std::string v8 = out_dir + "/" + name + "-8";
	const std::string v9 = out_dir + "/" + name;
	EXPECT_EQ(sourced_values(v8 + "/zub.conf",
	    {"PROGNAME", "PROGICON", "ZUBPORT"}),
	    (std::vector<std::string>{name, name + "-icon.png", port}));
	EXPECT_EQ(sourced_values(v9 + "/zub.conf",
	    {"ZUB_PROGNAME", "ZUB_MAKEPORT"}),
	    (std::vector<std::string>{name, "games/" + name}));
	EXPECT_EQ(read_file(v8 + "/overlay-dir/" + name + "-icon.png"), name);
	EXPECT_EQ(read_file(v9 + "/resources/" + name + "-icon.png"), name);
	EXPECT_TRUE(exists(v8 + "/kmenu-dir/" + name));
	EXPECT_TRUE(exists(v9 + "/xdg-menu/" + name + ".desktop"));
	struct stat st;
	ASSERT_EQ(stat((v9 + "/zub.conf").c_str(), &st), 0);
	EXPECT_EQ(st.st_uid, 65534u) << name;
	ASSERT_EQ(stat((v8 + "/kmenu-dir").c_str(), &st), 0);
	EXPECT_EQ(st.st_uid, 65534u) << name;
}

TEST_P(HostileTest, IconPathsCapturedAndFromTheCommandLine)
{
	const std::string &name = GetParam();
	make_port("/tmp/ports/games/foo", "MAINTAINER=\tjo@example.org\n", "",
	    "bin/foo\n");
	// Captured from the install.
	fresh_out();
	const std::string file = name + "-icon.png";
	write_file("/tmp/stage/share/" + name + "/icons/" + file, name);
	ToolResult res = run({"-q", "-l", "run.log", "-p", "-8", "-9",
	    "/tmp/ports/games/foo"});
	ASSERT_EQ(res.status, 0) << name;
	expect_contained("foo", name);
	EXPECT_EQ(read_file(out_dir + "/foo-8/overlay-dir/" + file), name);
	EXPECT_EQ(read_file(out_dir + "/foo/resources/" + file), name);
	EXPECT_EQ(sourced_values(out_dir + "/foo/zub.conf",
	    {"ZUB_PROGICON"}), std::vector<std::string>{file});

	// From -b, relative to the output directory, without a build.
	fresh_out();
	write_file(out_dir + "/" + name + ".png", name);
	res = run({"-l", "run.log", "-b", name + ".png", "-8", "-9", "-s",
	    "/tmp/ports/games/foo"});
	ASSERT_EQ(res.status, 0) << name;
	std::filesystem::remove(out_dir + "/" + name + ".png");
	expect_contained("foo", name);
	EXPECT_EQ(read_file(out_dir + "/foo-8/overlay-dir/" + name + ".png"),
	    name);
	EXPECT_EQ(read_file(out_dir + "/foo/resources/" + name + ".png"),
	    name);
	EXPECT_EQ(sourced_values(out_dir + "/foo-8/zub.conf", {"PROGICON"}),
	    std::vector<std::string>{name + ".png"});
}

// The values for an owner, with one more: chown taking "--reference=" for
// an option would hand the trees to the owner of a file of nobody's.
class HostileOwnerTest : public HostileTest {};

std::vector<std::string>
owner_values()
{
	std::vector<std::string> values = HOSTILE;
	values.push_back("--reference=/tmp/nobodys");
	return values;
}

INSTANTIATE_TEST_SUITE_P(Each, HostileOwnerTest,
    ::testing::ValuesIn(owner_values()));

TEST_P(HostileOwnerTest, OwnerExcludeWebsiteAndAuthorValues)
{
	const std::string &value = GetParam();
	write_file("/tmp/nobodys", "");
	ASSERT_EQ(chown("/tmp/nobodys", 65534, 65534), 0);
	fresh_out();
	// Website and author end at their line's end.
	std::string line = value.substr(0, value.find('\n'));
	make_port("/tmp/ports/games/foo", "MAINTAINER=\t" + line + "\n",
	    "WWW: http://" + line + "\n", "bin/foo\n");
	write_file("/tmp/stage/share/foo/icons/foo-icon.png", "png");
	ToolResult res = run({"-l", "run.log", "-p", "-o", value, "-e",
	    value, "-8", "-9", "/tmp/ports/games/foo"});
	ASSERT_EQ(res.status, 0) << value;
	expect_contained("foo", value);
	struct stat st;
	ASSERT_EQ(stat((out_dir + "/foo/zub.conf").c_str(), &st), 0);
	EXPECT_EQ(st.st_uid, 0u) << value;
	EXPECT_EQ(sourced_values(out_dir + "/foo-8/zub.conf",
	    {"PROGWEB", "PROGAUTHOR"}),
	    (std::vector<std::string>{"http://" + line, line})) << value;
	EXPECT_EQ(sourced_values(out_dir + "/foo/zub.conf",
	    {"ZUB_PROGWEB", "ZUB_PROGAUTHOR"}),
	    (std::vector<std::string>{"http://" + line, line})) << value;
	std::string log = read_file(out_dir + "/run.log");
	EXPECT_NE(log.find("Performing chown -R "), std::string::npos);
}

}
