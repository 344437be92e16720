// Module output: the module trees, every file written into them, the icon
// copies and the handover of the trees to their owner.
#ifndef RIDIVAVE_MODULE_MODULE_H
#define RIDIVAVE_MODULE_MODULE_H

#include "job/job.h"

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
