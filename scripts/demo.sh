#!/usr/bin/env bash
# Installs what is needed, builds, and runs the chain on the bundled example:
# two contour lines cut into 32 pieces whose end points are listed in
# scattered order. sorvik sorts the end points so that coincident ones become
# neighbours; the joiner then reads the same options the whole chain uses.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build
bin=$PWD/build/bin

work=build/demo
rm -rf "$work" && mkdir -p "$work"
cp examples/pointlist/startstp.demo examples/pointlist/dimen.demo "$work"/
cd "$work"

# What the driver does between the tools: name the run, then turn the
# extractor's run settings file into environment variables.
export QBT_segpid=demo QBT_proc=vornel
while IFS='=' read -r name value; do
  [[ $name == set\ * ]] && export "${name#set }=$value"
done < dimen.demo
echo "run settings: QBT_segdim=$QBT_segdim QBT_maxverts=$QBT_maxverts QBT_dgnname=$QBT_dgnname"

"$bin/sorvik" startstp.demo sorted.demo
echo
echo "first sorted end points (Y, X, element position):"
head -6 sorted.demo

options=(-F "$QBT_dgnname" -ll 10 -L 10 -D 12,2 -W 0.5,0,0)
echo
echo "vornel ${options[*]}"
set +e
"$bin/vornel" "${options[@]}"
status=$?
set -e
echo
echo "vornel exit status: $status"
exit "$status"
