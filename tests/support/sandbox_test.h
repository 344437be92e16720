// The fixture of every sandboxed test.
#ifndef RIDIVAVE_TESTS_SANDBOX_TEST_H
#define RIDIVAVE_TESTS_SANDBOX_TEST_H

#include <cctype>
#include <filesystem>

#include <gtest/gtest.h>

#include "support/sandbox.h"
#include "support/tool.h"

// The name of a test that runs one row of a table: the row's own name,
// with a blank or any other sign that a test name cannot hold as "_".
template <typename Row>
std::string
row_name(const ::testing::TestParamInfo<Row> &info)
{
	std::string name = info.param.name;
	for (char &c : name)
		if (!std::isalnum(static_cast<unsigned char>(c)))
			c = '_';
	return name;
}

class SandboxTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		std::string why;
		if (!sandbox_entered(why))
			GTEST_SKIP() << why;
		ASSERT_TRUE(sandbox_reset(why)) << why;
		out_dir = "/tmp/out";
		std::filesystem::create_directories(out_dir);
	}

	// Runs the binary with `args` in the output directory.
	ToolResult run(std::vector<std::string> args, ToolRun r = ToolRun())
	{
		r.args = std::move(args);
		r.cwd = out_dir;
		return run_tool(r);
	}

	// An empty output directory for the next run of a table and, with
	// `usr_local`, nothing installed either: nothing under /usr/local, and
	// nothing staged or registered by our stand-in for the ports framework.
	void fresh_out(bool usr_local = false)
	{
		std::filesystem::remove_all(out_dir);
		std::filesystem::create_directories(out_dir);
		if (!usr_local)
			return;
		std::filesystem::remove_all("/tmp/ports-framework");
		for (const auto &e : std::filesystem::directory_iterator("/usr/local"))
			std::filesystem::remove_all(e.path());
	}

	// Lets a test see the make configuration that it left behind.
	std::string etc_change(const std::string &name)
	{
		return etc_upper_dir() + "/" + name;
	}

	std::string out_dir;
};

#endif
