#!/bin/sh
# A small stand-in for the ports framework, shared by the example port and
# the test ports: the three targets every port has and ridivave relies on.
# A port's Makefile calls it from its port directory:
#
#	stage install deinstall:
#		@sh ${FRAMEWORK} $@ ${PORTNAME} ${DEPENDS}
#
# stage      installs every dependency (a port directory) not registered
#            yet, with its own make install, then runs the port's
#            do-install, if it has one, into a fresh stage directory
#            (STAGEDIR, below which the prefix is /usr/local) and dates
#            what it staged in 2019, as a build's sources may be; nothing
#            of the port itself reaches /usr/local.
# install    refuses a port already registered; stages first where nothing
#            is staged; copies the stage into /usr/local, keeping its
#            times as a package install does, and registers the port.
# deinstall  removes a registered port's files and its registration, and
#            does nothing for a port that is not installed.
#
# The work directories and the registry are kept below /tmp.  As the ports
# framework does, it runs find by its full path, whatever PATH holds.
set -eu

target=$1
name=$2
shift 2
top=/tmp/ports-framework
work=$top/work/$name
stage=$work/stage
reg=$top/db/$name

# Our own make, never reporting directories as a sub-make would.
submake()
{
	env -u MAKELEVEL -u MAKEFLAGS -u MFLAGS make "$@"
}

case $target in
stage)
	for dep in "$@"; do
		[ -e "$top/db/${dep##*/}" ] || (cd "$dep" && submake install)
	done
	rm -rf "$work"
	mkdir -p "$stage/usr/local"
	if grep -q '^do-install:' Makefile; then
		submake do-install STAGEDIR="$stage"
	fi
	/usr/bin/find "$stage" -exec touch -h -t 201906010000 {} +
	: > "$work/.stage_done"
	;;
install)
	if [ -e "$reg" ]; then
		echo "===>  $name is already installed" >&2
		echo "      You may wish to \`\`make deinstall'' and install" \
		    "this port again" >&2
		echo "      by \`\`make reinstall'' to upgrade it properly." >&2
		exit 1
	fi
	[ -e "$work/.stage_done" ] || sh "$0" stage "$name" "$@"
	mkdir -p "$top/db" /usr/local
	(cd "$stage/usr/local" && /usr/bin/find . ! -type d) > "$reg.new"
	cp -pR "$stage/usr/local/." /usr/local/
	mv "$reg.new" "$reg"
	;;
deinstall)
	[ -e "$reg" ] || exit 0
	echo "===>  Deinstalling for $name"
	while IFS= read -r file; do
		rm -f "/usr/local/$file"
	done < "$reg"
	rm -f "$reg"
	;;
*)
	echo "framework.sh: no target $target" >&2
	exit 1
	;;
esac
