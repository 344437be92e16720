#include <sys/stat.h>

#include "module/module.h"
#include "unit/stage_test.h"

namespace {

class TemplatesTest : public StageTest {
protected:
	void SetUp() override
	{
		StageTest::SetUp();
		job.module_dir8 = "foo-8";
		job.module_dir9 = "foo";
	}

	static mode_t mode_of(const std::string &path)
	{
		struct stat st;
		EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
		return st.st_mode & 07777;
	}
};

static const char *const TREE_V8[] = {"foo-8", "foo-8/kmenu-dir",
    "foo-8/mime-dir", "foo-8/overlay-dir"};
static const char *const TREE_V9[] = {"foo", "foo/resources", "foo/scripts",
    "foo/xdg-desktop", "foo/xdg-menu", "foo/xdg-mime"};

TEST_F(TemplatesTest, BothTreesUnderTheUmask)
{
	for (mode_t mask : {022, 077}) {
		std::filesystem::remove_all("foo-8");
		std::filesystem::remove_all("foo");
		mode_t old = umask(mask);
		EXPECT_EQ(make_template_v8(job), 1);
		EXPECT_EQ(make_template_v9(job), 1);
		umask(old);
		for (const char *dir : TREE_V8)
			EXPECT_EQ(mode_of(dir), 0755 & ~mask) << dir;
		for (const char *dir : TREE_V9)
			EXPECT_EQ(mode_of(dir), 0755 & ~mask) << dir;
	}
	EXPECT_EQ(std::filesystem::current_path(), scratch);
	std::string once = "Creating empty module template, version 8.\n"
	    "Done creating module 8 template.\n"
	    "Creating empty module template, version 9.\n"
	    "Done creating module 9 template.\n";
	EXPECT_EQ(logged(), once + once);
}

TEST_F(TemplatesTest, ExistingTreeIsReusedAndCompleted)
{
	std::filesystem::create_directories("foo/resources");
	write_file("foo/zub.conf", "kept");
	EXPECT_EQ(make_template_v9(job), 1);
	EXPECT_EQ(read_file("foo/zub.conf"), "kept");
	for (const char *dir : TREE_V9)
		EXPECT_TRUE(std::filesystem::is_directory(dir)) << dir;
}

TEST_F(TemplatesTest, PlainFileNamedLikeTheModuleFails)
{
	write_file("foo-8", "");
	write_file("foo", "");
	EXPECT_EQ(make_template_v8(job), 0);
	EXPECT_EQ(make_template_v9(job), 0);
	EXPECT_EQ(logged(), "Creating empty module template, version 8.\n"
	    "Unable to complete version 8 template.\n"
	    "Creating empty module template, version 9.\n"
	    "Unable to complete module 9 template.\n");
}

TEST_F(TemplatesTest, LinkedModuleDirectoryLeavesUsWhereWeStarted)
{
	std::filesystem::create_directories("elsewhere/deep/target");
	std::filesystem::create_directory_symlink("elsewhere/deep/target", "foo");
	EXPECT_EQ(make_template_v9(job), 1);
	EXPECT_EQ(std::filesystem::current_path(), scratch);
	EXPECT_TRUE(std::filesystem::is_directory(
	    "elsewhere/deep/target/xdg-menu"));
}

}
