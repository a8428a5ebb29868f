#!/usr/bin/env python3
"""Compares the score board's rows (the prober's output: column titles, then rows, cells
tab-separated, UTF-8) with the "hand over" lines of the table server's log.
Usage: score_board_check.py SERVER_LOG ROWS HANDS OWN_USER. Exit 0 when the board shows at
least HANDS hands and every row is what the server's first hands give: the table plays on
while the board is read, so a board a few hands further is as good."""
import re
import sys


def main():
    log, rows_file, hands, own = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
    hand_lines = []
    for line in open(log, encoding="utf-8", errors="replace"):
        m = re.search(r"hand over (\d+) series (\d+) over (\d+) changes ([-\d ]+) totals ([-\d ]+)", line)
        if m:
            hand_lines.append((int(m.group(1)), int(m.group(3)), [int(v) for v in m.group(4).split()],
                               [int(v) for v in m.group(5).split()]))
    lines = [l.rstrip("\n").split("\t") for l in open(rows_file, encoding="utf-8")]
    if not lines:
        sys.exit("no rows")
    shown = sum(1 for l in lines[1:] if re.fullmatch(r"第\d+局", l[0]))
    if shown < hands:
        sys.exit("the board shows %d hands, want %d" % (shown, hands))
    if len(hand_lines) < shown:
        sys.exit("the server log holds %d hands, the board %d" % (len(hand_lines), shown))
    hand_lines = hand_lines[:shown]
    titles, rows = lines[0], lines[1:]
    # A column titled with a user name shows that seat's scores: the own user is seat 1,
    # the bots are "bot<seat>".
    seats = []
    for t in titles[1:]:
        seats.append(1 if t == own else int(t[3:]) if t.startswith("bot") else -1)
    if titles[0] != "局数" or sorted(seats) != [0, 1, 2]:
        sys.exit("unexpected column titles %r" % titles)

    def scores(values):
        return ["%8d" % values[s] for s in seats]

    # A series: its title row, a row per hand numbered within it, then its final row once it
    # is over; a running series of more than one hand ends with its total row.
    want = []
    series = 0
    in_series = 0
    for number, over, changes, totals in hand_lines:
        if in_series == 0:
            series += 1
            want.append(["第%d轮" % series] + [""] * 3)
        in_series += 1
        want.append(["第%d局" % in_series] + scores(changes))
        if over:
            want.append(["最终得分"] + scores(totals))
            in_series = 0
    if in_series > 1:
        want.append(["合计"] + scores(hand_lines[-1][3]))
    if rows != want:
        sys.exit("rows differ\nwant %r\nhave %r" % (want, rows))
    print("%d rows match the server's scores" % len(rows))


if __name__ == "__main__":
    main()
