#include <fcntl.h>
#include <unistd.h>

#include "install/install.h"

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

	log_msg(job, "Creating temporary file %s\n", path.c_str());
	unlink(path.c_str());
	Fd fd(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW |
	    O_CLOEXEC, 0600));
	if (!fd.valid())
		return 0;
	job.marker_created = true;
	return 1;
}

void
remove_marker(PortJob &job)
{
	if (job.marker_created)
		unlink(marker_path().c_str());
	job.marker_created = false;
}
