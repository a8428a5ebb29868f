#!/usr/bin/env python3
"""Checks one hostile round's logs: hostile_check.py ROUND_DIR BLOW FRAMES"""
import sys, os

CLOSING_BLOWS = {"oversize", "badzip", "zipbomb", "wirecode"}
# A hung client never answers; the bound leaves room for a machine that runs the Windows
# tests side by side (a box that just closed holds the thread a while under Wine).
LIVENESS_MS = 8000
RSS_LIMIT_KB = 400 * 1024


def events(path):
    out = []
    if not os.path.exists(path):
        return out
    with open(path, errors="replace") as f:
        for line in f:
            parts = line.split()
            if len(parts) >= 2 and parts[0].isdigit():
                out.append((int(parts[0]), parts[1], parts[2:]))
    return out


def main():
    d, blow, frames = sys.argv[1], sys.argv[2], int(sys.argv[3])
    relay = events(os.path.join(d, "hostile.log"))
    boxes = events(os.path.join(d, "box.log"))
    faults = []

    # Intervals in which a box of the client was open: liveness is not asked of it then.
    open_at, intervals = {}, []
    for t, what, rest in boxes:
        if what == "box-open":
            open_at[rest[0]] = t
        elif what == "box-closed" and rest[0] in open_at:
            intervals.append((open_at.pop(rest[0]), t))
    intervals += [(t, 1 << 62) for t in open_at.values()]

    def box_open(a, b):
        return any(s <= b and e >= a for s, e in intervals)

    asks = [t for t, w, _ in relay if w == "liveness-ask"]
    answers = [t for t, w, _ in relay if w == "liveness-answer"]
    injected = sum(1 for _, w, _ in relay if w == "inject")
    blow_t = next((t for t, w, _ in relay if w == "blow"), None)
    closed_t = next((t for t, w, _ in relay if w == "client-closed"), None)
    end_t = closed_t or blow_t or (relay[-1][0] if relay else 0)

    if injected < frames:
        faults.append(f"only {injected} of {frames} noise frames reached the client (closed early?)")
    if len(asks) < 5:
        faults.append(f"only {len(asks)} liveness requests were made")
    for i, t in enumerate(asks):
        if blow_t and t >= blow_t:
            break
        ans = answers[i] if i < len(answers) else None
        late = ans is None or ans - t > LIVENESS_MS
        if late and not box_open(t, t + LIVENESS_MS) and not (end_t and t + LIVENESS_MS > end_t):
            faults.append(f"liveness request {i + 1} at {t} answered {'never' if ans is None else f'after {ans - t} ms'} with no box open")

    if blow in CLOSING_BLOWS:
        if blow_t is None:
            faults.append("the blow was never sent")
        elif closed_t is None or closed_t < blow_t:
            faults.append(f"the client did not close the connection after the {blow} blow")
        elif not box_open(blow_t - 500, closed_t + 10000):
            faults.append(f"no box was shown when the connection closed after the {blow} blow")

    with open(os.path.join(d, "exit.txt")) as f:
        code = f.read().strip()
    if code != "running" and (int(code) == 3 or int(code) >= 128):
        faults.append(f"the client ended with exit code {code} (crash)")

    peak = 0
    if os.path.exists(os.path.join(d, "rss.txt")):
        with open(os.path.join(d, "rss.txt")) as f:
            for line in f:
                p = line.split()
                if len(p) == 2 and p[1].isdigit():
                    peak = max(peak, int(p[1]))
    if peak > RSS_LIMIT_KB:
        faults.append(f"memory peaked at {peak // 1024} MB")

    print(f"hostile round {os.path.basename(d)} blow={blow}: injected {injected}, liveness {len(answers)}/{len(asks)}, "
          f"boxes {len(intervals)}, exit {code}, peak {peak // 1024} MB")
    for x in faults:
        print("  FAULT:", x)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
