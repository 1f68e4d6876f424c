// Starts a program on the current X display, which should have no window
// manager, and prints three numbers: the milliseconds from its start until
// its first window is mapped, and until that window's first frame is drawn;
// then its peak resident memory in KiB, read when it ends after idling a
// second with that window shown.
//
//   measure_startup PROGRAM [ARGUMENTS...]
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};

struct Shown {
    Clock::time_point mapped;
    Clock::time_point drawn;
};

// Blocks until a window is mapped anywhere on the display and then drawn
// on, or 30 s pass. Mapping alone shows nothing yet: the program paints
// after the server tells it the window is exposed.
std::optional<Shown> waitForFirstFrame(xcb_connection_t* connection, uint8_t damageEvent)
{
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    pollfd display{xcb_get_file_descriptor(connection), POLLIN, 0};
    std::optional<Clock::time_point> mapped;
    while (Clock::now() < deadline) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const uint8_t type = event->response_type & 0x7f;
            std::free(event);
            if (type == XCB_MAP_NOTIFY && !mapped)
                mapped = Clock::now();
            else if (type == damageEvent && mapped)
                return Shown{*mapped, Clock::now()};
        }
        poll(&display, 1, 10);
    }
    return std::nullopt;
}

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    std::unique_ptr<xcb_connection_t, Disconnect> connection(xcb_connect(nullptr, nullptr));
    if (xcb_connection_has_error(connection.get())) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    xcb_connection_t* const x = connection.get();
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(x, &xcb_damage_id);
    if (!damage || !damage->present) {
        std::fprintf(stderr, "the X server has no DAMAGE extension\n");
        return 2;
    }
    std::free(xcb_damage_query_version_reply(x, xcb_damage_query_version(x, 1, 1), nullptr));

    // Without a window manager, every top-level window maps as a child of
    // the root, and whatever it draws lands on the root: watch both.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_damage_create(x, xcb_generate_id(x), root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    std::free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));

    const auto started = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    const std::optional<Shown> shown =
        waitForFirstFrame(x, damage->first_event + XCB_DAMAGE_NOTIFY);
    sleep(1);
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!shown) {
        std::fprintf(stderr, "%s showed no window\n", argv[1]);
        return 1;
    }
    std::printf("%.1f %.1f %ld\n", millisecondsBetween(started, shown->mapped),
                millisecondsBetween(started, shown->drawn), usage.ru_maxrss);
    return 0;
}
