#!/usr/bin/env bash
# A throw-away PostgreSQL cluster for the clinic store's tests, benchmarks and
# load checks, in a folder of its own:
#   pgcluster.sh start <folder>   makes the cluster (initdb) and starts it; the
#                                 connection string goes to <folder>/conninfo
#   pgcluster.sh stop <folder>    stops it and removes the cluster's files
#   pgcluster.sh halt <folder>    stops the server at once (as a crash would),
#                                 keeping its files
#   pgcluster.sh kill <folder>    SIGKILL to the server and all its processes
#   pgcluster.sh resume <folder>  starts the halted or killed server again on
#                                 the same socket and port
# The cluster's files and its Unix socket live in a short folder of their own
# under /tmp (named in <folder>/pgdir), which the server's user can reach and
# whose path fits a socket's name. The server listens on that socket and on
# 127.0.0.1 at a free
# port. initdb and the server refuse to run as root, so under root (CI) they
# run as the user "nobody". Roles for the tests: loquena (owner, no password
# over the socket), terapeuta (password "haslo-terapeuty", over TCP) and
# gosc (may log in, has no right on any table).
# LOQUENA_PG_FSYNC=on keeps fsync for checks that kill the server.
set -euo pipefail
cmd="${1:-}" dir="${2:-}"
[ -n "$cmd" ] && [ -n "$dir" ] || { echo "usage: $0 start|stop <folder>" >&2; exit 2; }
bindir="${LOQUENA_PG_BINDIR:-}"
if [ -z "$bindir" ]; then
  bindir="$(pg_config --bindir 2>/dev/null || true)"
  [ -x "$bindir/initdb" ] || bindir="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)"
fi
[ -x "$bindir/initdb" ] ||
  { echo "pgcluster: no initdb (scripts/install-deps.sh installs postgresql)" >&2; exit 1; }
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u nobody -- "$@"; else "$@"; fi
}

case "$cmd" in
start)
  # A cluster left by a run that was killed goes first.
  [ -f "$dir/pgdir" ] && bash "$0" stop "$dir"
  mkdir -p "$dir"
  pg="$(mktemp -d /tmp/loquena-pg-XXXXXX)"
  echo "$pg" >"$dir/pgdir"
  [ "$(id -u)" -eq 0 ] && chown nobody "$pg"
  as_owner "$bindir/initdb" -D "$pg/data" -U loquena -A trust -E UTF8 --locale=C.UTF-8 \
    --no-sync >"$pg/initdb.log" 2>&1 || { cat "$pg/initdb.log" >&2; exit 1; }
  # The socket: trust for the owner; TCP: passwords (scram) for everybody.
  cat >"$pg/data/pg_hba.conf" <<HBA
local all loquena trust
local all all scram-sha-256
host all all 127.0.0.1/32 scram-sha-256
HBA
  fsync="${LOQUENA_PG_FSYNC:-off}"
  started=""
  for _ in 1 2 3 4 5 6 7 8; do
    port=$((20000 + RANDOM % 30000))
    echo "-k $pg -p $port -c listen_addresses=127.0.0.1 -c fsync=$fsync -c max_connections=100" \
      >"$pg/options"
    if as_owner "$bindir/pg_ctl" -D "$pg/data" -l "$pg/server.log" -w -t 30 \
      -o "$(cat "$pg/options")" start >"$pg/pg_ctl.log" 2>&1; then
      started=1
      break
    fi
    grep -q "could not bind\|already in use" "$pg/server.log" 2>/dev/null || break
  done
  [ -n "$started" ] || { cat "$pg/pg_ctl.log" "$pg/server.log" >&2 2>/dev/null; exit 1; }
  # The socket folder must be reachable for the tests' user.
  chmod 755 "$pg"
  conninfo="host=$pg port=$port user=loquena"
  "$bindir/psql" "$conninfo dbname=postgres" -v ON_ERROR_STOP=1 -q >/dev/null <<SQL
CREATE ROLE terapeuta LOGIN PASSWORD 'haslo-terapeuty';
CREATE ROLE gosc LOGIN PASSWORD 'haslo-goscia';
SQL
  echo "$conninfo" >"$dir/conninfo"
  echo "$port" >"$dir/port"
  echo "$conninfo"
  ;;
stop)
  [ -f "$dir/pgdir" ] || exit 0
  pg="$(cat "$dir/pgdir")"
  case "$pg" in /tmp/loquena-pg-*) ;; *) echo "pgcluster: strange folder $pg" >&2; exit 1 ;; esac
  if [ -d "$pg/data" ]; then
    as_owner "$bindir/pg_ctl" -D "$pg/data" -m fast -w -t 20 stop >/dev/null 2>&1 ||
      as_owner "$bindir/pg_ctl" -D "$pg/data" -m immediate stop >/dev/null 2>&1 || true
  fi
  rm -rf "$pg"
  rm -f "$dir/pgdir"
  ;;
halt | kill | resume)
  pg="$(cat "$dir/pgdir")"
  case "$cmd" in
  halt) as_owner "$bindir/pg_ctl" -D "$pg/data" -m immediate -w stop >/dev/null ;;
  kill)
    # The postmaster first, so that it cannot start new backends.
    read -r master <"$pg/data/postmaster.pid"
    pids="$master $(pgrep -P "$master" || true)"
    # shellcheck disable=SC2086
    kill -KILL $pids 2>/dev/null || true
    for pid in $pids; do
      while kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
    done
    ;;
  resume)
    as_owner "$bindir/pg_ctl" -D "$pg/data" -l "$pg/server.log" -w -t 30 \
      -o "$(cat "$pg/options")" start >"$pg/pg_ctl.log" 2>&1 ||
      { cat "$pg/pg_ctl.log" >&2; exit 1; }
    ;;
  esac
  ;;
*)
  echo "usage: $0 start|stop|halt|kill|resume <folder>" >&2
  exit 2
  ;;
esac
