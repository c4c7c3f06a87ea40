#!/usr/bin/env bash
# The installed program, run from its install tree alone.
#   install_tree.sh tree|package CMAKE CPACK BUILD_DIR BUILD_NIKRA SAMPLES APP_ID VERSION
# tree:    cmake --install into a temporary prefix; the files are there, the desktop entry,
#          metainfo and manual page pass their checkers (where installed), and the installed
#          nikra draws the sample page with a fresh per-user data folder.
# package: cpack -G DEB; the package holds the program and depends on the Qt runtime and the
#          fonts. Exit 77 (skipped) without dpkg-deb.
set -euo pipefail

part=$1 cmake=$2 cpack=$3 build=$4 build_nikra=$5 samples=$6 app_id=$7 version=$8

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
check_file() {
  [[ -f $1 ]] || fail "missing $1"
}

if [[ $part == package ]]; then
  if ! command -v dpkg-deb >/dev/null || ! command -v dpkg-shlibdeps >/dev/null; then
    echo "dpkg-deb or dpkg-shlibdeps missing: no Debian package to check"
    exit 77
  fi
  "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; exit 1; }
  deb=$(find "$work/pkg" -maxdepth 1 -name "nikra_${version}*_*.deb" | head -n 1)
  [[ -n $deb ]] || { cat "$work/cpack.log" >&2; fail "no nikra_${version}_*.deb written"; exit 1; }
  depends=$(dpkg-deb -f "$deb" Depends)
  echo "Depends: $depends"
  depended=$(sed 's/, */\n/g' <<<"$depends" | awk '{print $1}')
  for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6svg6 qt6-qpa-plugins \
           fonts-ipafont-mincho fonts-ipafont-gothic fonts-liberation2 libc6 libstdc++6 libdeflate0; do
    grep -qxF "$p" <<<"$depended" || fail "the package does not depend on $p"
  done
  contents=$(dpkg-deb -c "$deb" | awk '{print $NF}')
  for f in ./usr/bin/nikra ./usr/share/applications/$app_id.desktop \
           ./usr/share/icons/hicolor/scalable/apps/$app_id.svg ./usr/share/metainfo/$app_id.metainfo.xml \
           ./usr/share/man/man1/nikra.1 ./usr/share/nikra/samples/frmnkr1.dat ./usr/share/doc/nikra/nikra_help.html; do
    grep -qxF "$f" <<<"$contents" || fail "the package lacks $f"
  done
  grep -q '/nikra/libnikra_desktop\.so$' <<<"$contents" || fail "the package lacks the desktop module"
  exit $((failures > 0))
fi

prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

nikra=$prefix/bin/nikra
check_file "$nikra"
check_file "$prefix/share/doc/nikra/nikra_help.html"
desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
manual=$prefix/share/man/man1/nikra.1
for f in "$desktop" "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg" "$metainfo" "$manual"; do
  check_file "$f"
done
diff -r "$samples" "$prefix/share/nikra/samples" >/dev/null || fail "the installed samples differ from the sources"
# The installed program must not look for anything in the build tree.
if command -v readelf >/dev/null && readelf -d "$nikra" | grep -E 'R(UN)?PATH' | grep -qF "$build"; then
  fail "the installed nikra keeps a run path into the build tree"
fi

# The desktop program is a module in the library folder: started without a command, the
# installed nikra loads it and waits in its first-start welcome (ended by the timeout).
[[ -n $(find "$prefix" -path '*/lib*/nikra/libnikra_desktop.so') ]] || fail "the desktop module is not installed"
mkdir -p "$work/gui-home"
started=0
QT_QPA_PLATFORM=offscreen timeout 5 "$nikra" --home "$work/gui-home" >/dev/null 2>&1 || started=$?
[[ $started == 124 ]] || fail "the installed desktop program did not start (exit $started)"

[[ $("$nikra" --version) == "nikra $version" ]] || fail "nikra --version says '$("$nikra" --version)'"
grep -qF "version=\"$version\"" "$metainfo" || fail "the metainfo names no release $version"
grep -qF "\"nikra $version\"" "$manual" || fail "the manual page names no version $version"

# A user who has never run it: an empty home, no NIKRA_HOME, started from an unrelated folder.
home=$work/home
mkdir -p "$home" "$work/elsewhere"
export HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache
unset NIKRA_HOME
status=0
(cd "$work/elsewhere" && "$nikra" render -o "$work/installed.svg") 2>"$work/render.err" || status=$?
[[ $status == 0 ]] || fail "the installed nikra render ended with $status: $(cat "$work/render.err")"
[[ ! -s $work/render.err ]] || fail "the sample page gave messages: $(cat "$work/render.err")"
# Its program folder is the per-user data folder, seeded with the samples.
diff -r "$samples" "$XDG_DATA_HOME/nikra" >/dev/null || fail "$XDG_DATA_HOME/nikra does not hold the samples"
# The page is the sample page the build tree draws.
mkdir -p "$work/reference"
"$build_nikra" render --home "$work/reference" -o "$work/reference.svg" 2>/dev/null
cmp -s "$work/installed.svg" "$work/reference.svg" || fail "the installed program drew another page than the build"
[[ -z $(ls -A "$work/elsewhere") ]] || fail "the installed program wrote into the folder it was started from"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
else
  echo "desktop-file-validate not installed: the desktop entry is not validated"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 ||
    { cat "$work/appstream.log" >&2; fail "appstreamcli rejects $metainfo"; }
else
  echo "appstreamcli not installed: the metainfo file is not validated"
fi
if command -v groff >/dev/null; then
  warnings=$(groff -man -K utf8 -T utf8 -ww -z "$manual" 2>&1)
  [[ -z $warnings ]] || fail "groff warns about nikra.1: $warnings"
fi

exit $((failures > 0))
