#!/bin/sh
# talvex-host end to end: a new database gets the demo data, the sql command runs
# the module's statements, a screenshot is taken without a screen.
set -eu
host="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export QT_QPA_PLATFORM=offscreen

"$host" --help | grep -q "talvex-host.log"

count=$("$host" --db "$dir/demo.db" sql " select count(1)　from HR_Employee where DELETED=0" 2>/dev/null | tail -n 1)
[ "$count" -gt 250 ] || { echo "demo employees: $count"; exit 1; }

# A quote in a value cannot end the literal.
rows=$("$host" --db "$dir/demo.db" sql "select count(1) from HR_Employee where PersonName='x'' or ''1''=''1'" 2>/dev/null | tail -n 1)
[ "$rows" = "0" ] || { echo "quoted text changed the statement: $rows"; exit 1; }

if "$host" --db "$dir/demo.db" sql "select * from dual connect by level < 3" 2>"$dir/err"; then
    echo "an unknown construct must fail"; exit 1
fi
grep -qi "connect" "$dir/err"

"$host" --db "$dir/demo.db" --screenshot "$dir/host.png" 2>/dev/null
size=$(stat -c %s "$dir/host.png")
[ "$size" -gt 20000 ] || { echo "screenshot too small: $size bytes"; exit 1; }
echo "host checks passed"
