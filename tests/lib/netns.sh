# The network namespaces of a run, the only ones the scripts make: the program's (where its
# wineserver lives, so that Wine lists its interfaces) and a peer's, joined by veth links.
ns=
peer=
# Link N joins $subnet.N.1 on the program's side to $subnet.N.2 on the peer's.
subnet=10.241

in_ns() { ip netns exec "$ns" "$@"; }
in_peer() { ip netns exec "$peer" "$@"; }
ns_address() { echo "$subnet.$1.1"; }
peer_address() { echo "$subnet.$1.2"; }

# Without IPv6, and with fixed neighbours on the links, nothing crosses them but the run's datagrams.
make_namespaces() {
  local n
  ip netns add "quintrel-$$" || abort "cannot add namespace quintrel-$$"
  ns=quintrel-$$
  ip netns add "quintrel-peer-$$" || abort "cannot add namespace quintrel-peer-$$"
  peer=quintrel-peer-$$
  for n in "$ns" "$peer"; do
    ip netns exec "$n" sysctl -q -w net.ipv6.conf.all.disable_ipv6=1 net.ipv6.conf.default.disable_ipv6=1
    ip netns exec "$n" ip link set lo up
  done
}

# A veth link: name in the program's namespace at $subnet.N.1, its other end in the peer's at .2.
make_link() { # make_link name peer-name N [mtu]
  local name=$1 other=$2 mtu=${4:-1500} here there
  here=$(ns_address "$3") there=$(peer_address "$3")
  in_ns ip link add name "$name" mtu "$mtu" type veth peer name "$other" mtu "$mtu" netns "$peer" || return 1
  in_ns ip addr add "$here/24" dev "$name"
  in_peer ip addr add "$there/24" dev "$other"
  in_ns ip link set "$name" up
  in_peer ip link set "$other" up
  in_ns ip neigh replace "$there" lladdr "$(in_peer cat "/sys/class/net/$other/address")" dev "$name" nud permanent
  in_peer ip neigh replace "$here" lladdr "$(in_ns cat "/sys/class/net/$name/address")" dev "$other" nud permanent
}

# The kernel's own counter of a link on the program's side: rx_bytes, tx_bytes...
link_counter() { in_ns cat "/sys/class/net/$1/statistics/$2"; }

# Ends every process left in the namespaces, then deletes them.
remove_namespaces() {
  local n
  for n in "$ns" "$peer"; do
    [ -n "$n" ] || continue
    ip netns pids "$n" 2>/dev/null | xargs -r kill 2>/dev/null
    ip netns del "$n" 2>/dev/null
  done
}
