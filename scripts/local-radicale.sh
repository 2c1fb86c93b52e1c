# Sourced by the scripts that talk to a CalDAV server of their own (bench/bench_sync.sh,
# tests/e2e/sync_menu.sh); the C++ tests have tests/support/RadicaleServer for the same.
#
# start_local_radicale FOLDER: starts a throwaway Radicale server on a free localhost port, its
# storage, users and configuration in FOLDER: user "tester" with the password "secret" and one
# collection "tasks" that takes to-dos. Sets `server` (its process id: the caller stops it),
# `port` and `collection` (the collection's URL), and returns once the server answers.
start_local_radicale() {
  local folder=$1
  port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  mkdir -p "$folder/storage/collection-root/tester/tasks"
  echo '{"C:supported-calendar-component-set": "VTODO", "tag": "VCALENDAR"}' \
    >"$folder/storage/collection-root/tester/tasks/.Radicale.props"
  echo 'tester:secret' >"$folder/users"
  # delay = 0: a wrong password is answered at once, not after a second.
  printf '[server]\nhosts = 127.0.0.1:%s\n[auth]\ntype = htpasswd\nhtpasswd_filename = %s\nhtpasswd_encryption = plain\ndelay = 0\n[storage]\nfilesystem_folder = %s\n[web]\ntype = none\n[logging]\nlevel = warning\n' \
    "$port" "$folder/users" "$folder/storage" >"$folder/radicale.conf"
  radicale --config "$folder/radicale.conf" 2>"$folder/radicale.log" &
  server=$!
  collection="http://127.0.0.1:$port/tester/tasks/"
  for _ in $(seq 100); do
    curl -s -o /dev/null -u tester:secret "$collection" && return 0
    sleep 0.1
  done
  echo "the Radicale server did not answer on port $port (its log: $folder/radicale.log)" >&2
  return 1
}
