#!/bin/sh
# Runs a test program in a network namespace of its own in which only the loopback interface is
# up: the XMPP server, Pidgin and the peers it starts reach each other on 127.0.0.1 and nothing
# else. As root the namespace is made directly, otherwise inside a user namespace.
set -eu
if [ "$(id -u)" -eq 0 ]; then
  namespace="unshare --net"
else
  namespace="unshare --map-root-user --net"
fi
exec $namespace sh -c 'ip link set lo up && exec "$@"' sh "$@"
