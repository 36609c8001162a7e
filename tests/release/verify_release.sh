#!/usr/bin/env bash
# Builds this commit's release files a second time, in a fresh clone in another
# folder, later, under another time zone, locale and umask, and compares them
# byte for byte with this checkout's; prints their SHA-256 sums. It builds
# neither the Debian package nor the files of the tests.
#   verify_release.sh    (make verify-release, after make windows-package web)
# VELMORIDA_VERIFY_KEEP=1 keeps the second folder; it is kept anyway when a file differs.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cd "$top"

# The clone holds the commit, not what is changed beside it.
if ! git diff --quiet HEAD --; then
  echo "Changes not committed: the second build would be of HEAD without them." >&2
  echo "Commit or stash them, build again, and run this again." >&2
  exit 1
fi
commit=$(git rev-parse HEAD)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/CMakeCache.txt)
release_files=(build-windows/velmorida.exe build-windows/velmorida.exe.debug
               "build-windows/velmorida-$version-x64.msi" "build-windows/velmorida-$version-x64.zip"
               build-web/velmorida.html)

second=$(mktemp -d "${TMPDIR:-/tmp}/velmorida-verify.XXXXXX")
clone=$second/velmorida
git clone -q --no-checkout "$top" "$clone"
git -C "$clone" fetch -q "$top" "$commit"
git -C "$clone" checkout -q --detach "$commit"

if [ "$(date +%z)" = "+1400" ]; then zone=VRF+12; else zone=VRF-14; fi
other_locale=C.UTF-8
if locale 2>/dev/null | grep -qE '^LC_CTYPE="?C\.(UTF-8|utf8)"?$'; then other_locale=C; fi
if [ "$(umask)" = "0077" ]; then other_umask=0022; else other_umask=0077; fi
echo "Building $commit again in $clone (TZ=$zone LC_ALL=$other_locale umask $other_umask)"
if ! (cd "$clone" && umask "$other_umask" &&
      TZ=$zone LC_ALL=$other_locale nice make --no-print-directory windows-package web) \
      >"$second/build.log" 2>&1; then
  tail -n 20 "$second/build.log"
  echo "The second build failed; its log: $second/build.log" >&2
  exit 1
fi

# The site beside the page, file by file, where either build made one.
mapfile -t -O "${#release_files[@]}" release_files < <(
  find build-web/site "$clone/build-web/site" -type f -printf 'build-web/site/%P\n' 2>/dev/null |
    LC_ALL=C sort -u)

echo
echo "SHA-256 of the release files of $commit:"
if ! sums=$(sha256sum "${release_files[@]}"); then
  echo "FAIL: not every release file was built here; the second build stays in $clone"
  exit 1
fi
echo "$sums"
# Every file that differs or is missing in the clone, not only the first.
if ! (cd "$clone" && sha256sum --quiet --check) <<<"$sums"; then
  echo "FAIL: the second build differs; it stays in $clone"
  exit 1
fi
if [ -n "${VELMORIDA_VERIFY_KEEP:-}" ]; then
  echo "The second build stays in $clone"
else
  rm -rf "$second"
fi
echo "PASS: ${#release_files[@]} files built twice, byte for byte the same"
