#include <sys/stat.h>

#include "module/module.h"

namespace {
struct TemplateLayout {
	const char *start_msg;
	const char *fail_msg;
	const char *done_msg;
	std::vector<const char *> subdirs;
};
}

static const TemplateLayout LAYOUT_V8 = {
	"Creating empty module template, version 8.\n",
	"Unable to complete version 8 template.\n",
	"Done creating module 8 template.\n",
	{"kmenu-dir", "mime-dir", "overlay-dir"},
};

static const TemplateLayout LAYOUT_V9 = {
	"Creating empty module template, version 9.\n",
	"Unable to complete module 9 template.\n",
	"Done creating module 9 template.\n",
	{"resources", "scripts", "xdg-desktop", "xdg-menu", "xdg-mime"},
};

// The subdirectories are made relative to the module directory's own
// descriptor, so the process never leaves the directory it started in.
// An existing tree is reused: only what is missing is added.
static int
make_template(PortJob &job, const Text &top, const TemplateLayout &layout)
{
	log_msg(job, "%s", layout.start_msg);
	if (top)
		mkdir(top->c_str(), 0755);
	Fd dir = top ? open_dir(*top) : Fd();
	if (!dir.valid()) {
		log_msg(job, "%s", layout.fail_msg);
		return 0;
	}
	for (const char *sub : layout.subdirs)
		mkdirat(dir.get(), sub, 0755);
	log_msg(job, "%s", layout.done_msg);
	return 1;
}

int
make_template_v8(PortJob &job)
{
	return make_template(job, job.module_dir8, LAYOUT_V8);
}

int
make_template_v9(PortJob &job)
{
	return make_template(job, job.module_dir9, LAYOUT_V9);
}
