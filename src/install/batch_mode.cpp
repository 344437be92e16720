#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "install/install.h"
#include "sys/signals.h"

// One run at a time has make.conf switched: the lock is held from before
// the switch to the end of the restore, and released by the process's end.
static const char LOCK_FILE[] = "/var/run/ridivave.lock";

namespace {
enum Switch : int { NOT_SWITCHED, SWITCHED_OVER_BACKUP, SWITCHED_CREATED };
}

// What the switch changed, kept where a signal handler can undo it without
// allocating.
static volatile sig_atomic_t switched = NOT_SWITCHED;
static volatile sig_atomic_t switch_tried = 0;
static dev_t batch_dev;		// the batch-only file, removed when there
static ino_t batch_ino;		// was no make.conf before
static int lock_fd = -1;

static bool
open_lock()
{
	if (lock_fd < 0)
		lock_fd = open(LOCK_FILE, O_RDWR | O_CREAT | O_NOFOLLOW |
		    O_CLOEXEC, 0600);
	return lock_fd >= 0;
}

static void
release_lock()
{
	if (lock_fd >= 0)
		close(lock_fd);
	lock_fd = -1;
}

// Waits for a run that holds the lock, saying so once.
static bool
take_lock(PortJob &job)
{
	if (!open_lock())
		return false;
	if (flock(lock_fd, LOCK_EX | LOCK_NB) == 0)
		return true;
	if (errno != EWOULDBLOCK)
		return false;
	log_msg(job, "Waiting for another run to finish.\n");
	std::fflush(nullptr);
	while (flock(lock_fd, LOCK_EX) != 0)
		if (errno != EINTR)
			return false;
	return true;
}

// Whether `path` is a regular file (`present`), absent, or neither, which
// the switch never touches.
static bool
regular_or_absent(const char *path, bool &present)
{
	struct stat st;
	if (lstat(path, &st) == 0) {
		present = true;
		return S_ISREG(st.st_mode);
	}
	present = false;
	return errno == ENOENT;
}

// The batch-only file, complete under a temporary name in /etc.
static bool
write_batch_file(const std::string &temp)
{
	static const char BATCH[] = "BATCH=yes\n";
	Fd fd(open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW |
	    O_CLOEXEC, 0644));
	struct stat st;
	if (!fd.valid())
		return false;
	bool ok = write(fd.get(), BATCH, sizeof BATCH - 1) ==
	    static_cast<ssize_t>(sizeof BATCH - 1) && fstat(fd.get(), &st) == 0;
	if (close(fd.release()) != 0 || !ok) {
		unlink(temp.c_str());
		return false;
	}
	batch_dev = st.st_dev;
	batch_ino = st.st_ino;
	return true;
}

// make.conf is kept as the very same file: a second name, the backup, is
// linked to it, and the batch-only file is renamed over make.conf, so that
// nothing of /etc changes until the switch is whole.  A backup already
// there was left by an interrupted run: it is the real configuration, and
// the make.conf beside it only its batch copy.
static bool
switch_make_conf()
{
	bool have_backup, have_conf;
	if (!regular_or_absent(MAKE_CONF_BACKUP, have_backup) ||
	    !regular_or_absent(MAKE_CONF, have_conf))
		return false;

	const std::string temp = std::string(MAKE_CONF) + "." +
	    std::to_string(getpid());
	SignalBlock block;
	if (!write_batch_file(temp))
		return false;
	const bool link_made = have_conf && !have_backup;
	if (link_made && linkat(AT_FDCWD, MAKE_CONF, AT_FDCWD, MAKE_CONF_BACKUP,
	    0) != 0) {
		unlink(temp.c_str());
		return false;
	}
	if (rename(temp.c_str(), MAKE_CONF) != 0) {
		if (link_made)
			unlink(MAKE_CONF_BACKUP);
		unlink(temp.c_str());
		return false;
	}
	switched = have_backup || link_made ? SWITCHED_OVER_BACKUP :
	    SWITCHED_CREATED;
	return true;
}

int
enable_batch_mode(PortJob &job)
{
	log_msg(job, "Switching make to batch mode.\n");
	switch_tried = 1;
	if (!take_lock(job) || !switch_make_conf()) {
		log_msg(job, "Was unable to create batch mode.\n");
		return 0;
	}
	log_msg(job, "Switch to batch mode complete.\n");
	return 1;
}

void
undo_batch_mode()
{
	struct stat st;

	if (switched == SWITCHED_OVER_BACKUP)
		rename(MAKE_CONF_BACKUP, MAKE_CONF);
	else if (switched == SWITCHED_CREATED && lstat(MAKE_CONF, &st) == 0 &&
	    st.st_dev == batch_dev && st.st_ino == batch_ino)
		unlink(MAKE_CONF);	// there was none before this run
	switched = NOT_SWITCHED;
}

// A run that did not try the switch moves back a backup left by an
// interrupted one, but never a live run's: only when it gets the lock at
// once, and only a regular file.
static void
restore_stale_backup()
{
	bool present;
	if (!regular_or_absent(MAKE_CONF_BACKUP, present) || !present ||
	    !open_lock())
		return;
	if (flock(lock_fd, LOCK_EX | LOCK_NB) == 0 &&
	    regular_or_absent(MAKE_CONF_BACKUP, present) && present)
		rename(MAKE_CONF_BACKUP, MAKE_CONF);
}

int
restore_make_conf(PortJob &job, bool silent)
{
	if (!silent)
		log_msg(job, "Reverting back to old make configuration.\n");
	{
		SignalBlock block;
		if (switched != NOT_SWITCHED)
			undo_batch_mode();
		else if (!switch_tried)
			restore_stale_backup();
	}
	release_lock();
	switch_tried = 0;
	return 1;
}
