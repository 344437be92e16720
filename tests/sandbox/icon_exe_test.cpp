// The main executable fallback and the icon choice, which look under
// /usr/local and among the captured files.
#include "inspect/inspect.h"
#include "support/job_log.h"
#include "support/sandbox_test.h"

namespace {

class IconExeTest : public SandboxTest {
protected:
	void SetUp() override
	{
		SandboxTest::SetUp();
		if (IsSkipped() || HasFatalFailure())
			return;
		job.log_mode = LogMode::LOG_FILE;
		job.port_name = "foo";
		std::filesystem::current_path(out_dir);
	}

	void TearDown() override { std::filesystem::current_path("/"); }

	std::string logged() { return logged_text(job); }

	void fresh(const std::vector<std::pair<int, std::string>> &slots)
	{
		job.new_files.assign(NEW_FILES_MAX, std::nullopt);
		for (const auto &[slot, path] : slots)
			job.new_files[slot] = path;
		job.main_exe.reset();
		job.icon.reset();
		job.log_file.reset(std::tmpfile());
	}

	PortJob job;
};

struct MainExeCase {
	bool installed;		// /usr/local/bin/foo exists
	std::vector<std::pair<int, std::string>> slots;
	const char *main_exe;
	const char *log;
};

TEST_F(IconExeTest, GuessMainExe)
{
	const MainExeCase cases[] = {
		{true, {{0, "/usr/local/bin/other"}}, "/usr/local/bin/foo",
		    "Trying to guess the port's executable.\n"
		    "Found exe /usr/local/bin/foo\n"},
		// An empty slot never ends the scan.
		{false, {{1, "/usr/local/share/foo/readme"},
		    {5, "/usr/local/bin/foo-gui"}, {6, "/usr/local/bin/later"}},
		    "/usr/local/bin/foo-gui",
		    "Trying to guess the port's executable.\nFound exe option.\n"},
		{false, {{1023, "/usr/local/bin2/x"}}, "/usr/local/bin2/x",
		    "Trying to guess the port's executable.\nFound exe option.\n"},
		{false, {{0, "/usr/local/sbin/foo"}}, nullptr,
		    "Trying to guess the port's executable.\n"
		    "Was unable to guess main executable.\n"},
	};
	for (const MainExeCase &c : cases) {
		std::filesystem::remove("/usr/local/bin/foo");
		if (c.installed)
			write_file("/usr/local/bin/foo", "");
		fresh(c.slots);
		EXPECT_EQ(guess_main_exe(job), c.main_exe ? 1 : 0);
		if (c.main_exe)
			EXPECT_EQ(job.main_exe, c.main_exe);
		else
			EXPECT_FALSE(job.main_exe);
		EXPECT_EQ(logged(), c.log);
	}
}

struct IconCase {
	std::vector<std::pair<int, std::string>> slots;
	bool default_here;	// defaulticon.png in the current directory
	bool default_installed;
	const char *backup;
	const char *icon;
	const char *log;
};

TEST_F(IconExeTest, ChooseIcon)
{
	const std::string installed = "/usr/local/share/ridivave/defaulticon.png";
	const IconCase cases[] = {
		{{{0, "/usr/local/bin/foo"}, {1, "/usr/local/share/foo/foo.png"},
		    {2, "/usr/local/share/icons/hicolor/48x48/apps/foo.png"}},
		    true, true, "b.png",
		    "/usr/local/share/icons/hicolor/48x48/apps/foo.png",
		    "Found icon file /usr/local/share/icons/hicolor/48x48/apps/foo.png\n"},
		{{{3, "/usr/local/share/foo-icon.png.orig"},
		    {9, "/usr/local/share/icons/first.png"}}, false, false, nullptr,
		    "/usr/local/share/foo-icon.png.orig",
		    "Found icon file /usr/local/share/foo-icon.png.orig\n"},
		{{{0, "/usr/local/share/foo/Icon.png"}}, true, true, nullptr,
		    "defaulticon.png", "Using default icon defaulticon.png\n"},
		{{}, false, true, nullptr, installed.c_str(),
		    "Using default icon /usr/local/share/ridivave/defaulticon.png\n"},
		{{}, false, false, "no/such/icon.png", "no/such/icon.png",
		    "Could not find icon file.\nUsing backup icon no/such/icon.png.\n"},
		{{}, false, false, nullptr, nullptr, "Could not find icon file.\n"},
	};
	for (const IconCase &c : cases) {
		std::filesystem::remove("defaulticon.png");
		std::filesystem::remove(installed);
		if (c.default_here)
			write_file("defaulticon.png", "png");
		if (c.default_installed)
			write_file(installed, "png");
		fresh(c.slots);
		if (c.backup)
			job.backup_icon = c.backup;
		else
			job.backup_icon.reset();
		EXPECT_EQ(choose_icon(job), c.icon ? 1 : 0) << c.log;
		if (c.icon)
			EXPECT_EQ(job.icon, c.icon);
		else
			EXPECT_FALSE(job.icon);
		EXPECT_EQ(logged(), c.log);
	}
}

}
