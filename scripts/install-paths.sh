# Where scripts/install.sh puts things and scripts/uninstall.sh finds them. Sourced by both before
# they change folder, so a relative DOLVANE_PREFIX is taken from the caller's folder.
prefix=${DOLVANE_PREFIX:-$HOME/.local/opt/dolvane}
# A line break or another control character could not be written into the manifest (one path a
# line), and CMake installs a backslash as a folder separator; every other character is quoted
# where the path is used.
if [[ $prefix == *[[:cntrl:]\\]* ]]; then
  echo "Dolvane: the program folder must not contain a backslash, a line break or another control character: refused" >&2
  exit 2
fi
prefix=$(realpath -m -s -- "$prefix")
data_home=${XDG_DATA_HOME:-$HOME/.local/share}
bin_dir=$HOME/.local/bin
applications_dir=$data_home/applications
icons_dir=$data_home/icons/hicolor
# What install put where, one "f PATH" (a file or link) or "d PATH" (a folder it created) a line.
# Its first line marks the folder as a Dolvane program folder, also after the program files are
# gone while lists are kept.
manifest=$prefix/.dolvane-manifest
manifest_header="# Dolvane program folder: what scripts/install.sh installed"

# Whether $prefix is a program folder: one with the manifest, or one an earlier version installed
# (the program and the shipped holiday rules, without a manifest).
is_program_folder() {
  [ -f "$manifest" ] && [ "$(head -n 1 "$manifest")" = "$manifest_header" ] && return 0
  [ -f "$prefix/dolvane" ] && [ -f "$prefix/data/NationalHoliday.txt" ]
}
