#!/bin/bash
# The first process of the emulated test machine (scripts/emulated-run.sh):
# mounts the repository shared from the host at its own path, runs the job
# the host wrote, leaves its exit code beside it and powers off.
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/root
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs tmpfs /dev/shm
mount -t tmpfs tmpfs /tmp
for arg in $(cat /proc/cmdline); do
  case "$arg" in norvu.share=*) share=${arg#*=} ;; norvu.job=*) job=${arg#*=} ;; esac
done
modprobe 9pnet_virtio
modprobe 9p
mkdir -p "$share"
mount -t 9p -o trans=virtio,version=9p2000.L,msize=1048576,cache=loose repo "$share"
hostname norvu-test
bash "$job" >>"${job%.sh}.out" 2>&1
echo $? >"${job%.sh}.rc"
sync
echo o >/proc/sysrq-trigger
