#!/usr/bin/env bash
# The README's recipes for many pages, run as written on three sets: GNU parallel on this
# machine (twice: the pages written beside the sets must not be taken for sets) and the make
# rule. Every page must be its set's page drawn alone, byte for byte.
#   many_pages.sh README NIKRA SAMPLES
set -euo pipefail

readme=$1 nikra=$2 samples=$3
for tool in parallel make; do
  command -v "$tool" >/dev/null || { echo "$tool is needed: run scripts/setup" >&2; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" "$work/alone"
ln -s "$nikra" "$work/bin/nikra"
export PATH="$work/bin:$PATH"
cd "$work"
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# sets/NAME: the samples and a Nikra.pth naming them by full paths in the first COUNT slots,
# under a header of its own.
make_set() {
  local name=$1 header=$2 count=$3 dir=$PWD/sets/$1 k
  mkdir -p "$dir"
  cp "$samples"/* "$dir"/
  slot_lines() {  # PREFIX SUFFIX LAST: the six slot lines of one file kind
    for k in 1 2 3 4 5 6; do
      if ((k <= count && k <= $3)); then printf '%s\r\n' "$dir/$1$k$2"; else printf '\r\n'; fi
    done
  }
  {
    printf '\r\n\r\n\r\n'; slot_lines frmnkr .dat 4
    printf '\r\n\r\n\r\n'; slot_lines g0 .dat 4
    printf '\r\n\r\n\r\n'; slot_lines cmtnkr .txt 3
    printf '%s\r\n0\r\n3\r\n0\r\n' "$header"
  } >"$dir/Nikra.pth"
  nikra render -o "alone/$name.pdf" --pth "sets/$name/Nikra.pth"
}
make_set one "Set one" 4
make_set two "Set two" 2
make_set three "Set three" 1

same_pages() {
  local set
  for set in one two three; do
    cmp -s "alone/$set.pdf" "sets/$set.pdf" || fail "$1: sets/$set.pdf is not the page its set draws alone"
  done
}

recipe=$(grep -m 1 '^parallel nikra render' "$readme" || true)
[[ -n $recipe ]] || fail "the README has no one-machine parallel recipe"
for run in first second; do
  bash -c "$recipe" || fail "the parallel recipe failed on its $run run"
done
same_pages parallel

rm -f sets/*.pdf
awk '/^```make$/ { inside = 1; next } inside && /^```$/ { exit } inside' "$readme" >Makefile
[[ -s Makefile ]] || fail "the README has no make rule"
make -s -j3 || fail "make -j3 failed"
same_pages make
# An older page than its set's files is drawn again, and only that one.
touch -d '2001-01-01' sets/two.pdf
[[ $(make -n) == "nikra render -o sets/two.pdf --pth sets/two/Nikra.pth" ]] || fail "make would not draw just sets/two.pdf again"

exit $((failures > 0))
