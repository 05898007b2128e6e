#!/usr/bin/env python3
"""Runs one speech program that writes a WAV stream on standard output and
measures it from outside.

    first_audio.py [--cpu N] -- PROGRAM ARGS...

The clock starts immediately before the child is spawned (posix_spawn), so the
interpreter's own start-up is not counted. The child's standard output is a
pipe read in a loop; the WAV header is parsed as it arrives, and the program
prints one line of tab-separated fields:

    first_byte_ms first_pcm_ms wall_ms audio_s cpu_s maxrss_kib status

first_byte_ms is the first byte of any kind (usually the header), first_pcm_ms
the first byte of samples after the data chunk's header (the first audio).
audio_s counts the sample bytes that arrived (the data size in the header is
ignored: streams write a placeholder). cpu_s (user + system) and maxrss_kib
come from wait4(), the same counters /usr/bin/time reads, at microsecond
resolution instead of its 10 ms.

With --cpu N the child runs on core N (its affinity is set by inheritance) and
this reader moves to the other cores, so that it does not compete with it.
"""
import os
import struct
import sys
import time


def main(argv):
    cpu = None
    if "--" not in argv:
        sys.stderr.write(__doc__)
        return 1
    split = argv.index("--")
    opts, cmd = argv[1:split], argv[split + 1:]
    if opts[:1] == ["--cpu"] and len(opts) == 2:
        cpu = int(opts[1])
    elif opts:
        sys.stderr.write(__doc__)
        return 1
    if not cmd:
        return 1
    allcpus = os.sched_getaffinity(0)
    if cpu is not None:
        os.sched_setaffinity(0, {cpu})
    rd, wr = os.pipe()
    devnull = os.open(os.devnull, os.O_WRONLY)
    actions = [(os.POSIX_SPAWN_DUP2, wr, 1), (os.POSIX_SPAWN_DUP2, devnull, 2),
               (os.POSIX_SPAWN_CLOSE, rd)]
    clock = time.monotonic_ns
    read = os.read
    t0 = clock()
    pid = os.posix_spawnp(cmd[0], cmd, os.environ, file_actions=actions)
    os.close(wr)
    os.close(devnull)
    if cpu is not None:
        others = allcpus - {cpu}
        os.sched_setaffinity(0, others or allcpus)

    first_byte = first_pcm = None
    head = b""
    pcm = 0
    rate, channels, bits = 0, 0, 16
    in_data = False
    while True:
        block = read(rd, 65536)
        now = clock()
        if not block:
            break
        if first_byte is None:
            first_byte = now
        if in_data:
            if first_pcm is None:
                first_pcm = now
            pcm += len(block)
            continue
        head += block
        # RIFF header, then chunks until "data".
        if len(head) < 12:
            continue
        pos = 12
        while len(head) >= pos + 8:
            cid, size = head[pos:pos + 4], struct.unpack("<I", head[pos + 4:pos + 8])[0]
            if cid == b"data":
                in_data = True
                pcm = len(head) - (pos + 8)
                if pcm > 0:
                    first_pcm = now
                break
            if len(head) < pos + 8 + size:
                break
            if cid == b"fmt ":
                _, channels, rate = struct.unpack("<HHI", head[pos + 8:pos + 16])
                bits = struct.unpack("<H", head[pos + 22:pos + 24])[0]
            pos += 8 + size + (size & 1)
        if in_data:
            head = b""
    os.close(rd)
    _, status, ru = os.wait4(pid, 0)
    end = clock()
    frame = max(1, channels) * max(1, bits // 8)
    audio = pcm / frame / rate if rate else 0.0
    ms = lambda t: (t - t0) / 1e6 if t is not None else float("nan")
    print("%.3f\t%.3f\t%.3f\t%.4f\t%.6f\t%d\t%d" %
          (ms(first_byte), ms(first_pcm), ms(end), audio, ru.ru_utime + ru.ru_stime,
           ru.ru_maxrss, os.waitstatus_to_exitcode(status)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
