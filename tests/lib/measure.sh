# Readings of a process from /proc, for the soak and cost commands: CPU time, memory, and the
# processes of one prefix.

# User plus system CPU time of a process in clock ticks.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
# A field of /proc/<pid>/status in kB: VmRSS, VmHWM.
status_kb() { awk -v f="$2:" '$1 == f { print $2 }' "/proc/$1/status" 2>/dev/null; }

# The processes of a prefix whose name is one of those given (as /proc shows it, e.g. explorer.exe).
prefix_pids() { # prefix_pids prefix name...
  local dir prefix=$1 name
  shift
  for dir in /proc/[0-9]*; do
    name=$(cat "$dir/comm" 2>/dev/null) || continue
    [[ " $* " == *" $name "* ]] || continue
    tr '\0' '\n' 2>/dev/null <"$dir/environ" | grep -qxF "WINEPREFIX=$prefix" && echo "${dir#/proc/}"
  done
}
