// The display's retraces as the X server counts them, through its Present extension: a wait for
// the retrace a picture should go out at, and the rate they come at. On a server that drives a
// screen this is the screen's own refresh; on one that drives none (Xvfb, the dummy driver) the
// server keeps a clock of its own, and presents follow that.
#pragma once

#include <cstdint>
#include <memory>

struct xcb_connection_t;
struct xcb_special_event;

class X11RetraceClock {
public:
    // Null when the server has no Present extension. `connection` and `window` are the X11
    // connection and window the pictures go to; the connection must outlive the clock.
    static std::unique_ptr<X11RetraceClock> Create(xcb_connection_t* connection, uint32_t window);
    ~X11RetraceClock();
    X11RetraceClock(const X11RetraceClock&) = delete;
    X11RetraceClock& operator=(const X11RetraceClock&) = delete;

    // Waits until `interval` retraces have passed since the last wait ended: at once where that
    // retrace is already past, and for nothing at an interval of 0. False when the server did
    // not answer within a tenth of a second (the next wait then starts afresh). After a few such
    // timeouts in a row the clock counts as stopped: it waits no more, and says so once on
    // standard error.
    bool WaitForRetrace(int interval);
    // Whether the server has stopped answering.
    bool Stopped() const { return timeouts >= kTimeoutsToStop; }
    // Retraces a second, from the server's own timestamps over the last second or more; 0 until
    // measured, and once stopped.
    double Hertz() const { return Stopped() ? 0.0 : hertz; }

private:
    static constexpr int kTimeoutsToStop = 3;

    X11RetraceClock(xcb_connection_t* connection, uint32_t window, uint32_t eventId,
                    xcb_special_event* events);
    // Sends a request to be told at retrace `target` (0: now) and waits for its answer.
    bool Notify(uint64_t target);
    // Counts retrace `msc`, stamped `ust` microseconds by the server, into the rate's span.
    void NoteRetrace(uint64_t ust, uint64_t msc);

    xcb_connection_t* connection;
    uint32_t window;
    uint32_t eventId;
    xcb_special_event* events;
    uint32_t serial = 0;
    bool known = false;  // lastMsc is the server's count at the end of the last wait
    uint64_t lastMsc = 0;
    // The start of the span the rate is measured over: the server's microseconds and count.
    bool spanStarted = false;
    uint64_t spanUst = 0;
    uint64_t spanMsc = 0;
    double hertz = 0.0;
    int timeouts = 0;  // waits in a row the server did not answer
};
