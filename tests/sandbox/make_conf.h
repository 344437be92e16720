// The states of /etc/make.conf that a run may find, and the check that a
// run left it as it was.
#ifndef RIDIVAVE_TESTS_MAKE_CONF_H
#define RIDIVAVE_TESTS_MAKE_CONF_H

#include "support/sandbox_test.h"

struct ConfState {
	const char *name;
	const char *make_conf;	// nullptr: absent
	const char *backup;	// nullptr: absent
	const char *after;	// what /etc/make.conf holds afterwards
};

inline const ConfState CONF_STATES[] = {
	{"present", "CFLAGS+=-pipe\nWITH_DEBUG=\n", nullptr,
	    "CFLAGS+=-pipe\nWITH_DEBUG=\n"},
	{"absent", nullptr, nullptr, nullptr},
	// A backup left by an interrupted run is the real configuration.
	{"stale backup", "BATCH=yes\n", "CPUTYPE?=native\n", "CPUTYPE?=native\n"},
};

inline void
set_conf(const ConfState &s)
{
	std::filesystem::remove("/etc/make.conf");
	std::filesystem::remove("/etc/make.conf.zub");
	if (s.make_conf)
		write_file("/etc/make.conf", s.make_conf);
	if (s.backup)
		write_file("/etc/make.conf.zub", s.backup);
}

// The make configuration is as it was before, and the run left no backup
// and no marker.
inline void
expect_restored(const char *before, const ToolResult &res,
    const std::string &what = "")
{
	if (before)
		EXPECT_EQ(read_file("/etc/make.conf"), before) << what;
	else
		EXPECT_FALSE(exists("/etc/make.conf")) << what;
	EXPECT_FALSE(exists("/etc/make.conf.zub")) << what;
	EXPECT_FALSE(exists("/tmp/" + std::to_string(res.pid))) << what;
}

#endif
