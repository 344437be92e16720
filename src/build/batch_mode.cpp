#include <sys/stat.h>
#include <unistd.h>

#include "build/build.h"

// Saves the real configuration and leaves make.conf holding BATCH=yes alone;
// teardown puts the saved file back.
int
enable_batch_mode(PortJob &job)
{
	struct stat st;
	const bool had_conf = lstat(MAKE_CONF, &st) == 0;

	log_msg(job, "Switching make to batch mode.\n");

	// A backup already there was left by an interrupted run: it is the real
	// configuration, and the make.conf beside it only its batch copy.
	if (had_conf && !can_open(MAKE_CONF_BACKUP) &&
	    run_shell("cp /etc/make.conf /etc/make.conf.zub") != 0) {
		unlink(MAKE_CONF_BACKUP);	// a partial copy is no backup
		log_msg(job, "Was unable to create batch mode.\n");
		return 0;
	}

	FilePtr f = open_file(MAKE_CONF, "w");
	if (f == nullptr) {
		log_msg(job, "Was unable to create batch mode.\n");
		if (can_open(MAKE_CONF_BACKUP))
			run_shell("mv /etc/make.conf.zub /etc/make.conf");
		return 0;
	}
	job.make_conf_created = !had_conf;
	std::fprintf(f.get(), "BATCH=yes\n");
	f.reset();
	log_msg(job, "Switch to batch mode complete.\n");
	return 1;
}
