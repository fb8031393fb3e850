// The display's retraces as the game sees them: where a swap waits for a retrace, it returns at
// one, so the times swaps return at lie on a lattice of the display's own period, whatever rate
// the platform claims. Kept from those returns alone, it tells where the next retraces fall,
// and whether the swaps wait at all: a swap aimed at a retrace that returns well before it did
// not wait, and one that returns off the lattice waits for something else.
#pragma once

#include <cstdint>

class RetraceLattice {
public:
    // Forgets what was seen: a display said to refresh `hertz` times a second (0: unknown, and
    // then nothing is kept).
    void Reset(double hertz);
    double NominalHertz() const { return nominalHertz; }
    // Whether swaps have been seen to return at retraces, the last one included.
    bool Locked() const { return locked; }
    // Whether it is time to aim a present at a retrace, to find out whether swaps wait: at
    // once at first, then less and less often while they are seen not to.
    bool ProbeDue(uint64_t now) const;
    // Nanoseconds between retraces, as measured.
    double Period() const { return period; }
    // The retrace the last present went out at.
    double LastRetrace() const { return last; }
    // The first retrace at or after `at`.
    double RetraceAtOrAfter(double at) const;
    // A swap returned at `returned`, having been aimed at the retrace `target` (0: not aimed).
    void Returned(double target, double returned);

private:
    void Unlock(double returned);
    double Tolerance() const;

    double nominalHertz = 0.0;
    double nominalPeriod = 0.0;
    bool anchored = false;
    bool locked = false;
    double anchor = 0.0;  // a retrace, the one the period is measured from
    double period = 0.0;
    double last = 0.0;
    int misses = 0;  // returns off the lattice in a row
    double nextProbe = 0.0;
    double probeSpacing = 0.0;
};
