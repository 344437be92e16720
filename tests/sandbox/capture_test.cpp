// The capture of new files under /usr/local, called on a PortJob.
#include <chrono>
#include <sstream>

#include "install/install.h"
#include "support/job_log.h"
#include "support/sandbox_test.h"

namespace {

class CaptureTest : public SandboxTest {
protected:
	void SetUp() override
	{
		SandboxTest::SetUp();
		if (IsSkipped() || HasFatalFailure())
			return;
		write_file("/usr/local/old/file", "before the marker");
		job.log_mode = LogMode::LOG_FILE;
		job.log_file.reset(std::tmpfile());
		// Whatever the clock, the marker waits for about a second at
		// the most.
		auto start = std::chrono::steady_clock::now();
		ASSERT_EQ(create_marker(job), 1);
		EXPECT_LT(std::chrono::steady_clock::now() - start,
		    std::chrono::milliseconds(1500));
		job.log_file.reset(std::tmpfile());	// the capture's lines alone
	}

	std::string logged() { return logged_text(job); }

	// Checks every slot against the lines as the log shows them taken, in
	// order, and returns the stored paths.
	std::vector<std::string> check_slots()
	{
		std::istringstream log(logged());
		std::string line;
		std::vector<std::string> stored;
		int slot = -1;
		while (std::getline(log, line)) {
			if (line == "Skipping due to exclude.") {
				EXPECT_FALSE(job.new_files[slot]) << slot;
				continue;
			}
			if (line.rfind("Found new ", 0) != 0)
				continue;
			if (slot >= 0 && job.new_files[slot])
				stored.push_back(*job.new_files[slot]);
			slot++;
			EXPECT_LT(slot, NEW_FILES_MAX);
			if (slot < NEW_FILES_MAX && job.new_files[slot]) {
				EXPECT_EQ(*job.new_files[slot], line.substr(16)) << slot;
			}
		}
		if (slot >= 0 && job.new_files[slot])
			stored.push_back(*job.new_files[slot]);
		for (int i = slot + 1; i < NEW_FILES_MAX; i++)
			EXPECT_FALSE(job.new_files[i]) << i;
		return stored;
	}

	PortJob job;
};

TEST_F(CaptureTest, FilesThenLinksAndNothingOld)
{
	write_file("/usr/local/bin/foo", "");
	write_file("/usr/local/share/foo/data", "");
	std::filesystem::create_symlink("foo", "/usr/local/bin/foo-link");
	std::filesystem::create_symlink("data", "/usr/local/share/foo/dlink");
	EXPECT_EQ(capture_new_files(job), 1);
	std::vector<std::string> stored = check_slots();
	ASSERT_EQ(stored.size(), 4u);
	std::sort(stored.begin(), stored.begin() + 2);
	std::sort(stored.begin() + 2, stored.end());
	EXPECT_EQ(stored, (std::vector<std::string>{"/usr/local/bin/foo",
	    "/usr/local/share/foo/data", "/usr/local/bin/foo-link",
	    "/usr/local/share/foo/dlink"}));
	std::string marker = "/tmp/" + std::to_string(getpid());
	std::string log = logged();
	EXPECT_EQ(log.rfind("Finding files using find /usr/local -type f -cnewer " +
	    marker + "\n", 0), 0u);
	EXPECT_NE(log.find("Finding links using find /usr/local/ -type l -cnewer " +
	    marker + "\n"), std::string::npos);
}

TEST_F(CaptureTest, NothingNew)
{
	EXPECT_EQ(capture_new_files(job), 1);
	EXPECT_TRUE(check_slots().empty());
}

struct ExcludeCase {
	const char *exclude;
	std::vector<std::string> kept;
};

TEST_F(CaptureTest, ExcludedLinesKeepTheirSlotEmpty)
{
	for (const char *path : {"/usr/local/share/doc/foo/README",
	    "/usr/local/bin/docview", "/usr/local/share/Doc/x",
	    "/usr/local/bin/foo"})
		write_file(path, "");
	const ExcludeCase cases[] = {
		{"doc", {"/usr/local/bin/foo", "/usr/local/share/Doc/x"}},
		{"", {}},
		{"/usr/local/bin/foo", {"/usr/local/bin/docview",
		    "/usr/local/share/Doc/x", "/usr/local/share/doc/foo/README"}},
	};
	for (const ExcludeCase &c : cases) {
		job.exclude = c.exclude;
		job.new_files.assign(NEW_FILES_MAX, std::nullopt);
		job.log_file.reset(std::tmpfile());
		EXPECT_EQ(capture_new_files(job), 1);
		std::vector<std::string> stored = check_slots();
		std::sort(stored.begin(), stored.end());
		EXPECT_EQ(stored, c.kept) << c.exclude;
		std::string log = logged();
		size_t found = 0, skipped = 0;
		for (size_t at = 0; (at = log.find("Found new file: ", at)) !=
		    std::string::npos; at++)
			found++;
		for (size_t at = 0; (at = log.find("Skipping due to exclude.\n",
		    at)) != std::string::npos; at++)
			skipped++;
		EXPECT_EQ(found, 4u);
		EXPECT_EQ(skipped, 4 - c.kept.size());
	}
}

TEST_F(CaptureTest, AtMostTheTableAndLinksDroppedWhenFull)
{
	for (int i = 0; i < 1100; i++)
		write_file("/usr/local/share/many/f" + std::to_string(i), "");
	std::filesystem::create_symlink("f0", "/usr/local/share/many/link");
	EXPECT_EQ(capture_new_files(job), 1);
	std::vector<std::string> stored = check_slots();
	EXPECT_EQ(stored.size(), static_cast<size_t>(NEW_FILES_MAX));
	for (const Text &slot : job.new_files)
		ASSERT_TRUE(slot && slot->find("/many/f") != std::string::npos);
	EXPECT_EQ(logged().find("Found new link"), std::string::npos);
}

TEST_F(CaptureTest, LinksFollowTheFilesUntilTheTableIsFull)
{
	for (int i = 0; i < 1020; i++)
		write_file("/usr/local/share/many/f" + std::to_string(i), "");
	for (int i = 0; i < 10; i++)
		std::filesystem::create_symlink("f0",
		    "/usr/local/share/many/l" + std::to_string(i));
	EXPECT_EQ(capture_new_files(job), 1);
	check_slots();
	for (int i = 0; i < 1020; i++)
		ASSERT_NE(job.new_files[i]->find("/many/f"), std::string::npos);
	for (int i = 1020; i < NEW_FILES_MAX; i++)
		ASSERT_NE(job.new_files[i]->find("/many/l"), std::string::npos);
}

TEST_F(CaptureTest, LongPathIsOneEntry)
{
	std::string dir = "/usr/local/share";
	for (int i = 0; i < 12; i++)
		dir += "/" + std::string(200, 'a' + i);
	write_file(dir + "/icon.png", "");
	EXPECT_EQ(capture_new_files(job), 1);
	EXPECT_EQ(check_slots(), std::vector<std::string>{dir + "/icon.png"});
}

TEST_F(CaptureTest, NameWithANewlineIsOneEntry)
{
	const std::vector<std::string> paths = {
		"/usr/local/share/icons/two\nlines-icon.png",
		"/usr/local/share/icons/\n/etc/passwd-icon.png",
		"/usr/local/bin/plain",
	};
	for (const std::string &p : paths)
		write_file(p, "");
	EXPECT_EQ(capture_new_files(job), 1);
	std::vector<std::string> stored;
	for (const Text &slot : job.new_files)
		if (slot)
			stored.push_back(*slot);
	std::sort(stored.begin(), stored.end());
	std::vector<std::string> expect = paths;
	std::sort(expect.begin(), expect.end());
	EXPECT_EQ(stored, expect);
}

}
