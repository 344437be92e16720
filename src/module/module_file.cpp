#include "module/module.h"

std::string
module_path(const std::string &module, const char *sub,
    const std::string &name)
{
	return module + "/" + (sub != nullptr ? std::string(sub) + "/" : "") +
	    name;
}

// A name holding a slash would reach into a subdirectory the user may have
// planted, and ".." out of the module.  The module directory is opened as
// the operator named it; below it, a link or anything but a directory where
// the layout has a subdirectory means that nothing is written there.
Fd
module_file_dir(const std::string &module, const char *sub,
    const std::string &name)
{
	if (name.find('/') != std::string::npos || name == "..")
		return Fd();
	Fd dir = open_dir(module);
	if (sub == nullptr || !dir.valid())
		return dir;
	return open_dir_at(dir.get(), sub);
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
	Fd dir = module_file_dir(module, sub, name);
	if (!dir.valid())
		return FileWrite::not_created;
	FileWrite result = write_file_atomically(dir.get(), name, text, mode);
	if (result == FileWrite::not_written)
		report_unwritten(job, module_path(module, sub, name));
	return result;
}
