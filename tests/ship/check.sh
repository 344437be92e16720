#!/bin/sh
# What a FreeBSD packager gets from an install: one check per call.
#
#	check.sh install|manual|icon|release SOURCE_DIR BUILD_DIR
#
# A check whose tool is missing exits 77, which CTest reports as skipped.
set -eu
what=$1 src=$2 build=$3

need()
{
	command -v "$1" >/dev/null 2>&1 && return
	echo "$1 is not installed"
	exit 77
}

case $what in
install)
	# Stage an install as the port does and compare it with the port's
	# packing list.  The ports framework compresses manual pages after
	# staging, so their entries end in .gz there.
	stage=$(mktemp -d)
	trap 'rm -rf "$stage"' EXIT
	DESTDIR=$stage/root cmake --install "$build" --prefix /usr/local \
	    >/dev/null
	(cd "$stage/root/usr/local" && find . ! -type d) | sed 's|^\./||' |
	    sort >"$stage/staged"
	sed 's|^\(share/man/.*\)\.gz$|\1|' "$src/packaging/freebsd/pkg-plist" |
	    sort >"$stage/plist"
	diff -u "$stage/plist" "$stage/staged"
	test -x "$stage/root/usr/local/sbin/ridivave"
	cmp "$src/share/defaulticon.png" \
	    "$stage/root/usr/local/share/ridivave/defaulticon.png"
	# The installed default icon is looked for under the prefix.
	prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
	grep -q "$prefix/share/ridivave/defaulticon.png" "$build/ridivave"
	# The port's version is the one the tool prints.
	version=$("$build/ridivave" | sed -n 's/^Version: //p')
	grep -q "^DISTVERSION=[[:space:]]*$version\$" \
	    "$src/packaging/freebsd/Makefile"
	;;
manual)
	# STYLE messages are left out: the FreeBSD manuals that SEE ALSO names
	# are not installed on a Linux build host.
	need mandoc
	mandoc -Tlint -Wwarning "$src/doc/ridivave.8"
	;;
icon)
	need pngcheck
	need python3
	pngcheck -q "$src/share/defaulticon.png"
	# The icon is generated: the script must still make the same bytes.
	out=$(mktemp)
	trap 'rm -f "$out"' EXIT
	python3 "$src/share/make_icon.py" default "$out"
	cmp "$src/share/defaulticon.png" "$out"
	;;
release)
	# The release tarball and the distinfo written with it agree, and the
	# tarball unpacks where the port's WRKSRC expects it, licence included.
	command -v git >/dev/null 2>&1 && git -C "$src" rev-parse HEAD \
	    >/dev/null 2>&1 || { echo "not a git checkout"; exit 77; }
	out=$(mktemp -d)
	trap 'rm -rf "$out"' EXIT
	tarball=$("$src/packaging/freebsd/make-release" "$out" "$out/distinfo")
	version=$(sed -n 's/^DISTVERSION=[[:space:]]*//p' \
	    "$src/packaging/freebsd/Makefile")
	file=ridivave-$version.tar.gz
	test "$tarball" = "$out/$file"
	sum=$(sha256sum "$tarball" | cut -d ' ' -f 1)
	size=$(wc -c <"$tarball" | tr -d ' ')
	grep -qx "SHA256 ($file) = $sum" "$out/distinfo"
	grep -qx "SIZE ($file) = $size" "$out/distinfo"
	grep -qx 'TIMESTAMP = [0-9][0-9]*' "$out/distinfo"
	tar tzf "$tarball" | grep -qx "ridivave-$version/LICENSE"
	tar tzf "$tarball" | grep -qx "ridivave-$version/CMakeLists.txt"
	# The port's own distinfo names the same file.
	grep -q "^SHA256 ($file) = [0-9a-f]\{64\}\$" \
	    "$src/packaging/freebsd/distinfo"
	grep -q "^SIZE ($file) = [0-9][0-9]*\$" "$src/packaging/freebsd/distinfo"
	;;
*)
	echo "usage: check.sh install|manual|icon|release SOURCE_DIR BUILD_DIR" >&2
	exit 2
	;;
esac
