#!/usr/bin/env python3
"""A person plays a whole hand through the prober: bids with a bid button (the bidding must
come to the player: a bid by the clock fails), selects cards by clicking them (with Ctrl for
a range, again to deselect), plays with the play button, passes, cycles hints with the hint
button, and checks in the table server's log that every play reached the server exactly as
selected: a hint's selection is read from the table's picture (the raised cards). Before
playing it checks that the seats show their avatars and the tier badges the tier service
gave (the web peer's log, env E2E_WEBLOG).

Usage: hand_by_clicks.py PROBE_CMD... -- MAIN_HWND SERVER_LOG OUT_DIR USER PLAYERS [stop-after-N-turns]
The prober command is run with its arguments appended (under Wine).
"""
import os
import re
import subprocess
import sys
import time

SEP = sys.argv.index("--")
PROBE = sys.argv[1:SEP]
MAIN, LOG, OUT, USER, PLAYERS = sys.argv[SEP + 1:SEP + 6]
PLAYERS = int(PLAYERS)
STOP_AFTER = int(sys.argv[SEP + 6]) if len(sys.argv) > SEP + 6 else -1

IDC_START, IDC_TAKEOUT, IDC_PASS, IDC_SEARCH = 1006, 1016, 1009, 1038
IDC_CALL3 = 1072
HAND_OVER = "id=0x00000215"


T0 = time.time()


def say(msg):
    print("%7.2f %s" % (time.time() - T0, msg), flush=True)


def fail(msg):
    say("FAILED: " + msg)
    sys.exit(1)


def probe(*args):
    r = subprocess.run(PROBE + [str(a) for a in args], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                       stdin=subprocess.DEVNULL)
    return r.returncode, r.stdout.decode("latin-1").replace("\r", "").strip()


def log_lines():
    try:
        with open(LOG, encoding="latin-1") as f:
            return f.read().splitlines()
    except OSError:
        return []


def wait_for(cond, seconds, what):
    end = time.time() + seconds
    while time.time() < end:
        v = cond()
        if v:
            return v
        time.sleep(0.2)
    fail("timed out waiting for " + what)


def state(cid):
    rc, out = probe("state", MAIN, cid)
    if rc != 0 or not out:
        return (False, False)
    v, e = out.split()[:2]
    return (v == "1", e == "1")


def shot(name):
    rc, _ = probe("settled-shot", MAIN, WINE_OUT + "\\" + name + ".png")
    if rc != 0:
        fail("no screenshot " + name)


# ---- the table's picture ----------------------------------------------------------------


def read_png(path):
    """A PNG as (width, height, pixel at (x, y) as (r, g, b)), through ImageMagick's PPM."""
    r = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    data = r.stdout
    m = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    if r.returncode != 0 or not m:
        fail("cannot read the picture " + path)
    w, h = int(m.group(1)), int(m.group(2))
    px, base = data, m.end()
    return w, h, lambda x, y: tuple(px[base + (y * w + x) * 3:base + (y * w + x) * 3 + 3])


def is_table(px):
    """The green of the table (the theme's background and fill)."""
    r, g, b = px
    return g > 60 and r < 40 and b < 100


# ---- the player's picture of the table --------------------------------------------------


def card_key(code, hand):
    """The order the table shows a hand in: more of a rank first, then rank, then suit
    (both high first), then the code."""
    def rank_suit(c):
        v = c % 54
        return (v - 39, v) if v >= 52 else (v % 13, v // 13)
    counts = {}
    for c in hand:
        r = rank_suit(c)[0]
        counts[r] = counts.get(r, 0) + 1
    r, s = rank_suit(code)
    return (-counts[r], -r, -s, code)


def sorted_hand(hand):
    return sorted(hand, key=lambda c: card_key(c, hand))


class Table:
    def __init__(self, view, w, h):
        self.view, self.w, self.h = view, w, h

    def card_point(self, index, n):
        """A point inside own card `index` of `n` that the next card leaves uncovered."""
        cw, step = 71, 16
        cx = self.w // 2
        width = cw + (n - 1) * 20 if n > 0 else 0
        r = cx - (width + 143) // 2 + (55 if n >= 22 else 0)
        x = r + 143 + index * step
        y = self.h - 147
        return x + 5, y + 40  # inside whether raised or not

    def own_left(self, n):
        width = 71 + (n - 1) * 20 if n > 0 else 0
        return self.w // 2 - (width + 143) // 2 + (55 if n >= 22 else 0)

    def picture(self, name):
        """The view's pixels as the screen shows them, in client coordinates."""
        rc, _ = probe("settled-shot", self.view, WINE_OUT + "\\" + name + ".png")
        if rc != 0:
            fail("no picture of the table")
        _, rect = probe("rect", self.view)
        left, top, right, bottom = (int(v) for v in rect.split())
        bx, by = (right - left - self.w) // 2, (bottom - top - self.h) // 2
        _, _, at = read_png(os.path.join(OUT, name + ".png"))
        return lambda x, y: at(x + bx, y + by)

    def raised(self, n, px):
        """The indexes of the own cards that stand raised (selected). Above the unraised row
        a raised card shows its grey left edge at its own place; a card left unraised there
        lies under the face of a raised neighbour or under nothing."""
        top = self.h - 147 - 20
        x0 = self.own_left(n) + 143

        def edge(c):
            r, g, b = c
            return 80 <= r <= 170 and abs(r - g) < 12 and abs(g - b) < 12
        return [i for i in range(n) if all(edge(px(x0 + i * 16, top + dy)) for dy in (6, 10, 14))]

    def click(self, index, n, ctrl=False):
        x, y = self.card_point(index, n)
        args = ["mouse", self.view, x, y] + (["ctrl"] if ctrl else [])
        probe(*args)


def my_seat():
    def find():
        for line in log_lines():
            m = re.match(r"login %s seat (\d+)" % re.escape(USER), line)
            if m:
                return m.group(1)
        return None
    return int(wait_for(find, 60, "the login"))


def cards_of(prefix, seat, after=0):
    pat = re.compile(r"%s seat %d:(( \d+)*)$" % (prefix, seat))
    for line in log_lines()[after:]:
        m = pat.match(line)
        if m:
            return [int(x) for x in m.group(1).split()]
    return None


def client_plays(seat):
    pat = re.compile(r"client play seat %d:(( \d+)*)$" % seat)
    return [[int(x) for x in m.group(1).split()] for m in (pat.match(l) for l in log_lines()) if m]


def turns_given(seat):
    """How often the table gave this seat the turn: the declarer's first lead, then every
    play that names it next."""
    lines = log_lines()
    n = sum(1 for l in lines if l.startswith("table play next %d by" % seat))
    n += sum(1 for l in lines if l.startswith("bottom seat %d:" % seat))
    return n


def open_box():
    rc, out = probe("list")
    for line in out.splitlines():
        parts = line.split(" ", 4)
        if len(parts) >= 4 and parts[2] == "1" and parts[3] == "#32770":
            return parts[0]
    return None


def check_seats(table, n):
    """Every seat shows its avatar, and the two other seats their tier badges once the tier
    service has answered (the own badge may lie under the turn marker)."""
    weblog = os.environ.get("E2E_WEBLOG")
    if not weblog:
        fail("no web peer log given")

    def asked():
        try:
            return any("GET /tiers?usernames=" + USER in l for l in open(weblog, encoding="latin-1"))
        except OSError:
            return False
    wait_for(asked, 30, "the tier query at the web peer")
    cy = table.h // 2
    e = cy - 78
    avatars = [(16, e + 6), (table.w - 104, e + 6), (table.own_left(n) + 6, table.h - 161)]
    badges = [(114, cy - 27), (table.w - 113 - 30, cy - 27)]

    def shown():
        px = table.picture("seats")
        bad = [a for a in avatars if is_table(px(a[0] + 45, a[1] + 50))]
        bad += [b for b in badges if all(is_table(px(b[0] + dx, b[1] + 8)) for dx in range(4, 26, 3))]
        return not bad
    wait_for(shown, 30, "the avatars and the tier badges at the seats")
    shot("seats")


def main():
    global WINE_OUT
    WINE_OUT = os.environ["E2E_WINOUT"]
    seat = my_seat()
    # The player starts the hand with 开始 (the wait clock would start it too, but only once
    # the whole turn time has passed).
    def dealt():
        cards = cards_of("deal", seat)
        if cards:
            return cards
        if state(IDC_START) == (True, True):
            probe("click", MAIN, IDC_START)
        return None
    hand = wait_for(dealt, 90, "the deal")
    expected = {3: 17, 4: 25}[PLAYERS]
    if len(hand) != expected:
        fail("dealt %d cards, expected %d" % (len(hand), expected))

    rc, out = probe("children", MAIN)
    takeout = next((l.split()[0] for l in out.splitlines() if l.split()[1:2] == [str(IDC_TAKEOUT)]), None)
    if not takeout:
        fail("no play button on the table")
    _, view = probe("parent", takeout)
    _, size = probe("client", view)
    w, h = (int(v) for v in size.split())
    table = Table(view, w, h)
    # The dealt table has no start button any more.
    wait_for(lambda: not state(IDC_START)[0], 30, "the start button to go with the deal")
    shot("deal")

    # Bidding: the player bids three points with the bid button; the bottom cards then are
    # ours. The bidding must come to the player and the bid must be the click's, not the
    # clock's. The bid comes before the slow checks of the seats: the player's clock runs
    # from the deal when the player bids first, and a clock run out bids "no bid" for it.
    def bid_or_over():
        if state(IDC_CALL3) == (True, True):
            return "bid"
        if any(re.match(r"bottom seat \d+:", l) for l in log_lines()):
            return "over"
        return None
    if wait_for(bid_or_over, 60, "the own bid") != "bid":
        fail("the bidding ended without the player's turn to bid")
    shot("bidding")
    probe("click", MAIN, IDC_CALL3)
    bid = wait_for(lambda: cards_of("client bid", seat), 20, "the bid at the server")
    if bid != [3]:
        fail("clicked the three-point bid but the server saw %s" % bid)
    if any(re.match(r"trusteeship %s" % re.escape(USER), l) for l in log_lines()):
        fail("the bid went by the clock")
    bottom = wait_for(lambda: [l for l in log_lines() if re.match(r"bottom seat \d+:", l)], 30, "the bottom cards")
    m = re.match(r"bottom seat (\d+):(( \d+)*)$", bottom[0])
    declarer = int(m.group(1)) == seat
    if declarer:
        hand += [int(x) for x in m.group(2).split()]
    say("seat %d, declarer %s, %d cards" % (seat, declarer, len(hand)))
    check_seats(table, len(hand))

    turns, played_any, illegal_done, hinted = 0, False, False, False
    raised = set(int(x) for x in m.group(2).split()) if declarer else set()
    while True:
        def my_turn_or_over():
            if any(HAND_OVER in l for l in log_lines()):
                return "over"
            # The table gave the turn to this seat once more than it has acted.
            if turns_given(seat) > turns and state(IDC_TAKEOUT)[0]:
                return "turn"
            return None
        if wait_for(my_turn_or_over, 120, "the own turn") == "over":
            break
        if STOP_AFTER >= 0 and turns >= STOP_AFTER:
            break
        turns += 1
        before = len(client_plays(seat))
        say("turn %d: %d cards, free lead %s" % (turns, len(hand), not state(IDC_PASS)[1]))
        order = sorted_hand(hand)
        n = len(order)
        free_lead = not state(IDC_PASS)[1]
        if raised:
            # The bottom cards come in raised: Ctrl on one of them drops every selection.
            table.click(order.index(next(iter(raised))), n, ctrl=True)
            raised = set()
        if free_lead and not illegal_done and n >= 4:
            # An illegal selection: the lowest card and, with Ctrl, the run of four up
            # from it (the smallest groups of the hand: singles); the play button then
            # shows the refusal and sends nothing.
            table.click(n - 1, n)
            table.click(n - 4, n, ctrl=True)
            wait_for(lambda: state(IDC_TAKEOUT)[1], 10, "the play button with cards selected")
            shot("cards_selected")
            probe("click", MAIN, IDC_TAKEOUT)
            box = wait_for(open_box, 15, "the refusal box")
            # Nothing was sent: the next play the server sees is the legal one below.
            # The program's boxes are the skinned ones: their first button is 29714, and they
            # take the button's own command (a posted click does not reach a skinned button).
            probe("post", box, "0x111", "29714")
            wait_for(lambda: open_box() is None, 15, "the refusal box to close")
            # Ctrl on a selected card with several selected clears them all.
            table.click(n - 1, n, ctrl=True)
            illegal_done = True
        if free_lead:
            # The lowest card, and the highest clicked on and off again.
            table.click(n - 1, n)
            table.click(0, n)
            table.click(0, n)
            chosen = [order[n - 1]]
            if not played_any:
                wait_for(lambda: state(IDC_TAKEOUT)[1], 10, "the play button with one card")
                shot("one_card_selected")
            probe("click", MAIN, IDC_TAKEOUT)
        else:
            # Follow with the hint; a second press shows the next hint.
            probe("click", MAIN, IDC_SEARCH)
            if not hinted:
                probe("click", MAIN, IDC_SEARCH)
                hinted = True
            # The hint selected something (play enabled) or, finding nothing, passed.
            wait_for(lambda: state(IDC_TAKEOUT)[1] or len(client_plays(seat)) > before, 10, "the hint")
            # No hint at all acts as a pass by itself: the server sees an empty play.
            chosen = []
            if len(client_plays(seat)) == before:
                # What the hint selected, as the table shows it: the raised cards.
                picked = table.raised(n, table.picture("hint_%d" % turns))
                if not picked:
                    fail("the play button is enabled but no card stands raised")
                chosen = [order[i] for i in picked]
                say("  the hint raised %s" % chosen)
                probe("click", MAIN, IDC_TAKEOUT)
        plays = wait_for(lambda: client_plays(seat)[before:] or None, 20, "the play at the server")
        sent = plays[0]
        say("  the server saw %s" % sent)
        if sorted(sent) != sorted(chosen):
            fail("selected %s but the server saw %s" % (chosen, sent))
        for c in sent:
            if c not in hand:
                fail("the server saw card %d that the hand does not hold" % c)
            hand.remove(c)
        played_any = played_any or bool(sent)
        if turns == 2:
            shot("mid_play")
    if STOP_AFTER < 0:
        wait_for(lambda: state(IDC_START)[0], 30, "the start button after the hand")
        shot("hand_over")
        if not played_any:
            fail("the hand ended without a play of the own")
    say("%d own turns, %d plays at the server" % (turns, len(client_plays(seat))))


main()
