#include <fcntl.h>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

#include "install/install.h"
#include "sys/signals.h"

// The marker this run made, kept where a signal handler can remove it
// without allocating.
static char marker[32];
static volatile sig_atomic_t marker_made = 0;
static dev_t marker_dev;
static ino_t marker_ino;

static bool
later(const struct timespec &a, const struct timespec &b)
{
	return a.tv_sec > b.tv_sec || (a.tv_sec == b.tv_sec &&
	    a.tv_nsec > b.tv_nsec);
}

// File times come from a clock that moves in ticks: a file the install
// wrote in the marker's own tick would not be newer than the marker.  So
// the build starts only once the clock has passed that tick, read by setting
// the marker's access time (never its modification time) to now.
static bool
wait_past_tick(int fd, const struct timespec &made)
{
	const struct timespec now_atime[2] = {{0, UTIME_NOW}, {0, UTIME_OMIT}};
	const struct timespec pause = {0, 1000000};
	struct stat st;

	for (int tries = 0; tries < 2000; tries++) {
		if (futimens(fd, now_atime) != 0 || fstat(fd, &st) != 0)
			return false;
		if (later(st.st_atim, made))
			return true;
		nanosleep(&pause, nullptr);
	}
	return false;
}

std::string
marker_path()
{
	return "/tmp/" + std::to_string(getpid());
}

// The marker's modification time divides what the install created from what
// was there before.  Whatever stands at the predictable path is removed first
// (unlink never follows a link), and the marker is then created exclusively,
// so no other file is ever truncated or written through a link.
int
create_marker(PortJob &job)
{
	std::string path = marker_path();
	struct stat st;

	log_msg(job, "Creating temporary file %s\n", path.c_str());
	unlink(path.c_str());
	SignalBlock block;
	Fd fd(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW |
	    O_CLOEXEC, 0600));
	if (!fd.valid())
		return 0;
	if (fstat(fd.get(), &st) != 0) {
		unlink(path.c_str());
		return 0;
	}
	marker_dev = st.st_dev;
	marker_ino = st.st_ino;
	std::snprintf(marker, sizeof marker, "%s", path.c_str());
	marker_made = 1;
	return wait_past_tick(fd.get(), st.st_mtim) ? 1 : 0;
}

bool
marker_is_ours()
{
	struct stat st;
	return marker_made && lstat(marker, &st) == 0 &&
	    st.st_dev == marker_dev && st.st_ino == marker_ino;
}

void
remove_marker()
{
	if (marker_is_ours())
		unlink(marker);
	marker_made = 0;
}
