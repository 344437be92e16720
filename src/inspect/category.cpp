#include "inspect/inspect.h"

namespace {
struct CategoryWord {
	const char *word;
	const char *category;
};
}

// The first word found in the port path decides.
static const CategoryWord CATEGORY_WORDS[] = {
	{"games", "Games"},
	{"devel", "Development"},
	{"multimedia", "Multimedia"},
	{"audio", "Multimedia"},
	{"graphics", "Graphics"},
	{"www", "Internet"},
	{"net", "Internet"},
	{"ftp", "Internet"},
	{"mail", "Internet"},
	{"cad", "Graphics"},
};

int
guess_category(PortJob &job)
{
	std::string category = "Utilities";

	for (const CategoryWord &w : CATEGORY_WORDS) {
		if (job.port_path->find(w.word) != std::string::npos) {
			category = w.category;
			break;
		}
	}
	job.category = category;
	log_msg(job, "Assign port to %s category.\n", category.c_str());
	return 1;
}
