// Whole runs with -s: the log byte for byte, teardown and interactive mode.
#include "support/runs.h"
#include "support/sandbox_test.h"

namespace {

class RunTest : public SandboxTest {};

TEST_F(RunTest, ExamplePortWithoutBuild)
{
	const std::string port = example_port();
	ToolRun r;
	r.args = {"-8", "-9", "-s", port};
	r.cwd = out_dir;
	ToolResult res = run_tool(r);
	EXPECT_EQ(res.status, 0);
	EXPECT_EQ(res.err, "");
	EXPECT_EQ(res.out, full_run_log(example_port_run(std::nullopt,
	    std::nullopt), res.pid));
	EXPECT_EQ(list_tree(out_dir), example_port_tree(false));
	// -s changes nothing in /etc.
	EXPECT_TRUE(list_tree(etc_upper_dir()).empty());
}

// A port of before 2022 keeps its website in pkg-descr.
TEST_F(RunTest, OldLayoutPortKeepsItsWebsiteInPkgDescr)
{
	FullRun old;
	old.port = std::string(SOURCE_DIR) + "/tests/ports/games/stonehop";
	old.name = "stonehop";
	old.website = "http://stonehop.example.org/";
	old.author = "stones@example.org";
	old.main_exe = "bin/stonehop";
	ToolResult res = run({"-8", "-9", "-s", old.port});
	EXPECT_EQ(res.status, 0);
	EXPECT_EQ(res.out, full_run_log(old, res.pid));
}

TEST_F(RunTest, SkippedBuildStillRestoresAStaleBackup)
{
	write_file("/etc/make.conf", "BATCH=yes\n");
	write_file("/etc/make.conf.zub", "CPUTYPE?=native\n");
	ToolRun r;
	r.args = {"-9", "-s", "-q", example_port()};
	r.cwd = out_dir;
	ASSERT_EQ(run_tool(r).status, 0);
	EXPECT_EQ(read_file("/etc/make.conf"), "CPUTYPE?=native\n");
	EXPECT_FALSE(exists("/etc/make.conf.zub"));
}

struct PromptCase {
	std::vector<std::string> options;
	std::string input;	// all of standard input, written at the start
	std::vector<std::pair<std::string, std::string>> answers;
	bool close_stdin;
	std::string out;	// what standard output shows
	std::string web, author;	// as zub.conf holds them
};

TEST_F(RunTest, InteractiveModeAsksForWhatItCannotFind)
{
	make_port("/tmp/ports/games/foo", "PORTNAME=foo\n", "Foo.\n", "");
	const std::string prompts = "Unable to find website.\n"
	    "Please supply foo's website> "
	    "Could not guess the author of foo\n"
	    "Please provide author> ";
	const std::string long_answer = "http://" + std::string(400, 'w');
	const PromptCase cases[] = {
		// Each answer only once its prompt has reached the pipe: a
		// prompt left in a buffer would never be answered.
		{{"-q"}, "", {{"Please supply foo's website> ",
		    "http://foo.example/\n"}, {"Please provide author> ",
		    "Jo Author <jo@example.org>\n"}}, false,
		    prompts, "http://foo.example/", "Jo Author <jo@example.org>"},
		// A bare return gives the empty text.
		{{"-q"}, "\n\n", {}, false, prompts, "", ""},
		// A long answer is one answer, whole.
		{{"-q"}, long_answer + "\nme\n", {}, false, prompts, long_answer, "me"},
		// At the end of input both fields are empty.
		{{"-q"}, "", {}, false, prompts, "", ""},
		{{"-q"}, "only-web", {}, false, prompts, "only-web", ""},
		{{"-q"}, "", {}, true, prompts, "", ""},
		{{"-l", "run.log"}, "w\na\n", {}, false, prompts, "w", "a"},
	};
	for (const PromptCase &c : cases) {
		ToolRun r;
		r.args = c.options;
		r.args.insert(r.args.end(), {"-i", "-9", "-s", "/tmp/ports/games/foo"});
		r.cwd = out_dir;
		r.input = c.input;
		r.answers = c.answers;
		r.close_stdin = c.close_stdin;
		ToolResult res = run_tool(r);
		EXPECT_EQ(res.status, 0);
		EXPECT_EQ(res.out, c.out) << c.input;
		std::string conf = read_file(out_dir + "/foo/zub.conf");
		EXPECT_NE(conf.find("\nZUB_PROGWEB=\"" + c.web + "\"\n"),
		    std::string::npos) << c.input;
		EXPECT_NE(conf.find("\nZUB_PROGAUTHOR=\"" + c.author + "\"\n"),
		    std::string::npos) << c.input;
	}
	// Nothing of the prompts or answers goes into the log.
	EXPECT_EQ(read_file(out_dir + "/run.log"), "Found port /tmp/ports/games/foo\n"
	    "Got port name: foo\n"
	    "Creating empty module template, version 9.\n"
	    "Done creating module 9 template.\n"
	    "Trying to guess website.\n"
	    "Assign port to Games category.\n"
	    "Could not find exe the smart way.\n"
	    "Trying to guess the port's executable.\n"
	    "Was unable to guess main executable.\n"
	    "Looking for more bin files.\n"
	    "Could not find icon file.\n"
	    "Creating ZUB 9 conf file.\n"
	    "Creating desktop entry.\n"
	    "Couldn't find exe to write to menu/desktop.\n"
	    "Cleaning up ZUB data.\n"
	    "Reverting back to old make configuration.\n");
}

TEST_F(RunTest, InteractiveModeDoesNotAskForWhatItFound)
{
	make_port("/tmp/ports/games/foo", "PORTNAME=foo\n",
	    "WWW: http://foo.example/\n", "");
	ToolRun r;
	r.args = {"-i", "-9", "-s", "/tmp/ports/games/foo"};
	r.cwd = out_dir;
	r.input = "Jo\n";
	ToolResult res = run_tool(r);
	EXPECT_EQ(res.out.find("website>"), std::string::npos);
	EXPECT_NE(res.out.find("Trying to guess website.\n"
	    "Found website http://foo.example/\n"
	    "Could not guess the author of foo\n"
	    "Please provide author> Assign port to Games category.\n"),
	    std::string::npos) << res.out;
}

}
