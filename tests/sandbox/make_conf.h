// The states of /etc/make.conf that a run may find, and the check that a
// run gave back the very same file.
#ifndef RIDIVAVE_TESTS_MAKE_CONF_H
#define RIDIVAVE_TESTS_MAKE_CONF_H

#include <sys/stat.h>
#include <unistd.h>

#include "support/sandbox_test.h"

// A file as a test can tell it apart from any other: inode, owner, mode,
// modification time and bytes; or absent.
struct FileId {
	bool present = false;
	struct stat st = {};
	std::string bytes;
};

inline FileId
file_id(const std::string &path)
{
	FileId id;
	id.present = lstat(path.c_str(), &id.st) == 0;
	if (id.present)
		id.bytes = read_file(path);
	return id;
}

inline void
expect_same_file(const FileId &before, const std::string &path,
    const std::string &what)
{
	FileId now = file_id(path);
	ASSERT_EQ(now.present, before.present) << what;
	if (!before.present)
		return;
	EXPECT_EQ(now.st.st_ino, before.st.st_ino) << what;
	EXPECT_EQ(now.st.st_uid, before.st.st_uid) << what;
	EXPECT_EQ(now.st.st_mode, before.st.st_mode) << what;
	EXPECT_EQ(now.st.st_mtim.tv_sec, before.st.st_mtim.tv_sec) << what;
	EXPECT_EQ(now.st.st_mtim.tv_nsec, before.st.st_mtim.tv_nsec) << what;
	EXPECT_EQ(now.bytes, before.bytes) << what;
}

struct ConfState {
	const char *name;
	const char *make_conf;	// nullptr: absent
	const char *backup;	// nullptr: absent
	const char *after;	// what /etc/make.conf holds afterwards
};

inline const ConfState CONF_STATES[] = {
	// Owned by a user, with a mode of its own and a second hard link.
	{"present", "CFLAGS+=-pipe\nWITH_DEBUG=\n", nullptr,
	    "CFLAGS+=-pipe\nWITH_DEBUG=\n"},
	{"absent", nullptr, nullptr, nullptr},
	// A backup left by an interrupted run is the real configuration.
	{"stale backup", "BATCH=yes\n", "CPUTYPE?=native\n", "CPUTYPE?=native\n"},
};

// Puts the state in place; returns the file make.conf must be afterwards.
inline FileId
set_conf(const ConfState &s)
{
	for (const char *p : {"/etc/make.conf", "/etc/make.conf.zub",
	    "/etc/make.conf.keep"})
		std::filesystem::remove(p);
	if (s.make_conf)
		write_file("/etc/make.conf", s.make_conf);
	if (s.backup) {
		write_file("/etc/make.conf.zub", s.backup);
		return file_id("/etc/make.conf.zub");
	}
	if (s.make_conf) {
		chown("/etc/make.conf", 65534, 65534);
		chmod("/etc/make.conf", 0664);
		std::filesystem::create_hard_link("/etc/make.conf",
		    "/etc/make.conf.keep");
	}
	return file_id("/etc/make.conf");
}

// make.conf is the very same file as before, or absent as before; its other
// hard link keeps the real content; the run left no backup and no marker.
inline void
expect_restored(const FileId &before, const ToolResult &res,
    const std::string &what = "")
{
	expect_same_file(before, "/etc/make.conf", what);
	if (exists("/etc/make.conf.keep")) {
		EXPECT_EQ(read_file("/etc/make.conf.keep"), before.bytes) << what;
	}
	EXPECT_FALSE(exists("/etc/make.conf.zub")) << what;
	EXPECT_FALSE(exists("/tmp/" + std::to_string(res.pid))) << what;
}

#endif
