#!/usr/bin/env bash
# scripts/deps.sh with a package manager of its own: a missing package is
# installed with one line before and one after, none of the package
# manager's output reaching the terminal; a failing install shows the log's
# last lines and its name, and exits non-zero; nothing missing, nothing said.
set -uo pipefail
deps=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
# Installed: everything but the packages named missing-*.
cat >"$work/bin/dpkg-query" <<'STUB'
#!/usr/bin/env bash
case "${@: -1}" in missing-*) exit 1 ;; *) printf 'install ok installed' ;; esac
STUB
# Talks a lot; fails on a package named missing-broken; notes its environment.
cat >"$work/bin/apt-get" <<'STUB'
#!/usr/bin/env bash
for i in $(seq 1 50); do echo "Get:$i http://deb.debian.org chatter $i"; done
echo "frontend=$DEBIAN_FRONTEND"
for a in "$@"; do
  [ "$a" = missing-broken ] && { echo "E: Unable to locate package missing-broken" >&2; exit 100; }
done
exit 0
STUB
printf '#!/usr/bin/env bash\necho 0\n' >"$work/bin/id"
chmod +x "$work/bin/"*
fail() { echo "FAIL: $*"; exit 1; }
run() { PATH="$work/bin:$PATH" DEPS_LOG="$work/packages.log" bash "$deps" "$@"; }

out=$(run g++ 2>&1) || fail "nothing missing: status $?"
[ -z "$out" ] || fail "nothing missing, yet it said: $out"

out=$(run missing-one missing-two 2>&1) || fail "a good install: status $?"
[ "$(wc -l <<<"$out")" -eq 2 ] || fail "a good install said $(wc -l <<<"$out") lines, from: $(head -n 3 <<<"$out")"
grep -q "missing-one missing-two" <<<"$out" || fail "the packages are not named: $out"
grep -q chatter <<<"$out" && fail "the package manager's output reached the terminal"
grep -q "frontend=noninteractive" "$work/packages.log" || fail "apt-get did not run noninteractive"

out=$(run missing-broken 2>&1) && fail "a failing install answered 0"
grep -q "$work/packages.log" <<<"$out" || fail "the log is not named: $out"
grep -q "Unable to locate package missing-broken" <<<"$out" || fail "no last lines: $out"
grep -q "Get:1 " <<<"$out" && fail "more than the last lines: $out"
echo "deps.sh: quiet install, a named log on failure"
