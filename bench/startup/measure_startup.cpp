// Starts a program on the current X display and prints two numbers: the
// milliseconds from its start until its first window is mapped, and its
// peak resident memory in KiB, read when it ends after idling a second
// with that window shown.
//
//   measure_startup PROGRAM [ARGUMENTS...]
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

struct Disconnect {
    void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};

// Blocks until a window is mapped anywhere on the display, or 30 s pass.
bool waitForMappedWindow(xcb_connection_t* connection)
{
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    pollfd display{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (Clock::now() < deadline) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped)
                return true;
        }
        poll(&display, 1, 10);
    }
    return false;
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
    // Without a window manager, every top-level window maps as a child of
    // the root: watch the root's children.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection.get())).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection.get(), root, XCB_CW_EVENT_MASK, &mask);
    std::free(xcb_get_input_focus_reply(connection.get(), xcb_get_input_focus(connection.get()),
                                        nullptr));

    const auto started = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    const bool shown = waitForMappedWindow(connection.get());
    const auto mapped = Clock::now();
    sleep(1);
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    if (!shown) {
        std::fprintf(stderr, "%s showed no window\n", argv[1]);
        return 1;
    }
    std::printf("%.1f %ld\n", std::chrono::duration<double, std::milli>(mapped - started).count(),
                usage.ru_maxrss);
    return 0;
}
