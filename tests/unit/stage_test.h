// The fixture of the unit tests: a PortJob whose log is kept for the test,
// and a scratch directory that is the current directory during the test.
#ifndef RIDIVAVE_TESTS_STAGE_TEST_H
#define RIDIVAVE_TESTS_STAGE_TEST_H

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "job/job.h"
#include "support/files.h"
#include "support/job_log.h"

class StageTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		start = std::filesystem::current_path();
		std::string tmpl = (std::filesystem::temp_directory_path() /
		    "ridivave-unit.XXXXXX").string();
		ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
		scratch = tmpl;
		std::filesystem::current_path(scratch);
		job.log_mode = LogMode::LOG_FILE;
		job.log_file.reset(std::tmpfile());
	}

	void TearDown() override
	{
		std::filesystem::current_path(start);
		std::filesystem::remove_all(scratch);
	}

	// What the stages logged so far.
	std::string logged() { return logged_text(job); }

	// A port directory "ports/<category>/<name>" in the scratch directory.
	void use_port(const std::string &category, const std::string &name)
	{
		job.port_path = "ports/" + category + "/" + name;
		job.ports_root = "ports/";
		job.port_name = name;
		job.module_dir8 = name + "-8";
		job.module_dir9 = name;
		std::filesystem::create_directories(*job.port_path);
	}

	void port_file(const std::string &name, const std::string &text)
	{
		write_file(*job.port_path + "/" + name, text);
	}

	PortJob job;
	std::filesystem::path start;
	std::string scratch;
};

#endif
