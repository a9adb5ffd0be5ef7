#!/usr/bin/env python3
"""Writes a vdir of reminders for the store and AI tools benchmarks: two
accounts, twelve lists, one VTODO per .ics file.

Due dates are spread over sixty days either side of today (some all day,
some at a time in a zone, in UTC or floating), some reminders have none;
some repeat, and a few of those have a later occurrence open beside the
first, as a sync may leave them; some are completed, a few of them today.
Some carry notes, a priority, a location alarm. The output is the same for
the same seed and day.

    python3 bench/store/make_vdir.py FOLDER [COUNT, default 10000]
"""

import datetime
import os
import random
import sys

ACCOUNTS = {
    "Personal": ["Home", "Groceries", "Errands", "Health", "Family", "Garden", "Travel", "Reading"],
    "Work": ["Projects", "Meetings", "Admin", "Follow-ups"],
}
WORDS = ("call mom buy milk dentist pay rent book flights water plants send invoice pick up kids review "
         "report renew passport clean garage fix bike email Sarah plan budget order parts update notes "
         "check tyres return library books prepare slides").split()
ZONES = ["Europe/Amsterdam", "Europe/London", "America/New_York"]
FREQUENCIES = ["DAILY", "WEEKLY", "MONTHLY", "YEARLY"]


def stamp(moment):
    return moment.strftime("%Y%m%dT%H%M%SZ")


def item(rng, uid, title, today, now, rule=None, due_day=None):
    lines = ["BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//Tavlin//bench//EN", "BEGIN:VTODO", "UID:" + uid]
    created = now - datetime.timedelta(days=rng.randint(1, 400), seconds=rng.randint(0, 86399))
    lines += ["DTSTAMP:" + stamp(created), "CREATED:" + stamp(created), "LAST-MODIFIED:" + stamp(created)]
    lines.append("SUMMARY:" + title)
    if rng.random() < 0.2:
        lines.append("DESCRIPTION:Notes for " + title.lower() + "\\, written a while ago\\nsecond line")
    if due_day is None and rng.random() >= 0.15:
        due_day = today + datetime.timedelta(days=rng.randint(-60, 60))
    if due_day is not None:
        day = due_day.strftime("%Y%m%d")
        kind = rng.random()
        time = "T%02d%02d00" % (rng.randint(7, 21), rng.choice([0, 15, 30, 45]))
        if kind < 0.5:
            lines.append("DUE;VALUE=DATE:" + day)
        elif kind < 0.8:
            lines.append("DUE;TZID=%s:%s%s" % (rng.choice(ZONES), day, time))
        elif kind < 0.9:
            lines.append("DUE:%s%sZ" % (day, time))
        else:
            lines.append("DUE:%s%s" % (day, time))
    priority = rng.choice([0, 0, 0, 1, 5, 9])
    if priority:
        lines.append("PRIORITY:%d" % priority)
    done = rng.random() < 0.1
    if done:
        when = now - datetime.timedelta(minutes=rng.randint(5, 600)) if rng.random() < 0.3 else \
            now - datetime.timedelta(days=rng.randint(1, 90))
        lines += ["STATUS:COMPLETED", "COMPLETED:" + stamp(when), "PERCENT-COMPLETE:100"]
    else:
        lines.append("STATUS:NEEDS-ACTION")
    if rule:
        lines.append("RRULE:" + rule)
    if rng.random() < 0.05:
        lines += ["BEGIN:VALARM", "ACTION:DISPLAY", "DESCRIPTION:Reminder",
                  "TRIGGER;VALUE=DATE-TIME:19760401T005545Z", "X-APPLE-PROXIMITY:ARRIVE",
                  "X-APPLE-STRUCTURED-LOCATION;VALUE=URI;X-APPLE-RADIUS=150;X-TITLE=Home:geo:52.37,4.89",
                  "END:VALARM"]
    lines += ["END:VTODO", "END:VCALENDAR"]
    return "\r\n".join(lines) + "\r\n"


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    root, count = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 10000
    rng = random.Random(29)
    today = datetime.date.today()
    now = datetime.datetime.utcnow().replace(microsecond=0)
    folders = []
    for account, lists in ACCOUNTS.items():
        for order, name in enumerate(lists):
            folder = os.path.join(root, account, name.lower())
            os.makedirs(folder, exist_ok=True)
            with open(os.path.join(folder, "displayname"), "w") as f:
                f.write(name)
            with open(os.path.join(folder, "order"), "w") as f:
                f.write(str(order))
            folders.append(folder)
    # Uneven lists: the first ones hold most.
    weights = [len(folders) - i for i in range(len(folders))]
    written = 0
    while written < count:
        folder = rng.choices(folders, weights)[0]
        title = " ".join(rng.choice(WORDS) for _ in range(rng.randint(1, 5))).capitalize()
        rule = None
        occurrences = 1
        if rng.random() < 0.1:
            rule = "FREQ=" + rng.choice(FREQUENCIES)
            if rng.random() < 0.3:
                rule += ";INTERVAL=%d" % rng.randint(2, 3)
            if rng.random() < 0.3:
                occurrences = rng.randint(2, 3)
        first_day = today + datetime.timedelta(days=rng.randint(-60, 40))
        for occurrence in range(min(occurrences, count - written)):
            uid = "bench-%05d" % written
            day = first_day + datetime.timedelta(days=7 * occurrence) if occurrences > 1 else None
            with open(os.path.join(folder, uid + ".ics"), "w", newline="") as f:
                f.write(item(rng, uid, title, today, now, rule, day))
            written += 1


if __name__ == "__main__":
    main()
