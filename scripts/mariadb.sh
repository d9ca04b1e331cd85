#!/usr/bin/env bash
# Private MariaDB server for the tests: start DIR PORT | stop DIR (start again on the same DIR
# keeps its data)
# start writes DIR/odbc.ini and DIR/odbcinst.ini with the data source "hbtest"
# and prints nothing else; stop ends the server by its pid.
set -euo pipefail
cmd=$1; dir=$2
case "$cmd" in
start)
  port=$3
  mkdir -p "$dir/data" "$dir/run"
  chmod 777 "$dir" "$dir/data" "$dir/run" || true
  user_opt=()
  [ "$(id -u)" -eq 0 ] && user_opt=(--user=root)
  # A folder that holds a server's data already is started again as it is.
  if [ ! -d "$dir/data/mysql" ]; then
    mariadb-install-db --no-defaults --datadir="$dir/data" "${user_opt[@]}" \
      --auth-root-authentication-method=normal --skip-test-db --force >"$dir/install.log" 2>&1
  fi
  mariadbd --no-defaults --datadir="$dir/data" "${user_opt[@]}" \
    --socket="$dir/run/mysqld.sock" --pid-file="$dir/run/mysqld.pid" \
    --port="$port" --bind-address=127.0.0.1 --skip-networking=0 \
    --character-set-server=utf8mb4 --collation-server=utf8mb4_unicode_ci \
    --innodb-buffer-pool-size=64M --log-error="$dir/server.log" &
  echo $! > "$dir/server.pid"
  pid=$(cat "$dir/server.pid")
  for _ in $(seq 1 60); do
    if mariadb --no-defaults -uroot --socket="$dir/run/mysqld.sock" -e 'SELECT 1' >/dev/null 2>&1; then break; fi
    [ -d "/proc/$pid" ] || { echo "the server ended at start-up (port $port taken?)" >&2; exit 1; }
    sleep 0.5
  done
  mariadb --no-defaults -uroot --socket="$dir/run/mysqld.sock" -e "
    CREATE DATABASE IF NOT EXISTS hbtest CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci;
    CREATE DATABASE IF NOT EXISTS hbtest2 CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci;
    CREATE USER IF NOT EXISTS 'hb'@'127.0.0.1' IDENTIFIED BY 'hbpass';
    CREATE USER IF NOT EXISTS 'hb'@'localhost' IDENTIFIED BY 'hbpass';
    GRANT ALL ON *.* TO 'hb'@'127.0.0.1' WITH GRANT OPTION;
    GRANT ALL ON *.* TO 'hb'@'localhost' WITH GRANT OPTION;
    FLUSH PRIVILEGES;"
  drv=$(find /usr/lib -name 'libmaodbc.so' 2>/dev/null | head -n 1)
  cat > "$dir/odbcinst.ini" <<INI
[MariaDB]
Driver=${drv}
INI
  cat > "$dir/odbc.ini" <<INI
[hbtest]
Driver=MariaDB
Server=127.0.0.1
Port=${port}
Database=hbtest
User=hb
Password=hbpass
INI
  ;;
stop)
  if [ -f "$dir/server.pid" ]; then
    pid=$(cat "$dir/server.pid")
    if [ -r "/proc/$pid/comm" ] && grep -q mariadbd "/proc/$pid/comm"; then
      kill "$pid" 2>/dev/null || true
      for _ in $(seq 1 40); do [ -d "/proc/$pid" ] || break; sleep 0.25; done
      [ -d "/proc/$pid" ] && kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$dir/server.pid"
  fi
  ;;
esac
