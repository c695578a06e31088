#!/bin/bash
# The first process of the emulated machine (scripts/emulated-machine.sh),
# once its start-up has mounted the shares: runs each job that the host
# leaves in SHARE/machine/jobs, with its output and exit code beside it,
# until the host asks it to power off.
#   emulated-init.sh SHARE
# HOME in the machine's memory: this machine's may not be readable by the
# user that shares it.
export PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/run/home
export NORVU_IN_MACHINE=1
state="$1/machine"
jobs="$state/jobs"
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs -o mode=1777 shm /dev/shm
hostname norvu-wine
mkdir -p "$HOME"
ln -sf /proc/self/fd /dev/fd

# Each job in a session of its own, so that a kill request stops all of it.
start_job() {  # JOB (path without .job)
  mv "$1.job" "$1.run"
  (
    setsid bash -c 'echo $$ >"$1.pgid"; exec bash "$1.run"' job "$1" >"$1.out" 2>&1 </dev/null
    echo $? >"$1.rc.part"
    # What the job wrote into the share reaches the host before its end.
    sync
    mv "$1.rc.part" "$1.rc"
  ) &
}

# Waits without starting a process: each one costs under emulation.
mkfifo /run/idle
exec 3<>/run/idle
touch "$state/ready" || {
  echo "emulated-init: cannot write to $state (does its file system keep extended attributes?)"
  echo o >/proc/sysrq-trigger
}
while [ ! -e "$state/poweroff" ]; do
  for job in "$jobs"/*.job; do
    [ -e "$job" ] && start_job "${job%.job}"
  done
  for kill in "$jobs"/*.kill; do
    [ -e "$kill" ] || continue
    pgid=$(cat "${kill%.kill}.pgid" 2>/dev/null) && kill -TERM -- "-$pgid" 2>/dev/null
    rm -f "$kill"
  done
  read -r -t 0.1 -u 3
done
sync
echo o >/proc/sysrq-trigger
