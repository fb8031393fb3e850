#include "platform/x11/x11_retrace_clock.h"

#include <poll.h>
#include <xcb/present.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kAnswerTimeoutMs = 100;
constexpr uint64_t kRateSpanMicroseconds = 1000000;
// Retraces the first measure of the rate spans.
constexpr uint64_t kFirstSpanRetraces = 6;

}  // namespace

std::unique_ptr<X11RetraceClock> X11RetraceClock::Create(xcb_connection_t* connection,
                                                         uint32_t window) {
    const xcb_query_extension_reply_t* extension =
        xcb_get_extension_data(connection, &xcb_present_id);
    if (extension == nullptr || !extension->present) {
        return nullptr;
    }
    xcb_present_query_version_reply_t* version = xcb_present_query_version_reply(
        connection, xcb_present_query_version(connection, XCB_PRESENT_MAJOR_VERSION, 0), nullptr);
    if (version == nullptr) {
        return nullptr;
    }
    std::free(version);
    const uint32_t eventId = xcb_generate_id(connection);
    xcb_special_event* events =
        xcb_register_for_special_xge(connection, &xcb_present_id, eventId, nullptr);
    if (events == nullptr) {
        return nullptr;
    }
    xcb_present_select_input(connection, eventId, window, XCB_PRESENT_EVENT_MASK_COMPLETE_NOTIFY);
    std::unique_ptr<X11RetraceClock> clock(
        new X11RetraceClock(connection, window, eventId, events));
    // A server that never answers is found now, not at the first frame; and a span of a few
    // retraces gives a first measure of their rate. One retrace would not do: a server whose
    // retraces are a timer of its own stamps each a millisecond or so late, and that measure
    // decides whether its retraces are taken for the display's at all.
    if (!clock->Notify(0)) {
        return nullptr;
    }
    for (uint64_t retrace = 0; retrace <= kFirstSpanRetraces; ++retrace) {
        if (!clock->WaitForRetrace(1)) {
            return nullptr;
        }
    }
    return clock;
}

X11RetraceClock::X11RetraceClock(xcb_connection_t* xcb, uint32_t target, uint32_t id,
                                 xcb_special_event* queue)
    : connection(xcb), window(target), eventId(id), events(queue) {}

X11RetraceClock::~X11RetraceClock() {
    xcb_present_select_input(connection, eventId, window, 0);
    xcb_unregister_for_special_event(connection, events);
    xcb_flush(connection);
}

bool X11RetraceClock::WaitForRetrace(int interval) {
    if (interval <= 0) {
        return true;
    }
    if (Stopped()) {
        return false;
    }
    if (Notify(known ? lastMsc + static_cast<uint64_t>(interval) : 0)) {
        timeouts = 0;
        return true;
    }
    // A counter that stopped (a screen switched off, a server that lost its clock) would
    // otherwise cost a tenth of a second a frame for good.
    if (++timeouts == kTimeoutsToStop) {
        std::fprintf(stderr,
                     "skimlark: the X server stopped counting retraces; pacing by the clock\n");
    }
    return false;
}

bool X11RetraceClock::Notify(uint64_t target) {
    const uint32_t asked = ++serial;
    xcb_present_notify_msc(connection, window, asked, target, 0, 0);
    xcb_flush(connection);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(kAnswerTimeoutMs);
    for (;;) {
        // Answers to earlier requests that timed out are passed over.
        while (xcb_generic_event_t* event = xcb_poll_for_special_event(connection, events)) {
            const auto* complete = reinterpret_cast<xcb_present_complete_notify_event_t*>(event);
            const bool ours = complete->event_type == XCB_PRESENT_EVENT_COMPLETE_NOTIFY &&
                              complete->kind == XCB_PRESENT_COMPLETE_KIND_NOTIFY_MSC &&
                              complete->serial == asked;
            const uint64_t ust = complete->ust;
            const uint64_t msc = complete->msc;
            std::free(event);
            if (!ours) {
                continue;
            }
            // Only an answer at a retrace waited for marks a retrace's time (one for "now" is
            // stamped with the moment it was asked).
            if (target != 0) {
                NoteRetrace(ust, msc);
            }
            known = true;
            lastMsc = msc;
            return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0 || xcb_connection_has_error(connection) != 0) {
            known = false;
            return false;
        }
        pollfd descriptor = {xcb_get_file_descriptor(connection), POLLIN, 0};
        poll(&descriptor, 1, static_cast<int>(left));
    }
}

void X11RetraceClock::NoteRetrace(uint64_t ust, uint64_t msc) {
    if (!spanStarted || msc <= spanMsc || ust <= spanUst) {
        spanStarted = true;
        spanUst = ust;
        spanMsc = msc;
        return;
    }
    // A first figure over a few retraces, then one a second.
    const bool first = hertz == 0.0 && msc - spanMsc >= kFirstSpanRetraces;
    if (first || ust - spanUst >= kRateSpanMicroseconds) {
        hertz = static_cast<double>(msc - spanMsc) * 1e6 / static_cast<double>(ust - spanUst);
        spanUst = ust;
        spanMsc = msc;
    }
}
