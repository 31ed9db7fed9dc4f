# UDP traffic over the run's links, from tests/lib/traffic.py: datagram sinks at both ends, paced
# senders toward the program and from it, and an answering peer.
traffic_py=$(dirname "${BASH_SOURCE[0]}")/traffic.py
traffic_port=9100
# The interpreter itself, not a wrapper that would outlive a kill of its process id.
python=$(python3 -c 'import sys; print(sys.executable)' 2>/dev/null)

# Waits until a helper's log says "ready"; fails after five seconds.
wait_ready() { # wait_ready log...
  local log ready
  for _ in $(seq 50); do
    ready=1
    for log in "$@"; do grep -q ready "$log" 2>/dev/null || ready=; done
    [ -n "$ready" ] && return 0
    sleep 0.1
  done
  return 1
}

# Sinks on both sides, so that datagrams to either end are taken without an answer.
start_sinks() {
  start_helper "$ns" "$work/sink-ns.log" "$python" "$traffic_py" sink 0.0.0.0 "$traffic_port"
  start_helper "$peer" "$work/sink-peer.log" "$python" "$traffic_py" sink 0.0.0.0 "$traffic_port"
  wait_ready "$work/sink-ns.log" "$work/sink-peer.log"
}

# Paced traffic over link N: BYTES at RATE bytes a second in datagrams of SIZE bytes (default 1000).
send_to_program() { # send_to_program N bytes rate [size]
  in_peer "$python" "$traffic_py" send "$(ns_address "$1")" "$traffic_port" "${@:2}" >>"$work/send.log" 2>&1
}
send_from_program() { # send_from_program N bytes rate [size]
  in_ns "$python" "$traffic_py" send "$(peer_address "$1")" "$traffic_port" "${@:2}" >>"$work/send.log" 2>&1
}

# Senders over link N for a number of seconds in the background, toward the program and from it, each
# at rates that change every minute; send_pids are theirs.
send_by_minute() { # send_by_minute N seconds "received rates" "sent rates"
  start_helper "$peer" "$work/send-received.log" "$python" "$traffic_py" by-minute "$(ns_address "$1")" \
    "$traffic_port" "$2" $3
  send_pids=("$started")
  start_helper "$ns" "$work/send-sent.log" "$python" "$traffic_py" by-minute "$(peer_address "$1")" \
    "$traffic_port" "$2" $4
  send_pids+=("$started")
}

# A peer on link N that answers each datagram at the port with its first SIZE bytes.
start_answering_peer() { # start_answering_peer N port size
  start_helper "$peer" "$work/answer.log" "$python" "$traffic_py" answer "$(peer_address "$1")" "$2" "$3"
  wait_ready "$work/answer.log"
}
