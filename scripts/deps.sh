#!/bin/sh
# Installs what a step needs, where it is missing: the one list of the
# packages the demo, the tests and CI use.
#
#	scripts/deps.sh demo|test|ci
#
# On Debian, as root, the missing packages are installed with apt-get; without
# root, or on FreeBSD, nothing is installed: one line says what is missing
# and how to get it, and the step fails.
set -eu

case ${1:-} in
demo)	debian="cmake g++ make libgtest-dev" freebsd="cmake googletest" ;;
test)	debian="cmake g++ make libgtest-dev bmake cpio e2fsprogs findutils git
	    mandoc pngcheck python3" freebsd="cmake googletest" ;;
ci)	debian="cmake g++ make libgtest-dev bmake cpio e2fsprogs findutils git
	    mandoc pngcheck python3 clang libclang-rt-14-dev clang-19"
	freebsd="cmake googletest" ;;
*)	echo "usage: scripts/deps.sh demo|test|ci" >&2; exit 2 ;;
esac

missing=
if command -v dpkg >/dev/null 2>&1; then
	for p in $debian; do
		dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
	done
	[ -z "$missing" ] && exit 0
	if [ "$(id -u)" != 0 ]; then
		echo "missing:$missing; install them as root with:" \
		    "apt-get install$missing" >&2
		exit 1
	fi
	apt-get update -q
	DEBIAN_FRONTEND=noninteractive apt-get install -y -q $missing
elif [ "$(uname -s)" = FreeBSD ]; then
	for p in $freebsd; do
		pkg info -e "$p" 2>/dev/null || missing="$missing $p"
	done
	[ -z "$missing" ] && exit 0
	echo "missing:$missing; install them as root with: pkg install$missing" >&2
	exit 1
fi
