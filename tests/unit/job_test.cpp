#include "run/job.h"
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

TEST(JobNew, Defaults)
{
	std::unique_ptr<PortJob> job = job_new();
	EXPECT_EQ(job->log_mode, LOG_STDOUT);
	EXPECT_EQ(job->install_method, INSTALL_MAKE);
	EXPECT_EQ(job->console_app, 0);
	ASSERT_EQ(job->new_files.size(), static_cast<size_t>(NEW_FILES_MAX));
	for (const Text &slot : job->new_files)
		EXPECT_FALSE(slot);
	EXPECT_FALSE(job->port_path);
	EXPECT_TRUE(job->extra_exes.empty());
}

class LogTest : public StageTest {};

TEST_F(LogTest, QuietWritesNothing)
{
	log_msg(job, "one %d\n", 1);
	job.log_mode = LOG_QUIET;
	log_msg(job, "two %d\n", 2);
	job.log_mode = LOG_FILE;
	EXPECT_EQ(logged(), "one 1\n");
}

TEST_F(LogTest, FileModeWithoutAStreamWritesNothing)
{
	job.log_file.reset();
	log_msg(job, "lost\n");	// must not crash
	SUCCEED();
}

TEST(MarkerPath, IsTmpAndThePid)
{
	EXPECT_EQ(marker_path(), "/tmp/" + std::to_string(getpid()));
}

}
