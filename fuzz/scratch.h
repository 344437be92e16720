// A scratch directory that a fuzz target makes its current directory once,
// so that whatever the code under test creates stays inside it.
#ifndef RIDIVAVE_FUZZ_SCRATCH_H
#define RIDIVAVE_FUZZ_SCRATCH_H

#include <cstdlib>
#include <string>
#include <unistd.h>

inline const std::string &
enter_scratch()
{
	static const std::string dir = [] {
		const char *tmp = std::getenv("TMPDIR");
		std::string tmpl = std::string(tmp != nullptr ? tmp : "/tmp") +
		    "/ridivave-fuzz.XXXXXX";
		if (mkdtemp(tmpl.data()) == nullptr || chdir(tmpl.c_str()) != 0)
			std::abort();
		return tmpl;
	}();
	return dir;
}

#endif
