#include <new>

#include "build/build.h"
#include "inspect/inspect.h"
#include "module/module.h"
#include "run/run.h"

// Ends the run: status 1 tears down silently, 2 and 3 log the clean-up.
static int
stop(PortJob &job, int status)
{
	job_teardown(job, status == 1);
	return status;
}

static int
run_sequence(PortJob &job, int argc, char **argv)
{
	if (!parse_args(job, argc, argv))
		return stop(job, 1);
	// -s leaves out the superuser check, the build and the capture.
	const bool build = job.skip_build == 0;
	if (!check_port_dir(job))
		return stop(job, 1);
	if (build && !check_root(job))
		return stop(job, 1);
	if (!derive_names(job))
		return stop(job, 1);
	if (job.want_v8 && !make_template_v8(job))
		return stop(job, 1);
	if (job.want_v9 && !make_template_v9(job))
		return stop(job, 1);

	guess_website(job);
	guess_author(job);
	guess_category(job);

	if (build) {
		if (!enable_batch_mode(job))
			return stop(job, 1);
		if (!create_marker(job))
			return stop(job, 1);
		if (job.install_method == INSTALL_PKG ? !add_package(job) :
		    !build_port(job))
			return stop(job, 2);
		if (!capture_new_files(job))
			return stop(job, 3);
	}

	if (!find_exe_in_plist(job))
		guess_main_exe(job);
	collect_extra_exes(job);
	choose_icon(job);

	if (job.want_v8)
		copy_icon_v8(job);
	if (job.want_v9)
		copy_icon_v9(job);
	if (job.want_v8)
		write_conf_v8(job);
	if (job.want_v9)
		write_conf_v9(job);
	if (job.want_v8)
		write_kmenu(job);
	if (job.want_v9) {
		write_desktop_entry(job, std::nullopt);
		for (const ExeNode &exe : job.extra_exes)
			write_desktop_entry(job, exe.name);
	}
	if (job.want_v8)
		chown_module_v8(job);
	if (job.want_v9)
		chown_module_v9(job);

	return stop(job, 0);
}

int
run_driver(int argc, char **argv)
{
	std::unique_ptr<PortJob> job;

	try {
		job = job_new();
		return run_sequence(*job, argc, argv);
	} catch (const std::bad_alloc &) {
		// Out of memory: undo what the run changed and say nothing.
		if (job != nullptr) {
			job->log_mode = LOG_QUIET;
			job_teardown(*job, 1);
		}
		return 1;
	}
}
