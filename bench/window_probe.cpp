// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

// usage: window_probe TITLE PROGRAM [ARGS...]
// Starts PROGRAM on $DISPLAY and prints, in milliseconds from the fork, when its window
// whose title contains TITLE was mapped and when the program first drew into it, then
// the program's peak resident memory in KiB once it has settled. No window manager
// must run: top-level windows are then children of the root window.
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

[[noreturn]] void die(const char* message) {
    std::fprintf(stderr, "window_probe: %s\n", message);
    std::exit(1);
}

bool titleContains(xcb_connection_t* c, xcb_window_t window, const char* title) {
    const auto cookie =
        xcb_get_property(c, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
    const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(c, cookie, nullptr), &std::free);
    if (!reply) {
        return false;
    }
    const std::string name(static_cast<const char*>(xcb_get_property_value(reply.get())),
                           std::size_t(xcb_get_property_value_length(reply.get())));
    return name.find(title) != std::string::npos;
}

long peakKiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        die("usage: window_probe TITLE PROGRAM [ARGS...]");
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        die("cannot open the display");
    }
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c, &xcb_damage_id);
    if (!damage || !damage->present) {
        die("the X server has no DAMAGE extension");
    }
    xcb_discard_reply(c, xcb_damage_query_version(c, 1, 1).sequence);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    double mapped = -1;
    double drawn = -1;
    xcb_window_t target = XCB_NONE;
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    while (drawn < 0) {
        xcb_generic_event_t* event = xcb_poll_for_event(c);
        if (!event) {
            if (xcb_connection_has_error(c) || poll(&fd, 1, 10000) <= 0) {
                kill(pid, SIGKILL);
                die("no window was drawn within 10 s");
            }
            continue;
        }
        const int type = event->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            // Watched from its creation, so that no drawing can slip past.
            const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event);
            xcb_damage_create(c, xcb_generate_id(c), created->window,
                              XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(c);
        } else if (type == XCB_MAP_NOTIFY && target == XCB_NONE) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            if (titleContains(c, map->window, argv[1])) {
                mapped = msSince(start);
                target = map->window;
            }
        } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
            const auto* notify = reinterpret_cast<xcb_damage_notify_event_t*>(event);
            if (target != XCB_NONE && notify->drawable == target) {
                drawn = msSince(start);
            }
        }
        std::free(event);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const long peak = peakKiB(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    xcb_disconnect(c);
    std::printf("%.1f %.1f %ld\n", mapped, drawn, peak);
    return 0;
}
