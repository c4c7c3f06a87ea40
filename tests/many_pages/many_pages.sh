#!/usr/bin/env bash
# Many pages from three sets: render --batch, and the README's recipes run as written, GNU
# parallel on this machine (twice: the pages written beside the sets must not be taken for
# sets) and the make rule. Every page must be the page drawn alone, byte for byte.
#   many_pages.sh README NIKRA SAMPLES
set -euo pipefail

readme=$1 nikra=$2 samples=$3
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
# under a header of its own; alone/NAME.pdf: its page drawn alone.
make_set() {  # NAME HEADER COUNT
  local dir=$PWD/sets/$1 kind k
  mkdir -p "$dir"
  cp "$samples"/* "$dir"/
  for kind in frmnkr%d.dat g0%d.dat cmtnkr%d.txt; do
    printf '\r\n\r\n\r\n'
    for k in 1 2 3 4 5 6; do
      if ((k <= $3)) && [[ -f $dir/$(printf "$kind" "$k") ]]; then printf "%s/$kind\r\n" "$dir" "$k"; else printf '\r\n'; fi
    done
  done >"$dir/Nikra.pth"
  printf '%s\r\n0\r\n3\r\n0\r\n' "$2" >>"$dir/Nikra.pth"
  nikra render -o "alone/$1.pdf" --pth "sets/$1/Nikra.pth"
}
make_set one "Set one" 4
make_set two "Set two" 2
make_set three "Set three" 1

same_pages() {  # WHO FOLDER PAGE...
  local who=$1 folder=$2 page
  shift 2
  for page in "$@"; do
    cmp -s "alone/$page" "$folder/$page" || fail "$who: $folder/$page is not the page drawn alone"
  done
}

# render --batch: pages of all kinds drawn side by side, each worker drawing several in turn.
mkdir batch
nikra render -o alone/one.png --pth sets/one/Nikra.pth
nikra render -o alone/two.svg --pth sets/two/Nikra.pth --select 20,20,150,120
nikra render -o alone/three.png --pth sets/three/Nikra.pth --dpi 150 --header 'Set "3"'
cat >pages.txt <<'PAGES'
# each page as it is drawn alone
batch/one.pdf --pth sets/one/Nikra.pth
batch/two.pdf --pth sets/two/Nikra.pth
batch/three.pdf --pth sets/three/Nikra.pth
batch/one.png --pth sets/one/Nikra.pth
batch/two.svg --pth sets/two/Nikra.pth --select 20,20,150,120
batch/three.png --pth sets/three/Nikra.pth --dpi 150 --header "Set \"3\""
PAGES
nikra render --batch pages.txt >results.txt || fail "render --batch failed"
[[ $(grep -c '^ok batch/' results.txt) == 6 ]] || fail "render --batch: $(cat results.txt)"
same_pages "render --batch" batch one.pdf two.pdf three.pdf one.png two.svg three.png

recipe=$(grep -m 1 '^parallel nikra render' "$readme" || true)
[[ -n $recipe ]] || fail "the README has no one-machine parallel recipe"
for run in first second; do
  bash -c "$recipe" || fail "the parallel recipe failed on its $run run"
done
same_pages parallel sets one.pdf two.pdf three.pdf

rm -f sets/*.pdf
awk '/^```make$/ { inside = 1; next } inside && /^```$/ { exit } inside' "$readme" >Makefile
[[ -s Makefile ]] || fail "the README has no make rule"
make -s -j3 || fail "make -j3 failed"
same_pages make sets one.pdf two.pdf three.pdf
# An older page than its set's files is drawn again, and only that one.
touch -d '2001-01-01' sets/two.pdf
[[ $(make -n) == "nikra render -o sets/two.pdf --pth sets/two/Nikra.pth" ]] || fail "make would not draw just sets/two.pdf again"

exit $((failures > 0))
