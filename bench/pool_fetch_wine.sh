#!/usr/bin/env bash
# Runs the Windows build of the pool benchmark under Wine against an nginx on
# 127.0.0.1 started here (one worker, no access log, one 5 KB page).
#   bench/pool_fetch_wine.sh build/windows-release/bench/bench_pool_fetch.exe
set -euo pipefail
exe=$(realpath "$1")
prefix=$(realpath -m "$(dirname "$exe")/../wineprefix")
root=$(mktemp -d /tmp/zelvo-bench-nginx-XXXXXX)
trap 'kill "$nginx" 2>/dev/null; wait "$nginx" 2>/dev/null; rm -rf "$root"' EXIT

mkdir -p "$root/html" "$root/logs"
head -c 5120 /dev/zero | tr '\0' x >"$root/html/page.html"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$root/nginx.conf" <<CONF
daemon off;
master_process off;
worker_processes 1;
error_log $root/logs/error.log;
pid $root/nginx.pid;
events { worker_connections 4096; }
http { access_log off;
  client_body_temp_path $root/tmp;
  server { listen 127.0.0.1:$port backlog=4096; root $root/html; }
}
CONF
/usr/sbin/nginx -p "$root" -e "$root/logs/error.log" -c "$root/nginx.conf" &
nginx=$!
for _ in $(seq 100); do
  (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  sleep 0.1
done

"$(dirname "$0")/../scripts/lib/wine-prefix.sh" "$prefix" >/dev/null 2>&1
ZELVO_BENCH_NGINX_PORT=$port WINEPREFIX=$prefix WINEDEBUG=-all /usr/lib/wine/wine64 "$exe" "${@:2}"
