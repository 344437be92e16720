#include "sys/owner.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "sys/fd.h"

// Deeper than any module tree; what a user nests below stays as it is.
static const int MAX_DEPTH = 128;

static bool
parse_id(const std::string &text, unsigned long &id)
{
	if (text.empty() || text.find_first_not_of("0123456789") !=
	    std::string::npos)
		return false;
	errno = 0;
	id = std::strtoul(text.c_str(), nullptr, 10);
	return errno == 0 && id < UINT_MAX;
}

// A user (or group) name the system knows, or else a number.
static bool
resolve_id(const std::string &text, bool group, unsigned long &id)
{
	if (!group) {
		if (const struct passwd *pw = getpwnam(text.c_str())) {
			id = pw->pw_uid;
			return true;
		}
	} else if (const struct group *gr = getgrnam(text.c_str())) {
		id = gr->gr_gid;
		return true;
	}
	return parse_id(text, id);
}

bool
parse_owner(const std::string &text, Owner &owner, std::string &why)
{
	std::string::size_type colon = text.find(':');
	std::string user = text.substr(0, colon);
	std::string group = colon == std::string::npos ? "" :
	    text.substr(colon + 1);
	unsigned long id;

	owner = Owner();
	if (!user.empty()) {
		if (!resolve_id(user, false, id)) {
			why = user + ": illegal user name";
			return false;
		}
		owner.uid = static_cast<uid_t>(id);
	}
	if (!group.empty()) {
		if (!resolve_id(group, true, id)) {
			why = group + ": illegal group name";
			return false;
		}
		owner.gid = static_cast<gid_t>(id);
	}
	return true;
}

// The names in a directory, read before any is entered, so that a level of
// the walk holds one descriptor.
static std::vector<std::string>
names_in(int dir)
{
	std::vector<std::string> names;
	int fd = dup(dir);
	DIR *d = fd >= 0 ? fdopendir(fd) : nullptr;
	if (d == nullptr) {
		if (fd >= 0)
			close(fd);
		return names;
	}
	while (const struct dirent *e = readdir(d)) {
		std::string name = e->d_name;
		if (name != "." && name != "..")
			names.push_back(name);
	}
	closedir(d);
	return names;
}

static void
chown_dir(int dir, const std::string &path, const Owner &owner,
    std::vector<std::string> &skipped, int depth)
{
	(void)fchown(dir, owner.uid, owner.gid);
	for (const std::string &name : names_in(dir)) {
		struct stat st;
		if (fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
			continue;
		const std::string sub = path + "/" + name;
		if (S_ISDIR(st.st_mode)) {
			Fd d(openat(dir, name.c_str(), O_RDONLY | O_DIRECTORY |
			    O_NOFOLLOW | O_CLOEXEC));
			if (d.valid() && depth < MAX_DEPTH)
				chown_dir(d.get(), sub, owner, skipped, depth + 1);
			continue;
		}
		if (!S_ISREG(st.st_mode))
			continue;
		// What was opened is what is changed, whatever the name holds
		// by now.
		Fd f(openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW |
		    O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
		if (!f.valid() || fstat(f.get(), &st) != 0 ||
		    !S_ISREG(st.st_mode))
			continue;
		if (st.st_nlink > 1)
			skipped.push_back(sub);
		else
			(void)fchown(f.get(), owner.uid, owner.gid);
	}
}

void
chown_tree(const std::string &path, const Owner &owner,
    std::vector<std::string> &skipped)
{
	Fd top(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW |
	    O_CLOEXEC));
	if (top.valid())
		chown_dir(top.get(), path, owner, skipped, 0);
}
