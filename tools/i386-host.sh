# What this host does with 32-bit (i386) programs; sourced by the tools.
# Some hosts run 64-bit user code only: there an i386 program starts only
# through qemu-user, registered with binfmt_misc under the name qemu-i386.
I386_BINFMT=/proc/sys/fs/binfmt_misc/qemu-i386
# qemu's magic and mask for i386 ELF executables; F opens the interpreter
# now, so that it also serves programs started in other mount namespaces.
I386_BINFMT_ENTRY=':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F'

# 32-bit programs go to qemu (binfmt entries are consulted before the
# kernel's own loaders, so this holds even where the kernel could run them).
i386_emulated() {
    [ -f "$I386_BINFMT" ] && head -n1 "$I386_BINFMT" | grep -qx enabled
}

# The kernel itself starts an i386 program (the 32-bit dynamic loader).
i386_runs_natively() {
    ! i386_emulated && [ -x /lib/ld-linux.so.2 ] && /lib/ld-linux.so.2 --version >/dev/null 2>&1
}
