// The capture's reading of what find printed, with the exclude text.  The
// input is the exclude text (absent when the input holds no NUL), a NUL,
// the files' output, a NUL and the links' output.
#include <cstdint>
#include <cstdio>

#include "install/install.h"

static void
take(PortJob &job, const std::string &out, const char *kind, int &slot)
{
	if (out.empty())
		return;
	FILE *f = fmemopen(const_cast<char *>(out.data()), out.size(), "r");
	if (f == nullptr)
		std::abort();
	take_found_paths(job, f, kind, slot);
	std::fclose(f);
}

extern "C" int
LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
	std::string in(reinterpret_cast<const char *>(data), size);
	PortJob job;
	job.log_mode = LogMode::LOG_QUIET;
	std::string::size_type nul = in.find('\0');
	std::string files = in, links;
	if (nul != std::string::npos) {
		job.exclude = in.substr(0, nul);
		files = in.substr(nul + 1);
		std::string::size_type second = files.find('\0');
		if (second != std::string::npos) {
			links = files.substr(second + 1);
			files.resize(second);
		}
	}

	int slot = 0;
	take(job, files, "file", slot);
	take(job, links, "link", slot);
	if (slot < 0 || slot > NEW_FILES_MAX)
		std::abort();
	for (int i = 0; i < NEW_FILES_MAX; i++) {
		const Text &path = job.new_files[i];
		if (!path)
			continue;
		if (i >= slot)
			std::abort();	// only taken slots are filled
		if (job.exclude && path->find(*job.exclude) != std::string::npos)
			std::abort();
	}
	return 0;
}
