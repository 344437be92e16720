#include "module/module.h"
#include "sys/text.h"

// Lines 1 to 9, the same in the desktop and the menu entry.
static std::string
entry_lines(const PortJob &job, const std::string &name,
    const std::string &display)
{
	std::string text;

	text.reserve(256);	// the whole entry, formatted in place
	append_format(text, "[Desktop Entry]\n");
	append_format(text, "Value=1.0\n");
	append_format(text, "Type=Application\n");
	append_format(text, "Name=%s\n", display.c_str());
	append_format(text, "GenericName=%s\n", name.c_str());
	append_format(text, "Exec=%%%%ZUB_EXEDIR%%%%/%s\n", name.c_str());
	append_format(text, "Path=%%%%ZUB_APPDIR%%%%\n");
	if (job.icon && job.icon->empty())
		append_format(text, "Icon=\n");
	else if (job.icon)
		append_format(text, "Icon=%%%%ZUB_APPDIR%%%%/%s\n",
		    icon_file_name(job)->c_str());
	append_format(text, "StartupNotify=true\n");
	return text;
}

// A file that cannot be created is passed over without a word.
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
	// An entry named ".." is written nowhere, like one that holds a slash.
	const bool writable = *name != "..";
	const std::string file = *name + ".desktop";
	std::string text = entry_lines(job, *name, capitalize(*name));

	if (writable)
		write_module_file(job, *job.module_dir9, "xdg-desktop", file, text);
	log_msg(job, "Writing menu file.\n");
	append_format(text, "Categories=%s",
	    job.category ? job.category->c_str() : "");
	if (writable)
		write_module_file(job, *job.module_dir9, "xdg-menu", file, text);
	return 1;
}
