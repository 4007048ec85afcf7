#!/usr/bin/env bash
# The real transport: yomite-trace receives what yomite-decode traces.
#   receiver_test.sh BUILD_DIR
set -euo pipefail
build=$1
export XDG_RUNTIME_DIR=$(mktemp -d)
trap 'kill $receiver 2>/dev/null || true; rm -rf "$XDG_RUNTIME_DIR"' EXIT
out=$XDG_RUNTIME_DIR/received.txt
"$build/tools/yomite-trace" >"$out" &
receiver=$!
for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/yomite-trace.sock" ] && break; sleep 0.05; done
printf '\x88\x9f\r\n' >"$XDG_RUNTIME_DIR/a.txt"
"$build/tools/yomite-decode" "$XDG_RUNTIME_DIR/a.txt" >/dev/null 2>&1
# The receiver writes each message as it comes: wait for it, five seconds at most.
for _ in $(seq 100); do grep -q 'sjis=1 euc=0 ' "$out" && break; sleep 0.05; done
kill $receiver
wait $receiver || true
grep -q 'sjis=1 euc=0 ' "$out" || { echo "receiver got: $(cat "$out")"; exit 1; }
# Without a receiver the program runs the same and nothing is left behind.
"$build/tools/yomite-decode" "$XDG_RUNTIME_DIR/a.txt" >/dev/null 2>&1
[ ! -e "$XDG_RUNTIME_DIR/yomite-trace.sock" ]
echo "receiver test passed"
