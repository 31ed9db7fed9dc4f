# The run's Windows programs under Wine inside the program's namespace: a fresh prefix booted there,
# the program (app_exe) and the driver (driver_exe), each started with the run's loader (wine: the
# 32-bit /usr/lib/wine/wine or /usr/lib/wine/wine64, for the build under test).
wine=
app_exe=
driver_exe=
# Where the program's own output goes; the default is in the work folder, out of the working folders.
app_log=
profile=

# Starts a command in the background inside a namespace from a folder, its output to a file; started
# is its process id. ip netns exec and the command after it take the subshell's process over in
# turn, so that the id is the command's own.
start_in() { # start_in namespace folder output command...
  local where=$1 dir=$2 out=$3
  shift 3
  (cd "$dir" && exec ip netns exec "$where" "$@" >"$out" 2>&1) &
  started=$!
}
# A helper the cleanup ends.
start_helper() { # start_helper namespace output command...
  start_in "$1" "$work" "$2" "${@:3}"
  helper_pids+=("$started")
}

# A fresh prefix whose wineserver starts in the program's namespace; sets profile to the program's
# profile file. "plain" is Wine as it comes; "desktop" draws windows as a user sees them: Wine draws
# the captions itself (there is no window manager) with its caption-button font, and the dialogs get
# the bitmap font they are laid out for.
make_prefix() { # make_prefix plain|desktop [folder]
  local user_dir
  export WINEPREFIX=${2:-$work/prefix}
  prefixes+=("$WINEPREFIX")
  boot_wine_prefix in_ns
  if [ "$1" = desktop ]; then
    make_windows_unmanaged in_ns
    add_dialog_font
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  fi
  in_ns "$WINESERVER" -w
  user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -1)
  [ -n "$user_dir" ] || abort "the Wine prefix has no user folder"
  profile=$user_dir/AppData/Roaming/Quintrel/Quintrel.ini
}

# A driver that stays running keeps the prefix's shell and its tray up between the program's runs, so
# that the programs started later start nothing but themselves. Each Wine process takes the look at
# its start, so this comes after make_prefix.
keep_shell_up() { start_helper "$ns" /dev/null "$wine" "$driver_exe" hold; }

# Starts the program (app_exe, or the one given) from a working folder, with more DLL overrides if
# given; app_pid is its process.
start_app() { # start_app working-folder [dll overrides] [program]
  local overrides=$WINEDLLOVERRIDES
  [ -n "${2:-}" ] && overrides="$overrides;$2"
  WINEDLLOVERRIDES=$overrides start_in "$ns" "$1" "${app_log:-$work/wine-app.log}" "$wine" "${3:-$app_exe}"
  app_pid=$started
}
# Waits for the program to end; its exit code.
wait_app() {
  local status
  wait "$app_pid"
  status=$?
  app_pid=
  return "$status"
}
app_running() { [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null && drv main 2000 >/dev/null; }
# Exit through the menu command; the program's exit code.
exit_app() {
  drv command 537 >/dev/null
  wait_app
}
# What the program said on its way, for a message when it did not come up.
app_output() { cat "${app_log:-$work/wine-app.log}" 2>/dev/null; }
