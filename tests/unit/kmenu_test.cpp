#include "module/module.h"
#include "support/entries.h"
#include "unit/stage_test.h"

namespace {

class KmenuTest : public StageTest {
protected:
	void SetUp() override
	{
		StageTest::SetUp();
		job.port_name = "foo";
		job.module_dir8 = "foo-8";
		job.category = "Games";
		std::filesystem::create_directories("foo-8/kmenu-dir");
	}
};

TEST_F(KmenuTest, GuiProgram)
{
	job.main_exe = "bin/foo";
	job.icon = "/usr/local/share/foo/foo-icon.png";
	EXPECT_EQ(write_kmenu(job), 1);
	EXPECT_EQ(read_file("foo-8/kmenu-dir/foo"),
	    kmenu_file("foo", "foo-icon.png", "Foo", GUI_FLAGS, "Games"));
	EXPECT_EQ(logged(), "Creating Kmenu file.\nFinished writing to Kmenu file.\n");
}

TEST_F(KmenuTest, ConsoleProgramWithoutExeOrIcon)
{
	job.console_app = true;
	job.port_name = "9foo";
	job.module_dir8 = "9foo-8";
	std::filesystem::create_directories("9foo-8/kmenu-dir");
	EXPECT_EQ(write_kmenu(job), 1);
	EXPECT_EQ(read_file("9foo-8/kmenu-dir/9foo"),
	    kmenu_file("", "", "9foo", CONSOLE_FLAGS, "Games"));
}

struct ExeIconCase {
	Text main_exe;
	Text icon;
	const char *exe_line;
	const char *icon_line;
};

TEST_F(KmenuTest, ExePathAndIconTakeFileNames)
{
	const ExeIconCase cases[] = {
		{"sbin/foo", "defaulticon.png", "ExePath: bin/foo", "ExeIcon: defaulticon.png"},
		{"/usr/local/bin/foo", "/x/", "ExePath: bin/foo", "ExeIcon: "},
		{"foo", "", "ExePath: bin/", "ExeIcon: "},
	};
	for (const ExeIconCase &c : cases) {
		job.main_exe = c.main_exe;
		job.icon = c.icon;
		write_kmenu(job);
		std::string text = read_file("foo-8/kmenu-dir/foo");
		EXPECT_EQ(text.substr(0, text.find('\n')), c.exe_line);
		std::string second = text.substr(text.find('\n') + 1);
		EXPECT_EQ(second.substr(0, second.find('\n')), c.icon_line);
	}
}

TEST_F(KmenuTest, DescriptionUpperCasesOnlyAToZ)
{
	for (const char *name : {"Foo", "\xc3\xa9t\xc3\xa9", "_x"}) {
		EXPECT_EQ(capitalize(name), name);
	}
	EXPECT_EQ(capitalize("foo"), "Foo");
	EXPECT_EQ(capitalize("zed"), "Zed");
	EXPECT_EQ(capitalize(""), "");
}

TEST_F(KmenuTest, MissingDirectory)
{
	std::filesystem::remove_all("foo-8");
	EXPECT_EQ(write_kmenu(job), 0);
	EXPECT_EQ(logged(), "Creating Kmenu file.\n"
	    "Unable to create Kmenu file foo-8/kmenu-dir/foo.\n");
}

}
