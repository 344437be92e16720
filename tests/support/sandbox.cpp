#include "support/sandbox.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#ifdef __linux__
#include <sched.h>
#include <sys/mount.h>
#endif

static bool entered = false;
static std::string enter_failure = "sandbox_enter was not called";
static bool mounted = false;

std::string
sandbox_dir()
{
	return SANDBOX_DIR;
}

std::string
etc_upper_dir()
{
	return sandbox_dir() + "/upper";
}

bool
sandbox_entered(std::string &why)
{
	why = enter_failure;
	return entered;
}

#ifdef __linux__

static std::string
ns_id(const char *path)
{
	struct stat st;
	if (stat(path, &st) != 0)
		return "";
	return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
}

bool
sandbox_enter(std::string &why)
{
	if (getuid() != 0 || geteuid() != 0) {
		why = enter_failure = "the sandbox needs root";
		return false;
	}
	if (unshare(CLONE_NEWNS) != 0 ||
	    mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
		why = enter_failure = "cannot make a private mount namespace";
		return false;
	}
	mkdir(sandbox_dir().c_str(), 0755);
	entered = true;
	return true;
}

// The file system type of the topmost mount on `point`, with its options.
static std::string
mount_type(const std::string &point, std::string &options)
{
	std::ifstream info("/proc/self/mountinfo");
	std::string line, type;

	while (std::getline(info, line)) {
		std::istringstream fields(line);
		std::string id, parent, dev, root, where, f;
		fields >> id >> parent >> dev >> root >> where;
		if (where != point)
			continue;
		while (fields >> f && f != "-")
			;
		std::string source;
		fields >> type >> source >> options;
	}
	return type;
}

static bool
is_under(const std::string &path, const std::string &dir)
{
	return path == dir || path.rfind(dir + "/", 0) == 0;
}

// The source and build trees, when they lie below /tmp or /usr/local (a
// checkout in /tmp, say), would vanish under the fresh tmpfs: each is opened
// before the mounts and bound back at its own path afterwards, submounts
// (the sandbox's own tmpfs) included.
namespace {
struct KeptDir {
	std::string path;
	int fd;
};
}

static std::vector<KeptDir>
open_hidden_trees()
{
	std::vector<KeptDir> kept;
	for (const std::string path : {SOURCE_DIR, BINARY_DIR}) {
		bool hidden = is_under(path, "/tmp") || is_under(path, "/usr/local");
		bool inside_kept = !kept.empty() && is_under(path, kept[0].path);
		if (hidden && !inside_kept)
			kept.push_back({path, open(path.c_str(),
			    O_PATH | O_DIRECTORY)});
	}
	return kept;
}

static bool
bind_back(const std::vector<KeptDir> &kept)
{
	bool ok = true;
	for (const KeptDir &k : kept) {
		std::string from = "/proc/self/fd/" + std::to_string(k.fd);
		std::error_code ec;
		std::filesystem::create_directories(k.path, ec);
		if (k.fd < 0 || mount(from.c_str(), k.path.c_str(), nullptr,
		    MS_BIND | MS_REC, nullptr) != 0)
			ok = false;
	}
	return ok;
}

static void
unmount_all()
{
	for (const char *point : {"/tmp", "/usr/local", "/etc", "/run"})
		umount2(point, MNT_DETACH);
	umount2(sandbox_dir().c_str(), MNT_DETACH);
	mounted = false;
}

static bool
verify(std::string &why)
{
	std::string opts;

	if (ns_id("/proc/self/ns/mnt") == ns_id("/proc/1/ns/mnt")) {
		why = "the mount namespace is not private";
		return false;
	}
	if (mount_type("/etc", opts) != "overlay" ||
	    opts.find("upperdir=" + etc_upper_dir()) == std::string::npos) {
		why = "/etc is not the sandbox overlay";
		return false;
	}
	if (mount_type("/usr/local", opts) != "tmpfs" ||
	    mount_type("/tmp", opts) != "tmpfs" ||
	    mount_type("/run", opts) != "tmpfs") {
		why = "/usr/local, /tmp or /run is not a sandbox tmpfs";
		return false;
	}
	return true;
}

bool
sandbox_reset(std::string &why)
{
	if (!entered) {
		why = enter_failure;
		return false;
	}
	if (mounted)
		unmount_all();

	std::string dir = sandbox_dir();
	std::string overlay = "lowerdir=/etc,upperdir=" + etc_upper_dir() +
	    ",workdir=" + dir + "/work";
	mounted = true;
	if (mount("sandbox", dir.c_str(), "tmpfs", 0, "mode=0755") != 0 ||
	    mkdir((dir + "/upper").c_str(), 0755) != 0 ||
	    mkdir((dir + "/work").c_str(), 0755) != 0 ||
	    mount("overlay", "/etc", "overlay", 0, overlay.c_str()) != 0) {
		why = "cannot mount the sandbox";
		return false;
	}
	std::vector<KeptDir> kept = open_hidden_trees();
	bool ok = mount("sandbox", "/usr/local", "tmpfs", 0, "mode=0755") == 0 &&
	    mount("sandbox", "/tmp", "tmpfs", 0, "mode=1777") == 0 &&
	    mount("sandbox", "/run", "tmpfs", 0, "mode=0755") == 0 &&
	    bind_back(kept);
	for (const KeptDir &k : kept)
		if (k.fd >= 0)
			close(k.fd);
	if (!ok) {
		why = "cannot mount the sandbox";
		return false;
	}
	return verify(why);
}

#else

bool
sandbox_enter(std::string &why)
{
	why = enter_failure = "the sandbox needs Linux mount namespaces";
	return false;
}

bool
sandbox_reset(std::string &why)
{
	why = enter_failure;
	return false;
}

#endif
