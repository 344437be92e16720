#include <cerrno>
#include <ctime>
#include <fcntl.h>
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

// The capture keeps what changed after the marker's modification time as
// the file system under /usr/local stamps it: to the nanosecond, to a kernel
// tick that lags the clock, or to the whole second.  So the install starts
// only once the clock has passed the second after the marker by a few ticks;
// whatever it writes from then on is stamped later than the marker on any of
// them, and what was there before is not.
static const long TICKS_NS = 50000000;		// five ticks of a 100 Hz kernel
static const long long SECOND_NS = 1000000000;

static bool
wait_past_second(const struct timespec &made)
{
	struct timespec now;

	if (clock_gettime(CLOCK_REALTIME, &now) != 0)
		return false;
	long long left = (made.tv_sec + 1 - now.tv_sec) * SECOND_NS + TICKS_NS -
	    now.tv_nsec;
	if (left <= 0)
		return true;
	if (left > SECOND_NS + TICKS_NS)	// the clock was set back
		left = SECOND_NS + TICKS_NS;
	struct timespec pause = {static_cast<time_t>(left / SECOND_NS),
	    static_cast<long>(left % SECOND_NS)};
	while (nanosleep(&pause, &pause) != 0)
		if (errno != EINTR)
			return false;
	return true;
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
	return wait_past_second(st.st_mtim) ? 1 : 0;
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
