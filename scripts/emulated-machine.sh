#!/usr/bin/env bash
# Where Wine runs on a machine that runs no 32-bit x86 code (a kernel or
# hypervisor without IA-32 emulation: "Exec format error"): an emulated
# x86-64 machine, qemu's software emulation, running Debian's kernel, whose IA-32 emulation is on, over this
# machine's own root file system. That root is shared into it read-only,
# with the changes the machine makes kept in its memory, so the machine runs
# the very Wine and tools this machine has installed. One folder (a build
# folder) is shared writable at its own path, so the paths of the build hold
# inside. It has no network device.
#   emulated-machine.sh needed             exit 0 when Wine must run in the machine
#   emulated-machine.sh make               make the machine, once per computer
#   emulated-machine.sh start SHARE        start it, sharing the folder SHARE
#   emulated-machine.sh run SHARE CMD...   run CMD in it, in this folder; its
#                                          output as it comes, its exit code
#   emulated-machine.sh stop SHARE         power it off
# What the machine is made of (Debian's kernel, from this machine's apt
# sources and checked as apt checks every package, and a small start-up
# image) is kept in the user's cache folder, under a name that says what it
# holds: a second clone reuses it, and a new kernel makes a new one.
set -u
here=$(cd "$(dirname "$0")" && pwd)
cache_root="${XDG_CACHE_HOME:-$HOME/.cache}/norvu-setup"
. "$here/machine-probe.sh"

fail() { echo "emulated-machine: $*" >&2; exit 1; }

# The kernel package, its version and busybox's, as this machine's apt
# sources offer them: the machine's name.
machine_dir() {
  local kernel kversion bversion digest
  kernel=$(apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-[0-9]/ { print $2; exit }')
  [ -n "$kernel" ] || return 1
  kversion=$(apt-cache policy "$kernel" | awk '/Candidate:/ { print $2 }')
  bversion=$(apt-cache policy busybox-static | awk '/Candidate:/ { print $2 }')
  [ -n "$kversion" ] && [ "$kversion" != "(none)" ] && [ -n "$bversion" ] && [ "$bversion" != "(none)" ] || return 1
  # The start-up script below is part of what the machine holds.
  digest=$(sed -n '/^startup_script() {$/,/^}$/p' "$0" | sha256sum | cut -c1-12)
  echo "$cache_root/machine-${kernel}_${kversion}-busybox_${bversion#*:}-$digest" | tr '~:' '__'
  echo "$kernel"
}

# The modules a name needs, each after those it depends on, as their
# modinfo lists them; built-in ones are left out.
module_order() {  # MODULE_DIR NAME...
  local dir="$1" name path deps
  shift
  for name in "$@"; do
    case " $seen " in *" $name "*) continue ;; esac
    seen="$seen $name"
    path=$(find "$dir/kernel" -name "$name.ko" -o -name "${name//_/-}.ko" | head -n 1)
    if [ -z "$path" ]; then
      grep -q "/${name}.ko\$" "$dir/modules.builtin" && continue
      fail "the kernel has no module $name"
    fi
    deps=$(grep -a -o -m 1 'depends=[^[:cntrl:]]*' "$path" | cut -d= -f2 | tr ',' ' ')
    # shellcheck disable=SC2086
    [ -n "$deps" ] && module_order "$dir" $deps
    echo "$path"
  done
}

# The machine's first process: loads what the shares need, puts the shared
# root under a layer in memory, mounts the writable share at its own path
# and hands over to the repository's scripts/emulated-init.sh.
startup_script() {
  cat <<'INIT'
#!/bin/busybox sh
/bin/busybox --install -s /bin
export PATH=/bin
mkdir -p /proc /sys /dev /host /layer /root
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
halt() { echo "norvu-startup: $*"; echo o >/proc/sysrq-trigger; sleep 10; }
for m in $(cat /modules); do insmod "/lib/modules/$m" || halt "cannot load $m"; done
for arg in $(cat /proc/cmdline); do
  case "$arg" in norvu.share=*) share=${arg#*=} ;; norvu.init=*) init=${arg#*=} ;; esac
done
nine="trans=virtio,version=9p2000.L,msize=524288"
mount -t 9p -o "$nine,ro,cache=loose" host /host || halt "cannot mount the shared root"
mount -t tmpfs -o mode=755 layer /layer
mkdir -p /layer/changes /layer/work
mount -t overlay -o lowerdir=/host,upperdir=/layer/changes,workdir=/layer/work root /root ||
  halt "cannot put a layer over the shared root"
# The machine's own /run, without this machine's sockets and process ids.
# (/tmp stays, changed only in the layer: a repository may lie in it.)
mount -t tmpfs -o mode=755 scratch /root/run
mkdir -p "/root$share"
# Wine runs programs only from a share with the page cache in full (with
# cache=none or mmap their code shows as zeros); the host's writes during a
# run are new files, which the machine then looks up anew. The jobs go
# through a folder without any cache, so that each line of output reaches
# the host as it is written.
mount -t 9p -o "$nine,cache=loose" share "/root$share" || halt "cannot mount $share"
mount -t 9p -o "$nine,cache=none" jobs "/root$share/machine" || halt "cannot mount $share/machine"
for fs in proc sys dev; do mount --move "/$fs" "/root/$fs"; done
exec switch_root /root /bin/bash "$init" "$share"
INIT
}

make_machine() {
  local info dir kernel work
  info=$(machine_dir) || fail "apt knows no linux-image-amd64 or busybox-static: run apt-get update (as root)"
  dir=$(sed -n 1p <<<"$info"); kernel=$(sed -n 2p <<<"$info")
  [ -f "$dir/initrd.img" ] && { echo "$dir"; return 0; }
  echo "emulated-machine: making the machine in $dir" >&2
  mkdir -p "$cache_root" || fail "cannot make $cache_root"
  work=$(mktemp -d "$cache_root/making.XXXXXX")
  # Fetched by apt from this machine's sources, which checks each package
  # against the archive's signed index before it keeps it.
  if ! (cd "$work" && apt-get download -q "$kernel" busybox-static >download.log 2>&1); then
    cat "$work/download.log" >&2; rm -rf "$work"; fail "could not fetch $kernel and busybox-static"
  fi
  dpkg-deb -x "$work"/linux-image-*.deb "$work/kernel" && dpkg-deb -x "$work"/busybox-static_*.deb "$work/busybox" ||
    { rm -rf "$work"; fail "could not unpack the packages"; }
  local moddir image="$work/image" seen="" path paths names=""
  moddir=$(echo "$work"/kernel/lib/modules/*)
  mkdir -p "$image/bin" "$image/lib/modules"
  cp "$work/busybox/bin/busybox" "$image/bin/"
  paths=$(module_order "$moddir" virtio_pci 9pnet_virtio 9p overlay virtio_console) || exit 1
  for path in $paths; do
    cp "$path" "$image/lib/modules/"
    names="$names $(basename "$path")"
  done
  echo "$names" >"$image/modules"
  startup_script >"$image/init"
  chmod 755 "$image/init"
  (cd "$image" && find . | "$image/bin/busybox" cpio -o -H newc 2>/dev/null | gzip -1) >"$work/initrd.img"
  mkdir -p "$dir"
  cp "$work"/kernel/boot/vmlinuz-* "$dir/vmlinuz"
  mv "$work/initrd.img" "$dir/initrd.img"
  rm -rf "$work"
  echo "$dir"
}

# The state of a running machine: BUILD/machine of the folder it shares.
state_of() { echo "$1/machine"; }
alive() { [ -f "$1/qemu.pid" ] && kill -0 "$(cat "$1/qemu.pid")" 2>/dev/null; }

start_machine() {
  local share state dir
  share=$(cd "$1" && pwd) || fail "no folder $1"
  state=$(state_of "$share")
  command -v qemu-system-x86_64 >/dev/null || fail "qemu-system-x86_64 is missing: run scripts/install-deps.sh"
  dir=$(make_machine) || exit 1
  # A machine left by an interrupted run of this folder goes first.
  alive "$state" && kill "$(cat "$state/qemu.pid")" 2>/dev/null
  rm -rf "$state"
  mkdir -p "$state/jobs"
  local extra=()
  if [ -n "${NORVU_VNC_PORT:-}" ]; then
    # A serial line to the machine, listening on this machine's loopback
    # address: make run's screen reaches a VNC viewer through it.
    extra=(-device virtio-serial-pci
      -chardev "socket,id=vnc,host=127.0.0.1,port=$NORVU_VNC_PORT,server=on,wait=off"
      -device virtserialport,chardev=vnc,name=norvu.vnc)
  fi
  # The host's root read-only (nothing the machine does reaches it); the
  # share with its owners and modes kept in extended attributes, so that
  # what the machine's root makes there is a plain file of this user's on
  # this machine: never set-user-id, never a device.
  # Software emulation: KVM, where a machine offers it nested, has been seen
  # to hang at the kernel's start. -cpu max offers features that the
  # kernel's 32-bit entry mishandles under emulation (Wine's first 32-bit
  # process faults): a plain x86-64 with the vector extensions Wine's code
  # uses.
  qemu-system-x86_64 -accel tcg,thread=multi -cpu qemu64,+ssse3,+sse4.1,+sse4.2,+popcnt -smp "$(nproc)" -m "${NORVU_MACHINE_MEMORY:-6G}" \
    -nodefaults -no-user-config -display none -nic none -no-reboot \
    -serial "file:$state/console.log" -pidfile "$state/qemu.pid" -daemonize \
    -kernel "$dir/vmlinuz" -initrd "$dir/initrd.img" \
    -append "console=ttyS0 quiet panic=-1 mitigations=off norvu.share=$share norvu.init=$here/emulated-init.sh" \
    -virtfs "local,path=/,mount_tag=host,security_model=none,readonly=on,multidevs=remap" \
    -virtfs "local,path=$share,mount_tag=share,security_model=mapped-xattr,multidevs=remap" \
    -virtfs "local,path=$state,mount_tag=jobs,security_model=mapped-xattr" \
    "${extra[@]}" 2>"$state/qemu.log" || { cat "$state/qemu.log" >&2; fail "qemu did not start"; }
  local waited=0
  until [ -f "$state/ready" ]; do
    if ! alive "$state"; then
      tail -n 20 "$state/console.log" >&2
      fail "the machine stopped while starting (console: $state/console.log)"
    fi
    [ "$waited" -ge 1200 ] && { stop_machine "$share"; fail "the machine did not start within 120 s (console: $state/console.log)"; }
    sleep 0.1; waited=$((waited + 1))
  done
}

# Runs a command in the machine, as if here: same folder, the environment
# that the tests read, output as it comes, the command's exit code.
run_in_machine() {
  local share state id job
  share=$(cd "$1" && pwd) || fail "no folder $1"
  shift
  state=$(state_of "$share")
  alive "$state" || fail "no machine runs for $share (start it first)"
  id="$(date +%s%N)-$$"
  job="$state/jobs/$id"
  {
    printf 'cd %q || exit 1\n' "$PWD"
    local name
    for name in $(compgen -e); do
      case "$name" in
        NORVU_EMULATED|NORVU_VNC_PORT) ;;
        NORVU_*|LANG|LC_*|SOURCE_DATE_EPOCH|CI) printf 'export %s=%q\n' "$name" "${!name}" ;;
      esac
    done
    printf 'exec'; printf ' %q' "$@"; echo
  } >"$job.part"
  mv "$job.part" "$job.job"
  # Stopped from outside (a test's time running out): the command in the
  # machine stops too.
  trap 'touch "$job.kill"; exit 143' TERM INT
  (while [ ! -f "$job.rc" ] && alive "$state"; do sleep 0.1; done) &
  local waiter=$!
  tail -q -s 0.1 -c +1 -F --pid=$waiter "$job.out" 2>/dev/null &
  wait $waiter
  wait $!
  [ -f "$job.rc" ] || fail "the machine stopped while running $1 (console: $state/console.log)"
  local rc
  rc=$(cat "$job.rc")
  rm -f "$job".*
  return "$rc"
}

stop_machine() {
  local share state waited=0
  share=$(cd "$1" && pwd) || return 0
  state=$(state_of "$share")
  alive "$state" || return 0
  touch "$state/poweroff"
  while alive "$state" && [ $waited -lt 300 ]; do sleep 0.1; waited=$((waited + 1)); done
  alive "$state" && kill "$(cat "$state/qemu.pid")"
  return 0
}

case "${1:-}" in
  needed) norvu_wine_needs_machine ;;
  make) make_machine >/dev/null ;;
  start) start_machine "${2:?emulated-machine.sh start SHARE}" ;;
  run) shift; run_in_machine "$@" ;;
  stop) stop_machine "${2:?emulated-machine.sh stop SHARE}" ;;
  *) sed -n '2,/^set -u/p' "$0" | sed '$d'; exit 2 ;;
esac
