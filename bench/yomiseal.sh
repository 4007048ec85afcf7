#!/usr/bin/env bash
# yomiseal against cp on the same 100 MB Shift_JIS file, both writing to the
# same file system (tmpfs), measured in the same run. Prints the ratio of
# their speeds; the target is at least 0.75.
#   bench/yomiseal.sh [BUILD_DIR]   (default build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
tool=$build/apps/yomiseal/yomiseal
tutor=/usr/share/vim/vim90/tutor/tutor.ja.sjis
[ -x "$tool" ] || { echo "bench/yomiseal.sh: build $tool first" >&2; exit 1; }
[ -r "$tutor" ] || { echo "bench/yomiseal.sh: needs $tutor (vim-runtime)" >&2; exit 1; }
command -v hyperfine >/dev/null || { echo "bench/yomiseal.sh: needs hyperfine" >&2; exit 1; }

work=$(mktemp -d /dev/shm/yomiseal-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
src=$work/source.txt
# The tutor repeated up to 100 MB: real Shift_JIS with short lines and tabs.
target=$((100 * 1024 * 1024))
cp "$tutor" "$src"
while [ "$(stat -c %s "$src")" -lt "$target" ]; do cat "$src" "$src" > "$src.tmp"; mv "$src.tmp" "$src"; done
truncate -s "$target" "$src"

hyperfine --warmup 2 --runs 10 --style basic --export-json "$work/times.json" \
  -n cp "cp '$src' '$work/copy.txt'" \
  -n yomiseal "'$tool' '$src' '$work/sealed.lkd'"

python3 - "$work/times.json" "$target" <<'PY'
import json, sys
runs = {r["command"]: r["mean"] for r in json.load(open(sys.argv[1]))["results"]}
size = int(sys.argv[2])
for name, t in runs.items():
    print(f"{name:9s} {t * 1000:8.1f} ms  {size / t / 1e9:6.2f} GB/s")
print(f"yomiseal speed / cp speed = {runs['cp'] / runs['yomiseal']:.2f}  (target >= 0.75)")
PY
