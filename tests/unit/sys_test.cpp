#include <cstdlib>
#include <vector>

#include <sys/stat.h>

#include "sys/atomic_file.h"
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
		CommandPipe p = open_command(command);
		ASSERT_TRUE(p);
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
	write_file("lines", longline + "\nshort\n" + std::string("a\0b\n\0\n", 6) +
	    "last");
	FilePtr f = open_file("lines", "r");
	std::string line;
	ASSERT_TRUE(read_line(f.get(), line));
	EXPECT_EQ(line, longline + "\n");
	ASSERT_TRUE(read_line(f.get(), line));
	EXPECT_EQ(line, "short\n");
	// A NUL ends the text; a line of a NUL alone is a line all the same.
	ASSERT_TRUE(read_line(f.get(), line));
	EXPECT_EQ(line, "a");
	ASSERT_TRUE(read_line(f.get(), line));
	EXPECT_EQ(line, "");
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

TEST_F(ReadLineTest, AtomicFileNeverWritesThroughALink)
{
	Fd dir = open_dir(".");
	write_file("target", "keep");
	std::filesystem::create_symlink("target", "link");
	EXPECT_EQ(write_file_atomically(dir.get(), "link", "new", std::nullopt),
	    FileWrite::written);
	EXPECT_EQ(read_file("target"), "keep");
	EXPECT_FALSE(std::filesystem::is_symlink("link"));
	EXPECT_EQ(read_file("link"), "new");

	write_file("plain", "old text");
	EXPECT_EQ(write_file_atomically(dir.get(), "plain", "new",
	    std::nullopt), FileWrite::written);
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

struct ModeCase {
	int before_mode;	// -1: no file there before
	uid_t before_uid;
	mode_t umask_value;
	int forced;		// -1: none
	mode_t mode;		// what the file has afterwards
	uid_t uid;
};

// The replacement keeps what a rewrite in place kept: a regular file's
// owner and permission bits; a new file has the mode less the umask.
TEST_F(ReadLineTest, AtomicFileModesAndOwners)
{
	const ModeCase cases[] = {
		{-1, 0, 022, -1, 0644, 0},
		{-1, 0, 077, -1, 0600, 0},
		{0640, 65534, 022, -1, 0640, 65534},
		{04755, 0, 022, -1, 0755, 0},	// no set-id bit is passed on
		{-1, 0, 077, 0755, 0755, 0},
		{0600, 65534, 022, 0755, 0755, 65534},
	};
	Fd dir = open_dir(".");
	ASSERT_TRUE(dir.valid());
	for (const ModeCase &c : cases) {
		std::filesystem::remove("f");
		if (c.before_mode >= 0) {
			write_file("f", "old");
			ASSERT_EQ(chmod("f", c.before_mode), 0);
			if (c.before_uid != 0 && chown("f", c.before_uid, 0) != 0)
				GTEST_SKIP() << "changing owners needs root";
		}
		mode_t old = umask(c.umask_value);
		std::optional<mode_t> forced;
		if (c.forced >= 0)
			forced = static_cast<mode_t>(c.forced);
		EXPECT_EQ(write_file_atomically(dir.get(), "f", "new", forced),
		    FileWrite::written);
		umask(old);
		struct stat st;
		ASSERT_EQ(lstat("f", &st), 0);
		EXPECT_EQ(st.st_mode & 07777, c.mode) << c.before_mode;
		EXPECT_EQ(st.st_uid, c.uid);
		EXPECT_EQ(read_file("f"), "new");
	}
	// No temporary file is left, and a name the file system refuses, or a
	// directory at it, is a file that cannot be created.
	std::filesystem::create_directory("d");
	for (const std::string &refused : {std::string("d"), std::string("f/x"),
	    std::string(256, 'n')})
		EXPECT_EQ(write_file_atomically(dir.get(), refused, "x",
		    std::nullopt), FileWrite::not_created) << refused;
	EXPECT_EQ(list_tree("."), (std::vector<std::string>{"d/", "f"}));
}

}
