#include "sys/signals.h"

#include <unistd.h>

static struct sigaction saved_actions[sizeof ENDING_SIGNALS /
    sizeof ENDING_SIGNALS[0]];
static struct sigaction saved_chld;
static sigset_t saved_mask;
// The ending signals that the caller left ignored (nohup, the background
// job of a script): the run, and every command it runs, goes on through them.
static sigset_t caller_ignored;

static sigset_t
ending_set()
{
	sigset_t set;
	sigemptyset(&set);
	for (int sig : ENDING_SIGNALS)
		sigaddset(&set, sig);
	return set;
}

// A signal's default action, nothing held back while it runs.  Safe in a
// handler and after fork.
static struct sigaction
default_action()
{
	struct sigaction dfl = {};
	dfl.sa_handler = SIG_DFL;
	sigemptyset(&dfl.sa_mask);
	return dfl;
}

SignalBlock::SignalBlock()
{
	sigset_t set = ending_set();
	sigprocmask(SIG_BLOCK, &set, &before_);
}

SignalBlock::~SignalBlock()
{
	sigprocmask(SIG_SETMASK, &before_, nullptr);
}

void
catch_ending_signals(void (*handler)(int))
{
	struct sigaction act = {};
	act.sa_handler = handler;
	act.sa_mask = ending_set();
	sigemptyset(&caller_ignored);
	int i = 0;
	for (int sig : ENDING_SIGNALS) {
		struct sigaction &before = saved_actions[i++];
		sigaction(sig, nullptr, &before);
		if (before.sa_handler == SIG_IGN)
			sigaddset(&caller_ignored, sig);
		else
			sigaction(sig, &act, nullptr);
	}

	const struct sigaction dfl = default_action();
	sigaction(SIGCHLD, &dfl, &saved_chld);

	sigset_t set = ending_set();
	sigprocmask(SIG_UNBLOCK, &set, &saved_mask);
}

void
reset_signals_for_command()
{
	const struct sigaction dfl = default_action();
	for (int sig = 1; sig < NSIG; sig++)
		if (sig != SIGKILL && sig != SIGSTOP &&
		    sigismember(&caller_ignored, sig) != 1)
			sigaction(sig, &dfl, nullptr);
	sigset_t none;
	sigemptyset(&none);
	sigprocmask(SIG_SETMASK, &none, nullptr);
}

void
release_ending_signals()
{
	int i = 0;
	for (int sig : ENDING_SIGNALS)
		sigaction(sig, &saved_actions[i++], nullptr);
	sigaction(SIGCHLD, &saved_chld, nullptr);
	sigprocmask(SIG_SETMASK, &saved_mask, nullptr);
}

void
die_by_signal(int sig)
{
	const struct sigaction dfl = default_action();
	sigaction(sig, &dfl, nullptr);

	sigset_t set;
	sigemptyset(&set);
	sigaddset(&set, sig);
	sigprocmask(SIG_UNBLOCK, &set, nullptr);
	raise(sig);
	_exit(128 + sig);
}
