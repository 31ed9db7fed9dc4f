# The shell library of the scripted tests and of the soak and cost commands; sourcing this file
# sources all of it. Each part holds one concern:
#   session.sh  requirements, the work folder, checks and the one cleanup of everything below
#   netns.sh    the network namespaces and their veth links
#   wine.sh     the prefix booted in the namespace, the program and its runs
#   driver.sh   the driver, screenshots, pixels, the window, menu and tray, the profile
#   traffic.sh  UDP sinks and senders (traffic.py)
#   measure.sh  CPU time and memory of processes
set -uo pipefail
lib_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo_root=$(cd "$lib_dir/../.." && pwd)
. "$repo_root/scripts/wine_env.sh"
for part in session netns wine driver traffic measure; do . "$lib_dir/$part.sh"; done
unset part
