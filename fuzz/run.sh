#!/bin/sh
# Runs every fuzz target for SECONDS (default 15) on its seed corpus.  New
# inputs go to BUILD_DIR/fuzz-work, crashes to BUILD_DIR/fuzz-findings.
#
#	fuzz/run.sh BUILD_DIR [SECONDS]
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
seconds=${2:-15}

mkdir -p "$build/fuzz-findings" "$build/fuzz-tmp"
export TMPDIR="$build/fuzz-tmp"	# the targets' scratch directories
for t in port_files capture args conf; do
	work=$build/fuzz-work/$t
	log=$build/fuzz-$t.log
	mkdir -p "$work"
	echo "fuzzing $t for $seconds s"
	if ! "$build/fuzz/${t}_fuzz" -max_total_time="$seconds" \
	    -artifact_prefix="$build/fuzz-findings/$t-" \
	    "$work" "$top/fuzz/corpus/$t" >"$log" 2>&1; then
		tail -n 60 "$log"
		exit 1
	fi
	grep -E '^Done|^#[0-9]+.*DONE' "$log" | tail -n 1
done
