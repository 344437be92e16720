#include "sys/command.h"

#include <cstdlib>

int
run_command(const std::string &command)
{
	std::fflush(nullptr);
	return std::system(command.c_str());
}

PipePtr
open_command(const std::string &command)
{
	std::fflush(nullptr);
	return PipePtr(popen(command.c_str(), "r"));
}
