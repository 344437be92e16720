// Handing a tree to a user without ever leaving it.
#ifndef RIDIVAVE_SYS_OWNER_H
#define RIDIVAVE_SYS_OWNER_H

#include <string>
#include <sys/types.h>
#include <vector>

// The owner and group to give; (uid_t)-1 and (gid_t)-1 leave them as they
// are.
struct Owner {
	uid_t uid = static_cast<uid_t>(-1);
	gid_t gid = static_cast<gid_t>(-1);
};

// Reads an owner as chown takes it: a user name or numeric user id,
// optionally followed by a colon and a group name or numeric group id; an
// empty part leaves that id as it is.  A name wins over the number it spells.
// False, with the reason, for an unknown user or group.
bool parse_owner(const std::string &text, Owner &owner, std::string &why);

// Gives the directory `path` and every directory and regular file below it
// to `owner`.  Nothing is reached through a link: each component is opened
// from its parent's descriptor without following one, and ownership is
// changed through that descriptor.  Links, FIFOs, devices and files with
// more than one hard link are left as they are; the last are named in
// `skipped`.
void chown_tree(const std::string &path, const Owner &owner,
    std::vector<std::string> &skipped);

#endif
