#!/usr/bin/env bash
# Runs one shell command inside a small QEMU guest that has the kernel's ALSA sequencer, and
# returns the command's exit status:
#
#     scripts/alsa-vm.sh 'ctest --test-dir build -L hardware'
#
# The guest boots Debian's own kernel (fetched once with apt-get download, never installed on
# this machine) with snd-seq, snd-seq-dummy ("Midi Through") and snd-virmidi (four virtual MIDI
# cables: raw MIDI devices /dev/snd/midiC0D0..3, each also the sequencer port "VirMIDI 0-N").
# It mounts this machine's root file system over 9p and runs the command chrooted into it, in
# the current folder, so programs built here run there unchanged. /run is a tmpfs in the guest
# (the 9p share cannot hold sockets): TMPDIR and XDG_RUNTIME_DIR point into it.
#
# Environment: KELVORA_VM_CACHE (default build/vm-cache) holds the kernel, the initramfs and
# the run folders; KELVORA_VM_TIMEOUT (seconds, default 900) bounds a whole run. The guest is
# emulated (TCG, two threads for two virtual CPUs): no /dev/kvm is needed. Exit status: the
# command's own, or 125 when the guest could not be made or did not report one (no boot, a hang
# past the time limit).
set -euo pipefail

usage() {
  echo "usage: $0 'command'   (run from the folder the command needs)" >&2
  exit 2
}
[ $# -eq 1 ] && [ -n "$1" ] || usage
command_line=$1

repo=$(cd "$(dirname "$0")/.." && pwd)
cache=${KELVORA_VM_CACHE:-$repo/build/vm-cache}
timeout_s=${KELVORA_VM_TIMEOUT:-900}
here=$(pwd)

# In dependency order: each module only needs ones above it. All of them are modules in
# Debian's kernel (nothing here is built in); snd-hrtimer is the sequencer's default timer,
# which snd-seq would otherwise ask for by name when a client starts a queue.
modules=(
  virtio_ring virtio virtio_pci_modern_dev virtio_pci_legacy_dev virtio_pci
  9pnet 9pnet_virtio netfs fscache 9p
  soundcore snd snd-timer snd-hrtimer snd-seq-device snd-seq snd-seq-dummy
  snd-rawmidi snd-seq-midi-event snd-seq-virmidi snd-virmidi
)

fail() {
  echo "alsa-vm: $*" >&2
  exit 125
}

need_tools() {
  local tool
  for tool in qemu-system-x86_64 cpio gzip apt-get dpkg-deb; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/deps.sh installs it)"
  done
  [ -x /bin/busybox ] || fail "/bin/busybox is missing (package busybox-static)"
  # A dynamically linked busybox could not run in the initramfs, which has no C library.
  if LC_ALL=C readelf -l /bin/busybox 2>/dev/null | grep -q 'Requesting program interpreter'; then
    fail "/bin/busybox is not statically linked (package busybox-static)"
  fi
  case "$cache/" in
    /run/*) fail "the cache $cache lies under /run, which the guest covers with a tmpfs" ;;
  esac
  case "$here/" in
    /run/*) fail "the folder $here lies under /run, which the guest covers with a tmpfs" ;;
  esac
}

# The package linux-image-amd64 stands for (linux-image-6.1.0-NN-amd64 on Debian 12).
kernel_package() {
  apt-cache depends linux-image-amd64 2>/dev/null |
    sed -n 's/^ *Depends: \(linux-image-[^ ]*\).*/\1/p' | head -n1
}

download_kernel() {  # package, folder
  (cd "$2" && apt-get download -q "$1" 2>&1 |
    { grep -v '^W: Download is performed unsandboxed' >&2 || true; }) &&
    compgen -G "$2/$1_*.deb" >/dev/null
}

# Sets kernel_dir to an unpacked kernel package, fetched once. A cached one is used as it is
# (asking apt costs seconds); remove the cache folder to take a newer kernel.
fetch_kernel() {
  kernel_dir=$(find "$cache/kernel" -mindepth 2 -maxdepth 2 -name .unpacked -printf '%h\n' 2>/dev/null | sort | tail -n1 || true)
  [ -n "$kernel_dir" ] && return
  local package download=$cache/download
  package=$(kernel_package)
  rm -rf "$download"
  mkdir -p "$download"
  # Stale package lists name a kernel the archive no longer has: refresh them once.
  if [ -z "$package" ] || ! download_kernel "$package" "$download"; then
    [ "$(id -u)" -eq 0 ] && apt-get update -qq >/dev/null 2>&1
    package=$(kernel_package)
    [ -n "$package" ] || fail "apt knows no package linux-image-amd64"
    download_kernel "$package" "$download" || fail "apt-get download $package failed"
  fi
  echo "alsa-vm: fetched $package (cached in $cache)" >&2
  kernel_dir=$cache/kernel/$package
  rm -rf "$kernel_dir"
  mkdir -p "$kernel_dir"
  dpkg-deb -x "$download"/"$package"_*.deb "$kernel_dir" || fail "could not unpack $package"
  rm -rf "$download"
  unpack_vmlinux
  touch "$kernel_dir/.unpacked"
}

# The kernel image decompresses itself, which takes an emulated CPU about ten seconds. QEMU
# boots the uncompressed ELF kernel directly (PVH entry), so it is unpacked once here. Where
# that fails the compressed image is booted as it is.
unpack_vmlinux() {
  local image offset
  image=$(ls "$kernel_dir"/boot/vmlinuz-* | head -n1)
  offset=$(LC_ALL=C grep -obUa $'\xfd7zXZ\x00' "$image" | head -n1 | cut -d: -f1)
  [ -n "$offset" ] && command -v xz >/dev/null || return 0
  # xz stops at the end of its stream and complains about what follows: that is expected.
  tail -c +$((offset + 1)) "$image" | xz -dc >"$kernel_dir/vmlinux" 2>/dev/null || true
  if ! LC_ALL=C readelf -n "$kernel_dir/vmlinux" 2>/dev/null | grep -q 'Xen.*0x00000012'; then
    rm -f "$kernel_dir/vmlinux"
  fi
}

guest_init() {
  cat <<'EOF'
#!/bin/busybox sh
# The guest's first process: modules, the host's root over 9p, then the job chrooted into it.
/bin/busybox --install -s /bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
exec </dev/console >/dev/console 2>&1
stty -onlcr 2>/dev/null
halt() { sync; poweroff -f; }
for module in $(cat /modules); do
  insmod "/lib/modules/$module.ko" || { echo "alsa-vm guest: module $module did not load"; halt; }
done
job=$(cat /job)
mkdir -p /host
mount -t 9p -o trans=virtio,version=9p2000.L,msize=262144,cache=loose hostroot /host ||
  { echo "alsa-vm guest: the host's root did not mount"; halt; }
mkdir -p /dev/pts /dev/shm
mount -t devpts devpts /dev/pts
mount -t tmpfs -o mode=1777 shm /dev/shm
# What udev would add: the links bash's process substitution and scripts rely on.
ln -s /proc/self/fd /dev/fd
ln -s fd/0 /dev/stdin
ln -s fd/1 /dev/stdout
ln -s fd/2 /dev/stderr
mount -o rbind /proc /host/proc
mount -o rbind /sys /host/sys
mount -o rbind /dev /host/dev
mount -t tmpfs -o mode=755 run /host/run
mkdir -p -m 1777 /host/run/tmp
mkdir -p -m 700 /host/run/user/0
echo "alsa-vm guest: up after $(cut -d' ' -f1 /proc/uptime) s"
chroot /host /bin/bash "$job/run.sh"
echo $? > "/host$job/status"
sync
poweroff -f
EOF
}

# Sets initramfs: busybox, the modules and the init, rebuilt when the kernel or this script
# changes.
build_initramfs() {
  local version stamp tree
  version=$(basename "$(ls -d "$kernel_dir"/lib/modules/*/ | head -n1)")
  stamp=$( (cat "$0"; echo "$version") | sha1sum | cut -c1-12)
  initramfs=$cache/initramfs-$version-$stamp.cpio.gz
  [ -f "$initramfs" ] && return
  tree=$(mktemp -d "$cache/initramfs.XXXXXX")
  mkdir -p "$tree"/{bin,dev,proc,sys,lib/modules}
  cp /bin/busybox "$tree/bin/busybox"
  guest_init >"$tree/init"
  chmod 755 "$tree/init"
  local module file
  for module in "${modules[@]}"; do
    file=$(find "$kernel_dir/lib/modules/$version" -name "$module.ko" -o -name "$module.ko.xz" | head -n1)
    [ -n "$file" ] || fail "kernel $version has no module $module"
    case "$file" in
      *.xz) xz -dc "$file" >"$tree/lib/modules/$module.ko" ;;
      *) cp "$file" "$tree/lib/modules/$module.ko" ;;
    esac
  done
  printf '%s\n' "${modules[@]}" >"$tree/modules"
  rm -f "$cache"/initramfs-*.cpio.gz
  (cd "$tree" && find . | cpio -o -H newc --quiet | gzip -1) >"$initramfs.part"
  mv "$initramfs.part" "$initramfs"
  rm -rf "$tree"
}

# The job's folder: run.sh (folder, environment, command) and, after the run, its status.
# The initramfs of the run is the cached one with a second archive naming the job appended.
write_job() {
  job=$(mktemp -d "$cache/jobs/run.XXXXXX")
  {
    echo "cd $(printf %q "$here") || exit 125"
    local name
    for name in PATH HOME USER LANG LC_ALL TERM $(compgen -e | grep -E '^(KELVORA_|QT_|CTEST_|[A-Z]+SAN_OPTIONS$)'); do
      [ -n "${!name+x}" ] && printf 'export %s=%q\n' "$name" "${!name}"
    done
    echo "export TMPDIR=/run/tmp XDG_RUNTIME_DIR=/run/user/0 KELVORA_VM=1"
    echo "unset DISPLAY WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS"
    printf 'exec /bin/bash -c %q\n' "$command_line"
  } >"$job/run.sh"
  local extra=$job/initramfs
  mkdir -p "$extra"
  echo "$job" >"$extra/job"
  cp "$initramfs" "$job/initrd"
  # The kernel looks for a further archive only at a 4-byte boundary after the first.
  truncate --size=%4 "$job/initrd"
  (cd "$extra" && echo job | cpio -o -H newc --quiet) >>"$job/initrd"
}

# QEMU runs in the background so that a signal to this script (Ctrl+C, a test driver's time
# limit) ends the guest too, instead of leaving it running.
run_guest() {
  local kernel=$kernel_dir/vmlinux
  [ -f "$kernel" ] || kernel=$(ls "$kernel_dir"/boot/vmlinuz-* | head -n1)
  echo "alsa-vm: booting $(basename "$kernel_dir")" >&2
  timeout --kill-after=10 "$timeout_s" qemu-system-x86_64 \
    -accel tcg,thread=multi -cpu max -smp 2 -m "${KELVORA_VM_MEMORY:-2048}" \
    -bios /usr/share/qemu/qboot.rom -kernel "$kernel" -initrd "$job/initrd" \
    -append "console=ttyS0 quiet loglevel=3 panic=-1 mitigations=off rdinit=/init" \
    -fsdev local,id=hostroot,path=/,security_model=none,multidevs=remap \
    -device virtio-9p-pci,fsdev=hostroot,mount_tag=hostroot \
    -nic none -no-reboot -display none -monitor none \
    -chardev stdio,id=console,signal=off -serial chardev:console </dev/null &
  guest=$!
  local status=0
  wait "$guest" || status=$?
  guest=
  [ "$status" -eq 0 ] || echo "alsa-vm: qemu ended with status $status (124: past the time limit of $timeout_s s)" >&2
}

# timeout puts QEMU into a process group of its own: it is ended here, by its process id.
guest=
job=
end_guest() {
  [ -n "$guest" ] && kill "$guest" 2>/dev/null
  rm -rf "$job"
}
trap end_guest EXIT
trap 'exit 130' INT TERM

need_tools
mkdir -p "$cache/jobs"
fetch_kernel
build_initramfs
write_job
start=$(date +%s)
run_guest
[ -f "$job/status" ] || fail "the guest reported no exit status (it did not boot or hung)"
status=$(cat "$job/status")
echo "alsa-vm: the command ended with status $status after $(($(date +%s) - start)) s in the guest" >&2
exit "$status"
