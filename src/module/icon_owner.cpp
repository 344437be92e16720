#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "module/module.h"
#include "sys/owner.h"
#include "sys/quote.h"

// Copies the icon into `sub` of `module` under its file name.  The source is
// opened as cp would open it, the icon path as stored, relative to the
// starting directory; a source that cannot be read copies nothing and is
// named on standard error.  A destination that cannot be made is passed
// over without a word, as it was with cp.
static void
copy_icon(PortJob &job, const std::string &module, const char *sub)
{
	const std::string &icon = *job.icon;
	struct stat st;

	Fd src(open(icon.c_str(), O_RDONLY | O_CLOEXEC));
	if (!src.valid() || fstat(src.get(), &st) != 0) {
		warn("%s: %s", icon.c_str(), std::strerror(errno));
		return;
	}
	if (S_ISDIR(st.st_mode)) {
		warn("%s: %s", icon.c_str(), std::strerror(EISDIR));
		return;
	}
	std::string name = *icon_file_name(job);
	int dir = module_file_dir(job, module, sub, name);
	AtomicFile copy;
	if (dir < 0 || !copy.create(dir, name, st.st_mode & 0777))
		return;

	char buf[65536];
	for (;;) {
		ssize_t n = read(src.get(), buf, sizeof buf);
		if (n < 0 && errno == EINTR)
			continue;
		if (n < 0) {
			warn("%s: %s", icon.c_str(), std::strerror(errno));
			return;		// the partial copy is removed
		}
		if (n == 0)
			break;
		copy.write(buf, static_cast<size_t>(n));
	}
	if (copy.commit() == FileWrite::not_written)
		report_unwritten(job, module_path(module, sub, name));
}

int
copy_icon_v8(PortJob &job)
{
	if (!job.icon)
		return 0;
	log_msg(job, "Copying icon file %s\n", job.icon->c_str());
	copy_icon(job, *job.module_dir8, "overlay-dir");
	return 1;
}

int
copy_icon_v9(PortJob &job)
{
	if (!job.icon)
		return 0;
	log_msg(job, "Copying icon file, %s, to resource directory.\n",
	    job.icon->c_str());
	copy_icon(job, *job.module_dir9, "resources");
	return 1;
}

// Runs last, after every file of the module is written.  The log shows the
// command this once was, quoted as the shell would take it.
static void
chown_module(PortJob &job, const std::string &module_dir)
{
	if (!job.owner)
		return;
	log_msg(job, "Performing %s\n", shell_command("chown -R", {*job.owner,
	    module_dir}).c_str());

	Owner owner;
	std::string why;
	if (!parse_owner(*job.owner, owner, why)) {
		warn("%s", why.c_str());
		return;
	}
	std::vector<std::string> skipped;
	chown_tree(module_dir, owner, skipped);
	for (const std::string &path : skipped)
		warn("%s: has other hard links; owner left as it is",
		    path.c_str());
}

void
chown_module_v8(PortJob &job)
{
	chown_module(job, *job.module_dir8);
}

void
chown_module_v9(PortJob &job)
{
	chown_module(job, *job.module_dir9);
}
