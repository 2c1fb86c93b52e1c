# Where scripts/install.sh puts things and scripts/uninstall.sh finds them (sourced by both).
prefix=${DOLVANE_PREFIX:-$HOME/.local/opt/dolvane}
data_home=${XDG_DATA_HOME:-$HOME/.local/share}
bin_dir=$HOME/.local/bin
applications_dir=$data_home/applications
icons_dir=$data_home/icons/hicolor
