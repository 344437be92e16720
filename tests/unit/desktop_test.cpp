#include "module/module.h"
#include "support/entries.h"
#include "unit/stage_test.h"

namespace {

class DesktopTest : public StageTest {
protected:
	void SetUp() override
	{
		StageTest::SetUp();
		job.module_dir9 = "foo";
		job.category = "Games";
		std::filesystem::create_directories("foo/xdg-desktop");
		std::filesystem::create_directories("foo/xdg-menu");
	}
};

static const std::string FOO_ENTRY = desktop_entry("foo",
    "Icon=%%ZUB_APPDIR%%/foo-icon.png\n");

TEST_F(DesktopTest, MainExecutable)
{
	job.main_exe = "bin/foo";
	job.icon = "/usr/local/share/foo/foo-icon.png";
	EXPECT_EQ(write_desktop_entry(job, std::nullopt), 1);
	EXPECT_EQ(read_file("foo/xdg-desktop/foo.desktop"), FOO_ENTRY);
	EXPECT_EQ(read_file("foo/xdg-menu/foo.desktop"),
	    FOO_ENTRY + "Categories=Games");
	EXPECT_EQ(logged(), "Creating desktop entry.\nWriting menu file.\n");
}

TEST_F(DesktopTest, ExtraExecutableNamesItsOwnEntry)
{
	job.main_exe = "bin/foo";
	EXPECT_EQ(write_desktop_entry(job, std::string("foo-config")), 1);
	std::string text = read_file("foo/xdg-desktop/foo-config.desktop");
	EXPECT_NE(text.find("\nName=Foo-config\nGenericName=foo-config\n"
	    "Exec=%%ZUB_EXEDIR%%/foo-config\n"), std::string::npos);
}

struct IconLineCase {
	Text icon;
	const char *line;	// "" for no line at all
};

TEST_F(DesktopTest, IconLine)
{
	const IconLineCase cases[] = {
		{"defaulticon.png", "Icon=%%ZUB_APPDIR%%/defaulticon.png\n"},
		{"/usr/share/icons/", "Icon=%%ZUB_APPDIR%%/\n"},
		{"", "Icon=\n"},
		{std::nullopt, ""},
	};
	for (const IconLineCase &c : cases) {
		job.icon = c.icon;
		write_desktop_entry(job, std::string("foo"));
		std::string expect = desktop_entry("foo", c.line);
		EXPECT_EQ(read_file("foo/xdg-desktop/foo.desktop"), expect);
		EXPECT_EQ(read_file("foo/xdg-menu/foo.desktop"), expect + "Categories=Games");
	}
}

TEST_F(DesktopTest, NoMainExecutable)
{
	for (Text exe : {Text(), Text("foo")}) {
		job.main_exe = exe;
		EXPECT_EQ(write_desktop_entry(job, std::nullopt), 0);
	}
	EXPECT_TRUE(std::filesystem::is_empty("foo/xdg-desktop"));
	EXPECT_TRUE(std::filesystem::is_empty("foo/xdg-menu"));
	std::string once = "Creating desktop entry.\n"
	    "Couldn't find exe to write to menu/desktop.\n";
	EXPECT_EQ(logged(), once + once);
}

TEST_F(DesktopTest, ConsoleProgramOnlySkips)
{
	job.console_app = true;
	job.main_exe = "bin/foo";
	EXPECT_EQ(write_desktop_entry(job, std::nullopt), 1);
	EXPECT_EQ(write_desktop_entry(job, std::string("bar")), 1);
	EXPECT_TRUE(std::filesystem::is_empty("foo/xdg-desktop"));
	EXPECT_EQ(logged(), "Skipping desktop entry.\nSkipping desktop entry.\n");
}

TEST_F(DesktopTest, NothingIsWrittenOutsideTheModule)
{
	std::filesystem::create_directories("foo/xdg-desktop/sub");
	for (const char *name : {"../../escape", "..", "sub/../../../x"}) {
		EXPECT_EQ(write_desktop_entry(job, std::string(name)), 1);
	}
	std::vector<std::string> top;
	for (const auto &e : std::filesystem::directory_iterator(scratch))
		top.push_back(e.path().filename().string());
	EXPECT_EQ(top, std::vector<std::string>{"foo"});
	EXPECT_TRUE(std::filesystem::is_empty("foo/xdg-menu"));
}

}
