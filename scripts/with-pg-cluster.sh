#!/usr/bin/env bash
# Runs a command beside a throwaway PostgreSQL 15 cluster: initdb into a
# temporary folder, a server that listens on a Unix socket in that folder only
# (no TCP) under a free port number, its URI in TALVEX_TEST_PG; the server is
# stopped and the folder removed when the command ends, whatever its outcome.
# The server refuses to run as root, so as root it runs as the postgres user.
#
#   scripts/with-pg-cluster.sh COMMAND [ARGS...]
#
# Without PostgreSQL installed the command runs without TALVEX_TEST_PG, and the
# tests that need the server fail, loudly, rather than be skipped.
set -euo pipefail

bin=/usr/lib/postgresql/15/bin
if [ ! -x "$bin/initdb" ]; then
    echo "*** PostgreSQL 15 is not installed: the PostgreSQL tests will fail." >&2
    echo "*** scripts/ensure-deps.sh installs it (postgresql-15)." >&2
    exec "$@"
fi

as_owner=()
if [ "$(id -u)" -eq 0 ]; then
    as_owner=(runuser -u postgres --)
fi

base=$(mktemp -d "${TMPDIR:-/tmp}/talvex-pg.XXXXXX")
mkdir -m 755 "$base/sock"
[ ${#as_owner[@]} -eq 0 ] || chown -R postgres:postgres "$base"
chmod 755 "$base"

stop() {
    "${as_owner[@]}" "$bin/pg_ctl" -D "$base/data" -m immediate -w stop >/dev/null 2>&1 || true
    rm -rf "$base"
}
trap stop EXIT

# A port number no server on this machine uses, though only the socket's name
# carries it.
port=
for _ in $(seq 100); do
    candidate=$((20000 + RANDOM % 40000))
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$candidate") 2>/dev/null; then
        port=$candidate
        break
    fi
done
[ -n "$port" ] || { echo "no free port found" >&2; exit 1; }

"${as_owner[@]}" "$bin/initdb" -D "$base/data" -A trust -U postgres -E UTF8 \
    --locale=C.UTF-8 --no-sync >"$base/initdb.log" 2>&1 \
    || { cat "$base/initdb.log" >&2; exit 1; }
# Durability is worth nothing to a cluster that lives for one run.
"${as_owner[@]}" "$bin/pg_ctl" -D "$base/data" -l "$base/server.log" -w \
    -o "-k $base/sock -p $port -c listen_addresses='' -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
    start >/dev/null \
    || { cat "$base/server.log" >&2; exit 1; }

export TALVEX_TEST_PG="postgresql://postgres@/postgres?host=$base/sock&port=$port"
echo "PostgreSQL test cluster: $TALVEX_TEST_PG" >&2
"$@"
