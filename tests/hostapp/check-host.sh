#!/bin/sh
# talvex-host end to end: a screenshot is taken without a screen, over a new
# database that gets the demo data; the sql command runs the module's statements. With
# TALVEX_TEST_BACKEND=postgresql all of it runs on a database of its own on the
# cluster that TALVEX_TEST_PG names, dropped again at the end: its owner sets it
# up, and the operators sign in as their own roles.
set -eu
host="$1"
dir=$(mktemp -d)
export QT_QPA_PLATFORM=offscreen
# The demo's operators sign in with their codes as passwords.
export TALVEX_PASSWORD=admin

if [ "${TALVEX_TEST_BACKEND:-sqlite}" = postgresql ]; then
    [ -n "${TALVEX_TEST_PG:-}" ] || { echo "TALVEX_TEST_PG is not set: run scripts/test.sh"; exit 1; }
    name="talvex_host_check_$$"
    psql -q -X "$TALVEX_TEST_PG" -c "CREATE DATABASE $name"
    trap 'psql -q -X "$TALVEX_TEST_PG" -c "DROP DATABASE $name WITH (FORCE)"; rm -rf "$dir"' EXIT
    db=$(printf '%s' "$TALVEX_TEST_PG" | sed -E "s#^(postgres(ql)?://[^/?]*)(/[^?]*)?#\\1/$name#")
    as_role() { printf '%s' "$db" | sed -E "s#^(postgres(ql)?://)[^@/]*@#\\1$1@#"; }
    # The owner sets the database up, says how operators connect, and opens
    # no register.
    setup=$("$host" --db "$db" --screenshot "$dir/owner.png" 2>&1) \
        || { echo "owner's setup: $setup"; exit 1; }
    printf '%s' "$setup" | grep -qF "$(as_role clerk)" || { echo "owner's setup: $setup"; exit 1; }
    [ ! -e "$dir/owner.png" ] || { echo "the owner opened the register"; exit 1; }
else
    trap 'rm -rf "$dir"' EXIT
    db="$dir/demo.db"
    as_role() { printf '%s' "$db"; }
fi
admin_db=$(as_role admin)
clerk_db=$(as_role clerk)

"$host" --help | grep -q "talvex-host.log"

# The sql command never makes a database; the window makes the demo database.
if [ "${TALVEX_TEST_BACKEND:-sqlite}" = sqlite ] \
    && "$host" --db "$db" sql "select count(1) from HR_Employee" 2>/dev/null; then
    echo "sql ran on a database nobody made"; exit 1
fi
"$host" --db "$admin_db" --screenshot "$dir/host.png" 2>/dev/null
size=$(stat -c %s "$dir/host.png")
[ "$size" -gt 20000 ] || { echo "screenshot too small: $size bytes"; exit 1; }

count=$("$host" --db "$admin_db" sql " select count(1)　from HR_Employee where DELETED=0" 2>/dev/null | tail -n 1)
[ "$count" -gt 250 ] || { echo "demo employees: $count"; exit 1; }

# A quote in a value cannot end the literal.
rows=$("$host" --db "$admin_db" sql "select count(1) from HR_Employee where PersonName='x'' or ''1''=''1'" 2>/dev/null | tail -n 1)
[ "$rows" = "0" ] || { echo "quoted text changed the statement: $rows"; exit 1; }

if "$host" --db "$admin_db" sql "select * from dual connect by level < 3" 2>/dev/null; then
    echo "an unknown construct must fail"; exit 1
fi

# The module's update, as the clerk, of an exchange in his branch: the history
# records him.
id=$("$host" --db "$admin_db" sql "select min(a.ID) from Kq_ExchangeClass a, HR_Employee e where a.EmployeeCode=e.EmployeeCode and e.DeptCode like '02%'" 2>/dev/null | tail -n 1)
TALVEX_PASSWORD=clerk "$host" --db "$clerk_db" --operator clerk sql " Update Kq_ExchangeClass  set Remark='电话确认' Where ID=$id" >/dev/null
who=$("$host" --db "$admin_db" sql "select OperatorCode from Kq_ExchangeClassHistory where New_ID=$id" 2>/dev/null | tail -n 1)
[ "$who" = "clerk" ] || { echo "history operator: $who"; exit 1; }

# A failure while the window opens puts a message box over it; the screenshot
# shows the box and ends the run instead of waiting for an answer. Last, as it
# takes the register's table away.
if [ "${TALVEX_TEST_BACKEND:-sqlite}" = postgresql ]; then
    psql -q -X "$db" -c "ALTER TABLE kq_exchangeclass RENAME TO kq_gone"
else
    sqlite3 "$db" "ALTER TABLE Kq_ExchangeClass RENAME TO Kq_Gone"
fi
timeout 60 "$host" --db "$admin_db" --screenshot "$dir/failed.png" 2>/dev/null \
    || { echo "screenshot over a message box: status $?"; exit 1; }
[ -s "$dir/failed.png" ] || { echo "no screenshot over the message box"; exit 1; }
echo "host checks passed"
