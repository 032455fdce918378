#!/bin/bash
# The asset tool's md2 checker: a well-formed model passes with its frames and animations listed;
# a truncated one is refused with a non-zero exit status and the reason; a file that is no MD2
# file, or cannot be read, gets the reason alone.
set -u
tool="$TAM_BUILD_DIR/tamasset"
corpus="$TAM_SOURCE_DIR/fuzz/corpus/md2"
fail() { echo "FAIL: $*"; exit 1; }

out=$("$tool" md2 "$corpus/fans_and_strips.md2") || fail "good model refused: $out"
grep -q "frames 5 of 88 bytes" <<<"$out" || fail "header not printed: $out"
grep -q "pose04" <<<"$out" || fail "frame names not printed: $out"
grep -q "1 strips, 2 fans, 15 vertex entries" <<<"$out" || fail "command list summary: $out"
grep -q " 0  frames   0- 39 at  9/s  partly present" <<<"$out" || fail "animations: $out"
grep -q "check: ok" <<<"$out" || fail "no check line: $out"

out=$("$tool" md2 "$corpus/truncated.md2" 2>&1) && fail "truncated model accepted: $out"
grep -q "runs past the end" <<<"$out" || fail "no reason given: $out"

out=$("$tool" md2 "$TAM_SOURCE_DIR/README.md" 2>&1) && fail "text file accepted"
want="tamasset md2: $TAM_SOURCE_DIR/README.md is refused: not an MD2 file (no IDP2 magic)"
[[ "$out" == "$want" ]] || fail "not the reason alone: $out"
out=$("$tool" md2 "$corpus" 2>&1) && fail "a folder accepted"
[[ "$out" == "tamasset: cannot read $corpus: Is a directory" ]] || fail "no reason: $out"
"$tool" md2 >/dev/null 2>&1; [ $? -eq 2 ] || fail "missing argument not a usage error"
echo ok
