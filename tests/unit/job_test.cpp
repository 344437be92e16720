#include <fcntl.h>
#include <unistd.h>

#include "job/job.h"
#include "unit/stage_test.h"

namespace {

TEST(StripNewline, CutsAtTheFirstNewline)
{
	static const struct {
		const char *in, *out;
	} cases[] = {
		{"abc\n", "abc"},
		{"abc\ndef\n", "abc"},
		{"\n", ""},
		{"abc", "abc"},
		{"", ""},
	};
	for (const auto &c : cases) {
		std::string text = c.in;
		strip_newline(text);
		EXPECT_EQ(text, c.out);
	}
}

class LogTest : public StageTest {};

TEST_F(LogTest, QuietWritesNothing)
{
	log_msg(job, "one %d\n", 1);
	job.log_mode = LogMode::LOG_QUIET;
	log_msg(job, "two %d\n", 2);
	job.log_mode = LogMode::LOG_FILE;
	EXPECT_EQ(logged(), "one 1\n");
}

// A -l file that could not be opened: nothing goes to standard output
// instead, and nothing breaks.
TEST_F(LogTest, FileModeWithoutAStreamWritesNothing)
{
	std::fflush(stdout);
	Fd saved(dup(1));
	Fd out(open("stdout", O_WRONLY | O_CREAT | O_TRUNC, 0644));
	ASSERT_TRUE(saved.valid() && out.valid());
	dup2(out.get(), 1);
	job.log_file.reset();
	log_msg(job, "lost\n");
	std::fflush(stdout);
	dup2(saved.get(), 1);
	EXPECT_EQ(read_file("stdout"), "");
}

}
