// Module output: the module trees, every file written into them, the icon
// copies and the handover of the trees to their owner.
#ifndef RIDIVAVE_MODULE_MODULE_H
#define RIDIVAVE_MODULE_MODULE_H

#include <optional>
#include <string>
#include <sys/types.h>

#include "job/job.h"
#include "sys/atomic_file.h"

int make_template_v8(PortJob &job);
int make_template_v9(PortJob &job);

int copy_icon_v8(PortJob &job);
int copy_icon_v9(PortJob &job);

int write_conf_v8(PortJob &job);
int write_conf_v9(PortJob &job);
int write_kmenu(PortJob &job);
int write_desktop_entry(PortJob &job, const Text &exe_name);

void chown_module_v8(PortJob &job);
void chown_module_v9(PortJob &job);

// A module file's path as the log names it: module/sub/name, or
// module/name when `sub` is null.
std::string module_path(const std::string &module, const char *sub,
    const std::string &name);

// The directory that takes the module file `name`: the module directory, or
// its subdirectory `sub` opened without following a link, each opened once
// and kept in the record until close_module_dirs.  -1 when either cannot be
// opened or the name holds a slash or is "..".
int module_file_dir(PortJob &job, const std::string &module, const char *sub,
    const std::string &name);
void close_module_dirs(PortJob &job);

// Writes `text` whole as `name` in `sub` of `module` (see module_path),
// atomically, with `mode` if given.  Where module_file_dir gives no
// directory or the file system refuses the name, not_created; not_written
// is logged ("Unable to write %s.") and ends the run with status 4.
FileWrite write_module_file(PortJob &job, const std::string &module,
    const char *sub, const std::string &name, const std::string &text,
    std::optional<mode_t> mode = std::nullopt);

// Logs that the module file at `path` could not be written whole.
void report_unwritten(PortJob &job, const std::string &path);

// The name under which the icon lies in a module: the text after the last
// slash of the icon path, or the whole path when it has no slash.
Text icon_file_name(const PortJob &job);

// The text after the last slash, or nothing when there is no slash.
Text after_last_slash(const Text &path);

// A copy whose first byte is upper-cased when it is a to z.
std::string capitalize(const std::string &name);

// A value put between the double quotes of zub.conf so that sourcing the
// file assigns exactly the stored text.
std::string conf_escape(const std::string &value);

#endif
