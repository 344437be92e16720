#include <sys/stat.h>
#include <unistd.h>

#include "install/install.h"
#include "sys/command.h"

// Saves the real configuration and leaves make.conf holding BATCH=yes alone;
// restore_make_conf puts the saved file back.
int
enable_batch_mode(PortJob &job)
{
	struct stat st;
	const bool had_conf = lstat(MAKE_CONF, &st) == 0;
	bool made_backup = false;

	log_msg(job, "Switching make to batch mode.\n");

	// A backup already there was left by an interrupted run: it is the real
	// configuration, and the make.conf beside it only its batch copy.
	if (had_conf && !can_open(MAKE_CONF_BACKUP)) {
		if (run_command("cp /etc/make.conf /etc/make.conf.zub") != 0) {
			unlink(MAKE_CONF_BACKUP);	// a partial copy is no backup
			log_msg(job, "Was unable to create batch mode.\n");
			return 0;
		}
		made_backup = true;
	}

	// A make.conf that is a link is left alone rather than written through.
	FilePtr f = create_file(MAKE_CONF);
	if (f == nullptr) {
		log_msg(job, "Was unable to create batch mode.\n");
		if (made_backup)
			unlink(MAKE_CONF_BACKUP);	// make.conf is untouched
		return 0;
	}
	job.make_conf_created = !had_conf;
	std::fprintf(f.get(), "BATCH=yes\n");
	f.reset();
	log_msg(job, "Switch to batch mode complete.\n");
	return 1;
}

int
restore_make_conf(PortJob &job, bool silent)
{
	if (!silent)
		log_msg(job, "Reverting back to old make configuration.\n");
	if (can_open(MAKE_CONF_BACKUP))
		run_command("mv /etc/make.conf.zub /etc/make.conf");
	else if (job.make_conf_created)
		unlink(MAKE_CONF);	// there was none before this run
	job.make_conf_created = false;
	return 1;
}
