#!/usr/bin/env bash
# Installs what is needed, builds, and runs the whole chain on the bundled
# example (examples/chain): six contour lines around a hill on levels 10 and
# 11, cut into 60 line strings stored in scattered order, with a database
# row per contour. The run driver extracts the end points (pellax), sorts
# them (sorvik) and runs the joiner (vornel) with the same options.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
bin=$PWD/build/bin

work=build/demo
rm -rf "$work" && mkdir -p "$work"
"$bin/dgntool" make examples/chain/contours.txt "$work/contours.dgn"
"$bin/dgndb" make examples/chain/contours_db.txt "$work/contours.db"
cd "$work"

# Graphic elements in the design file: not deleted, not the header.
elements() {
  "$bin/dgntool" dump contours.dgn | awk 'NR > 1 && / deleted=0 / && !/ type=9 /' | wc -l
}
before=$(elements)

options=(-F contours.dgn -ll 10,11 -D 12,2 -W 0.5,0,0)
echo "perl -S vornel.pl ${options[*]}"
set +e
PATH="$bin:$PATH" perl -S vornel.pl "${options[@]}"
status=$?
set -e
after=$(elements)
echo
echo "chain exit status: $status"
echo "elements before: $before, after: $after"
exit "$status"
