#include "module/module.h"

// A name with a ".." component would reach outside the module.
static bool
leaves_module(const std::string &name)
{
	std::string::size_type start = 0;

	for (;;) {
		std::string::size_type end = name.find('/', start);
		if (name.substr(start, end == std::string::npos ? end :
		    end - start) == "..")
			return true;
		if (end == std::string::npos)
			return false;
		start = end + 1;
	}
}

// Lines 1 to 9, the same in the desktop and the menu entry.
static void
put_entry_lines(FILE *f, const PortJob &job, const std::string &name,
    const std::string &display)
{
	std::fprintf(f, "[Desktop Entry]\n");
	std::fprintf(f, "Value=1.0\n");
	std::fprintf(f, "Type=Application\n");
	std::fprintf(f, "Name=%s\n", display.c_str());
	std::fprintf(f, "GenericName=%s\n", name.c_str());
	std::fprintf(f, "Exec=%%%%ZUB_EXEDIR%%%%/%s\n", name.c_str());
	std::fprintf(f, "Path=%%%%ZUB_APPDIR%%%%\n");
	if (job.icon && job.icon->empty())
		std::fprintf(f, "Icon=\n");
	else if (job.icon)
		std::fprintf(f, "Icon=%%%%ZUB_APPDIR%%%%/%s\n",
		    icon_file_name(job)->c_str());
	std::fprintf(f, "StartupNotify=true\n");
}

static FilePtr
open_entry(const std::string &path, const std::string &name)
{
	if (leaves_module(name))
		return nullptr;
	return create_file(path);
}

int
write_desktop_entry(PortJob &job, const Text &exe_name)
{
	if (job.console_app) {
		log_msg(job, "Skipping desktop entry.\n");
		return 1;
	}
	log_msg(job, "Creating desktop entry.\n");

	Text name = exe_name ? exe_name : after_last_slash(job.main_exe);
	if (!name) {
		log_msg(job, "Couldn't find exe to write to menu/desktop.\n");
		return 0;
	}
	std::string display = capitalize(*name);

	std::string path = *job.module_dir9 + "/xdg-desktop/" + *name +
	    ".desktop";
	if (FilePtr f = open_entry(path, *name))
		put_entry_lines(f.get(), job, *name, display);

	log_msg(job, "Writing menu file.\n");
	path = *job.module_dir9 + "/xdg-menu/" + *name + ".desktop";
	if (FilePtr f = open_entry(path, *name)) {
		put_entry_lines(f.get(), job, *name, display);
		std::fprintf(f.get(), "Categories=%s",
		    job.category ? job.category->c_str() : "");
	}
	return 1;
}
