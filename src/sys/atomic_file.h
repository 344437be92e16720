// Files written below a directory that someone else may own: opened by
// descriptor, never through a link, and complete before they appear.
#ifndef RIDIVAVE_SYS_ATOMIC_FILE_H
#define RIDIVAVE_SYS_ATOMIC_FILE_H

#include <cstddef>
#include <optional>
#include <string>
#include <sys/stat.h>

#include "sys/fd.h"

// The directory at `path`, as the operator named it (a link there is
// followed), or the directory `name` in `dir`, never through a link.
// Invalid when it is not a directory that can be opened.
Fd open_dir(const std::string &path);
Fd open_dir_at(int dir, const char *name);

enum class FileWrite { written, not_created, not_written };

// A file that is written under a fresh temporary name in its directory and
// renamed over its final name only when every write and the close
// succeeded, so a link or hard link at that name is replaced, never written
// into, and a run that dies midway leaves the old file or none.  The
// temporary file is removed unless commit() renames it.
class AtomicFile {
public:
	AtomicFile() = default;
	~AtomicFile() { abandon(); }
	AtomicFile(const AtomicFile &) = delete;
	AtomicFile &operator=(const AtomicFile &) = delete;

	// Starts `name` in `dir`.  A regular file already there passes its
	// owner, group and permission bits on; a new file gets `new_mode` less
	// the umask.  False when the name is refused or a directory, or the
	// temporary file cannot be created.
	bool create(int dir, const std::string &name, mode_t new_mode);
	// Appends; a failure is kept for commit().
	void write(const char *data, size_t size);
	// Gives the file `mode` whatever the umask and the file before had.
	void force_mode(mode_t mode) { forced_mode_ = mode; }
	// not_written when the file could not be written whole (a directory
	// put at its name meanwhile: not_created).
	FileWrite commit();

private:
	void abandon();

	int dir_ = -1;
	Fd fd_;
	std::string temp_, name_;
	bool failed_ = false;
	std::optional<struct stat> before_;
	std::optional<mode_t> forced_mode_;
};

// The whole of `text` as `name` in `dir`, with `forced_mode` if given.
FileWrite write_file_atomically(int dir, const std::string &name,
    const std::string &text, std::optional<mode_t> forced_mode);

#endif
