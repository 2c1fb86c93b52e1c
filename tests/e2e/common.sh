# Shared by the end-to-end scripts: a private copy of the program in a temporary folder (its list
# and data.ini live beside the executable), private runtime and home folders, and helpers.
# Source it with NAME set to the script's name, after PROGRAM and LIBRARY.

work=$(mktemp -d)
pid=
trap 'if [ -n "${pid:-}" ]; then kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; fi; rm -rf "$work"' EXIT
user=$(id -un)
mkdir -p "$work/prog/data/$user" "$work/runtime"
chmod 700 "$work/runtime"
cp "$PROGRAM" "$LIBRARY" "$work/prog/"
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work" XDG_CONFIG_HOME="$work/config"

fail() {
  echo "$NAME: $*" >&2
  exit 1
}
# Keeps a screenshot of the whole screen when DOLVANE_SHOT_DIR names a folder.
shot() {
  if [ -n "${DOLVANE_SHOT_DIR:-}" ] && command -v import >/dev/null; then
    import -window root "$DOLVANE_SHOT_DIR/$1.png"
  fi
}
# A log-out's SIGTERM closes the window the usual way: the settings are written, nothing asked.
close_program() {
  kill -TERM "$pid"
  wait "$pid" || true
  pid=
}
