#!/usr/bin/env bash
# Runs a command of the repository where Wine can run, on a machine that
# cannot run 32-bit x86 code itself (a kernel or hypervisor without IA-32
# emulation: "Exec format error"): inside an emulated x86-64 machine, qemu
# without KVM, whose Debian runs Wine's 32-bit loader. The repository is
# shared into that machine at the same path, so the build folder's absolute
# paths hold there too; the host builds, the machine only runs.
#   emulated-run.sh REPO BUILD_DIR COMMAND [ARGS...]
# The machine is made once, in BUILD_DIR/vm (3 GB of disk; about five
# minutes). Slow: the emulated processor runs Wine several times slower.
set -euo pipefail
repo=$(cd "$1" && pwd); build=$(cd "$2" && pwd)
shift 2
win="$build/win" vm="$build/vm"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

need_tools() {
  command -v qemu-system-x86_64 >/dev/null && command -v debootstrap >/dev/null && return 0
  echo "emulated-run: installing qemu-system-x86 and debootstrap"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends qemu-system-x86 debootstrap >/dev/null
}

# What runs inside: Wine and what the test session and the checks use.
packages=(wine wine32:i386 wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick
  cmake make mscompress libxml2-utils osslsigncode openssl binutils-mingw-w64-i686 procps)

make_machine() {
  [ -f "$vm/rootfs.img" ] && return 0
  local root="$vm/root"
  $SUDO rm -rf "$vm"
  mkdir -p "$vm"
  echo "emulated-run: making the machine in $vm"
  $SUDO debootstrap --variant=minbase --include=linux-image-amd64,kmod,udev bookworm "$root" \
    http://deb.debian.org/debian >"$vm/make.log" 2>&1
  $SUDO cp /etc/resolv.conf "$root/etc/"
  $SUDO mount --bind /proc "$root/proc"
  if ! $SUDO chroot "$root" bash -c "dpkg --add-architecture i386 && apt-get update -qq &&
      DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends ${packages[*]}" >>"$vm/make.log" 2>&1; then
    $SUDO umount "$root/proc"
    echo "emulated-run: installing into the machine failed ($vm/make.log)" >&2
    exit 1
  fi
  $SUDO umount "$root/proc"
  $SUDO install -m 755 "$repo/scripts/emulated-init.sh" "$root/sbin/norvu-init"
  $SUDO cp "$root"/boot/vmlinuz-* "$vm/vmlinuz"
  $SUDO cp "$root"/boot/initrd.img-* "$vm/initrd.img"
  $SUDO mke2fs -q -t ext4 -d "$root" "$vm/rootfs.img.part" 6G >/dev/null
  $SUDO rm -rf "$root"
  mv "$vm/rootfs.img.part" "$vm/rootfs.img"
}

need_tools
make_machine

# The job: the command line given, run in the repository; the tests under
# Wine may take NORVU_WINE_TIMEOUT=1800 seconds each while it runs.
cmake -DNORVU_WINE_TIMEOUT=1800 "$win" >/dev/null
trap 'cmake -DNORVU_WINE_TIMEOUT=300 "$win" >/dev/null' EXIT
printf 'cd %q\n' "$repo" >"$vm/job.sh"
printf '%q ' "$@" >>"$vm/job.sh"
rm -f "$vm/job.out" "$vm/job.rc"
: >"$vm/job.out"
tail -n +1 -f "$vm/job.out" &
follow=$!
# -cpu max would offer features that this kernel's 32-bit entry mishandles
# under emulation (Wine's first 32-bit process faults): a plain x86-64 with
# the vector extensions Wine's code uses.
qemu-system-x86_64 -accel tcg,thread=multi -cpu qemu64,+ssse3,+sse4.1,+sse4.2,+popcnt -smp "$(nproc)" -m 6G \
  -nographic -no-reboot -kernel "$vm/vmlinuz" -initrd "$vm/initrd.img" \
  -append "root=/dev/vda rw console=ttyS0 quiet panic=1 init=/sbin/norvu-init norvu.share=$repo norvu.job=$vm/job.sh" \
  -drive file="$vm/rootfs.img",format=raw,if=virtio,cache=unsafe \
  -virtfs local,path="$repo",mount_tag=repo,security_model=passthrough,id=repo >"$vm/console.log" 2>&1 || true
sleep 1
kill $follow 2>/dev/null
[ -f "$vm/job.rc" ] || { echo "emulated-run: the machine stopped before the job ended ($vm/console.log)" >&2; exit 1; }
exit "$(cat "$vm/job.rc")"
