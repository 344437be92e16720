#include "inspect/inspect.h"

// Where the install puts the default icon: below the prefix the tool is
// installed to.
#ifndef RIDIVAVE_DEFAULT_ICON
#define RIDIVAVE_DEFAULT_ICON "/usr/local/share/ridivave/defaulticon.png"
#endif

static const char DEFAULT_ICON[] = "defaulticon.png";
static const char INSTALLED_DEFAULT_ICON[] = RIDIVAVE_DEFAULT_ICON;

// The first captured path that holds "icon" and ".png".
static Text
captured_icon(const PortJob &job)
{
	for (const Text &entry : job.new_files)
		if (entry && entry->find("icon") != std::string::npos &&
		    entry->find(".png") != std::string::npos)
			return entry;
	return std::nullopt;
}

int
choose_icon(PortJob &job)
{
	Text found = job.packager_guesses ? packager_icon(job) : std::nullopt;
	if (!found)
		found = captured_icon(job);
	if (found) {
		job.icon = found;
		log_msg(job, "Found icon file %s\n", job.icon->c_str());
		return 1;
	}

	if (can_open(DEFAULT_ICON))
		job.icon = DEFAULT_ICON;
	else if (can_open(INSTALLED_DEFAULT_ICON))
		job.icon = INSTALLED_DEFAULT_ICON;
	if (job.icon) {
		log_msg(job, "Using default icon %s\n", job.icon->c_str());
		return 1;
	}

	log_msg(job, "Could not find icon file.\n");
	if (job.backup_icon) {
		job.icon = job.backup_icon;
		log_msg(job, "Using backup icon %s.\n", job.icon->c_str());
		return 1;
	}
	return 0;
}
