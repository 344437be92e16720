#include <cstdlib>
#include <vector>

#include "sys/command.h"
#include "sys/quote.h"
#include "unit/stage_test.h"

namespace {

TEST(ShellQuote, PlainWordsStandAsTheyAre)
{
	for (const char *word : {"foo", "foo-8/overlay-dir/", "user:group",
	    "a_b@c%d+e=f,g.h", "/usr/local/share/icons/foo.png", "-rf"})
		EXPECT_EQ(shell_quote(word), word);
}

TEST(ShellQuote, EverythingElseIsSingleQuoted)
{
	static const struct {
		const char *in, *out;
	} cases[] = {
		{"", "''"},
		{"a b", "'a b'"},
		{"it's", "'it'\\''s'"},
		{"$(touch x)", "'$(touch x)'"},
		{"a;b", "'a;b'"},
		{"`id`", "'`id`'"},
		{"\xc3\xa9t\xc3\xa9", "'\xc3\xa9t\xc3\xa9'"},
		{"new\nline", "'new\nline'"},
	};
	for (const auto &c : cases)
		EXPECT_EQ(shell_quote(c.in), c.out);
}

TEST(ShellQuote, TheShellGivesBackTheValue)
{
	for (const char *value : {"a b", "it's", "$(echo no)", "'\"`\\",
	    "x;y|z&", "new\nline"}) {
		std::string command = "printf %s " + shell_quote(value);
		PipePtr p = open_command(command);
		ASSERT_NE(p, nullptr);
		std::string out;
		int c;
		while ((c = std::fgetc(p.get())) != EOF)
			out.push_back(static_cast<char>(c));
		EXPECT_EQ(out, value);
	}
}

TEST(ShellCommand, OperandsAreQuotedAndNeverOptions)
{
	static const struct {
		std::vector<std::string> operands;
		const char *line;
	} cases[] = {
		{{"nobody", "foo-8"}, "chown -R nobody foo-8"},
		{{"jo smith", "foo"}, "chown -R 'jo smith' foo"},
		{{"--reference=/etc/shadow", "foo"},
		    "chown -R -- --reference=/etc/shadow foo"},
		{{"nobody", "-rf"}, "chown -R -- nobody -rf"},
		{{"", "foo"}, "chown -R '' foo"},
	};
	for (const auto &c : cases)
		EXPECT_EQ(shell_command("chown -R", {c.operands[0], c.operands[1]}),
		    c.line);
}

class ReadLineTest : public StageTest {};

TEST_F(ReadLineTest, WholeLinesOfAnyLength)
{
	std::string longline(100000, 'x');
	write_file("lines", longline + "\nshort\nlast");
	FilePtr f = open_file("lines", "r");
	std::string line;
	ASSERT_TRUE(read_line(f.get(), line));
	EXPECT_EQ(line, longline + "\n");
	ASSERT_TRUE(read_line(f.get(), line));
	EXPECT_EQ(line, "short\n");
	ASSERT_TRUE(read_line(f.get(), line));
	EXPECT_EQ(line, "last");
	EXPECT_FALSE(read_line(f.get(), line));
}

TEST_F(ReadLineTest, CanOpenIsTheExistenceTest)
{
	write_file("here", "");
	EXPECT_TRUE(can_open("here"));
	EXPECT_FALSE(can_open("missing"));
}

TEST_F(ReadLineTest, CreateFileNeverWritesThroughALink)
{
	write_file("target", "keep");
	std::filesystem::create_symlink("target", "link");
	EXPECT_EQ(create_file("link"), nullptr);
	EXPECT_EQ(read_file("target"), "keep");

	write_file("plain", "old text");
	FilePtr f = create_file("plain");
	ASSERT_NE(f, nullptr);
	std::fputs("new", f.get());
	f.reset();
	EXPECT_EQ(read_file("plain"), "new");
}

TEST_F(ReadLineTest, CurrentDirOfALongPath)
{
	std::string deep = scratch;
	for (int i = 0; i < 40; i++)
		deep += "/" + std::string(60, 'd');
	std::filesystem::create_directories(deep);
	std::filesystem::current_path(deep);
	EXPECT_EQ(current_dir(), deep);
}

}
