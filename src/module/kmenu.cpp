#include "module/module.h"

int
write_kmenu(PortJob &job)
{
	log_msg(job, "Creating Kmenu file.\n");
	std::string path = *job.module_dir8 + "/kmenu-dir/" + *job.port_name;
	FilePtr f = create_file(path);
	if (f == nullptr) {
		log_msg(job, "Unable to create Kmenu file %s.\n", path.c_str());
		return 0;
	}

	// Only the file name of the main executable: sbin/foo gives bin/foo.
	Text exe = after_last_slash(job.main_exe);
	Text icon = icon_file_name(job);
	const char *flag = job.console_app ? "1" : "0";

	std::fprintf(f.get(), "ExePath: bin/%s\n", exe ? exe->c_str() : "");
	std::fprintf(f.get(), "ExeIcon: %s\n", icon ? icon->c_str() : "");
	std::fprintf(f.get(), "ExeDescr: %s\n",
	    capitalize(*job.port_name).c_str());
	std::fprintf(f.get(), "ExeNoDesktop: %s\n", flag);
	std::fprintf(f.get(), "ExeNoMenu: %s\n", flag);
	std::fprintf(f.get(), "ExeNoCrashHandler: %s\n", flag);
	std::fprintf(f.get(), "ExeRunRoot: 0\n");
	std::fprintf(f.get(), "ExeRunShell: %s\n", flag);
	std::fprintf(f.get(), "ExeNotify: 1\n");
	std::fprintf(f.get(), "ExeLink: 0\n");
	std::fprintf(f.get(), "ExeWebLink: 0\n");
	std::fprintf(f.get(), "ExeTaskbar: 0\n");
	std::fprintf(f.get(), "ExeOwndir: 2\n");
	std::fprintf(f.get(), "ExeKdeCat: %s\n",
	    job.category ? job.category->c_str() : "");
	f.reset();

	log_msg(job, "Finished writing to Kmenu file.\n");
	return 1;
}
