#include "module/module.h"
#include "sys/text.h"

int
write_kmenu(PortJob &job)
{
	std::string text;

	log_msg(job, "Creating Kmenu file.\n");

	// Only the file name of the main executable: sbin/foo gives bin/foo.
	Text exe = after_last_slash(job.main_exe);
	Text icon = icon_file_name(job);
	const char *flag = job.console_app ? "1" : "0";

	append_format(text, "ExePath: bin/%s\n", exe ? exe->c_str() : "");
	append_format(text, "ExeIcon: %s\n", icon ? icon->c_str() : "");
	append_format(text, "ExeDescr: %s\n",
	    capitalize(*job.port_name).c_str());
	append_format(text, "ExeNoDesktop: %s\n", flag);
	append_format(text, "ExeNoMenu: %s\n", flag);
	append_format(text, "ExeNoCrashHandler: %s\n", flag);
	append_format(text, "ExeRunRoot: 0\n");
	append_format(text, "ExeRunShell: %s\n", flag);
	append_format(text, "ExeNotify: 1\n");
	append_format(text, "ExeLink: 0\n");
	append_format(text, "ExeWebLink: 0\n");
	append_format(text, "ExeTaskbar: 0\n");
	append_format(text, "ExeOwndir: 2\n");
	append_format(text, "ExeKdeCat: %s\n",
	    job.category ? job.category->c_str() : "");

	switch (write_module_file(job, *job.module_dir8, "kmenu-dir",
	    *job.port_name, text)) {
	case FileWrite::written:
		log_msg(job, "Finished writing to Kmenu file.\n");
		return 1;
	case FileWrite::not_created:
		log_msg(job, "Unable to create Kmenu file %s.\n", module_path(
		    *job.module_dir8, "kmenu-dir", *job.port_name).c_str());
		return 0;
	case FileWrite::not_written:
		break;
	}
	return 0;
}
