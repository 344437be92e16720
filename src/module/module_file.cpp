#include "module/module.h"

std::string
module_path(const std::string &module, const char *sub,
    const std::string &name)
{
	return module + "/" + (sub != nullptr ? std::string(sub) + "/" : "") +
	    name;
}

// The directory kept in the record under `key`, opened the first time it
// is asked for: a module directory by its name, a subdirectory as `name`
// in its `parent`.
static int
kept_dir(PortJob &job, const std::string &key, int parent, const char *name)
{
	auto [at, added] = job.module_dirs.try_emplace(key);
	if (added)
		at->second = parent < 0 ? open_dir(key) : open_dir_at(parent, name);
	return at->second.get();
}

// A name holding a slash would reach into a subdirectory the user may have
// planted, and ".." out of the module.  The module directory is opened as
// the operator named it; below it, a link or anything but a directory where
// the layout has a subdirectory means that nothing is written there.
int
module_file_dir(PortJob &job, const std::string &module, const char *sub,
    const std::string &name)
{
	if (name.find('/') != std::string::npos || name == "..")
		return -1;
	int dir = kept_dir(job, module, -1, nullptr);
	if (sub == nullptr || dir < 0)
		return dir;
	return kept_dir(job, module + "/" + sub, dir, sub);
}

void
close_module_dirs(PortJob &job)
{
	job.module_dirs.clear();
}

void
report_unwritten(PortJob &job, const std::string &path)
{
	log_msg(job, "Unable to write %s.\n", path.c_str());
	job.write_failed = true;
}

FileWrite
write_module_file(PortJob &job, const std::string &module, const char *sub,
    const std::string &name, const std::string &text,
    std::optional<mode_t> mode)
{
	int dir = module_file_dir(job, module, sub, name);
	if (dir < 0)
		return FileWrite::not_created;
	FileWrite result = write_file_atomically(dir, name, text, mode);
	if (result == FileWrite::not_written)
		report_unwritten(job, module_path(module, sub, name));
	return result;
}
