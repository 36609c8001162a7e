# Sourced by the scripts that run Windows programs under Wine: one Wine
# prefix for each test, copied from a template made once per build, and a
# wineserver that lives as long as the test. A prefix is about 700 MB and
# takes some 10 s to make; a copy with hard links, well under a second.

# Debian's wine64 comes without Wine's preloader, which would keep the
# Windows ranges free before anything else is mapped; the kernel puts the
# loader's heap anywhere in the gigabyte after wine64 (0x7d000000), once in a
# few thousand starts over the page Wine maps at 0x7ffe0000 for each process,
# which then ends with 1 ("failed to map the shared user data", an err
# message). Without address randomisation the heap follows wine64 directly.
# Every Wine process of a test descends from the script that sources this
# file, so that script starts again under setarch -R as it sources it.
ADDR_NO_RANDOMIZE=0x0040000
if (((0x$(</proc/self/personality) & ADDR_NO_RANDOMIZE) == 0)); then
  exec setarch --addr-no-randomize "$0" "$@"
fi

WINE=/usr/lib/wine/wine64  # /usr/bin/wine would look for a 32-bit Wine too
WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=-all
# No desktop entries or file associations written into the home folder, and
# no offer to install Mono or Gecko.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"

WINE_ROOT=${VELMORIDA_WINE_ROOT:-${TMPDIR:-/tmp}/velmorida-wine}
WINE_TEMPLATE=$WINE_ROOT/template

# make_wine_template: makes the template prefix unless it is there, once for
# all the tests that start together. Windows programs ask for Verdana; Wine
# does not map it to fonts-arkpandora's Veranda, which has Verdana's metrics,
# by itself.
make_wine_template() {
  mkdir -p "$WINE_ROOT"
  (
    flock 9
    [ -f "$WINE_TEMPLATE/.ready" ] && exit 0
    rm -rf "$WINE_TEMPLATE"
    export WINEPREFIX="$WINE_TEMPLATE"
    "$WINE" wineboot -i </dev/null >/dev/null 2>&1
    "$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Verdana /d Veranda /f \
      </dev/null >/dev/null 2>&1
    "$WINESERVER" -w
    touch "$WINE_TEMPLATE/.ready"
  ) 9>"$WINE_ROOT/template.lock"
}

# use_fresh_prefix NAME: a new copy of the template for this test, exported
# as WINEPREFIX, with its wineserver and Windows' background processes
# started. They get no standard streams of the test: otherwise the test's
# caller would wait for them to close their copy of its output.
use_fresh_prefix() {
  make_wine_template
  export WINEPREFIX=$WINE_ROOT/$1
  rm -rf "$WINEPREFIX"
  cp -al "$WINE_TEMPLATE" "$WINEPREFIX"
  # Wine rewrites its registry files as it runs: those are real copies.
  cp --remove-destination "$WINE_TEMPLATE"/*.reg "$WINEPREFIX"
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  "$WINE" wineboot </dev/null >/dev/null 2>&1
}

# end_prefix: stops the test's wineserver and everything it runs, and
# removes the prefix.
end_prefix() {
  "$WINESERVER" -k </dev/null >/dev/null 2>&1 || true
  "$WINESERVER" -w </dev/null >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
}
