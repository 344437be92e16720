#!/bin/sh
# Makes both module versions of the bundled example port and shows them.
#
#	examples/demo.sh [BUILD_DIR [OUT_DIR]]	(defaults: build, demo)
#
# As root on Linux the whole job runs, build, install and capture included,
# inside the private sandbox of the tests: the host's /etc, /usr/local and
# /tmp are never touched.  Anywhere else it runs with -s, which builds and
# changes nothing on the system.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
out=${2:-$top/demo}
port=$top/examples/ports/games/pebblejump
sandbox=$build/tests/sandbox_run

rm -rf "$out"
mkdir -p "$out"
cd "$out"
# -b names an icon for the run without a build, which captures none.
if [ "$(id -u)" = 0 ] && [ -x "$sandbox" ] && "$sandbox" true 2>/dev/null
then
	echo "== ridivave -8 -9 $port (in the sandbox)"
	"$sandbox" "$build/ridivave" -8 -9 -b "$top/share/defaulticon.png" \
	    "$port"
else
	echo "== ridivave -8 -9 -s $port"
	"$build/ridivave" -8 -9 -s -b "$top/share/defaulticon.png" "$port"
fi

echo
echo "== $out"
find . ! -name . | sed 's|^\./||' | sort
for f in pebblejump-8/zub.conf pebblejump-8/kmenu-dir/pebblejump \
    pebblejump/zub.conf pebblejump/xdg-desktop/pebblejump.desktop \
    pebblejump/xdg-menu/pebblejump.desktop; do
	echo
	echo "== $f"
	awk 1 "$f"	# the menu entry ends without a newline
done
