/* Launches a program and reports how long it takes until a top-level window of a given size
 * is mapped on the X display, optionally its peak resident memory some time after launch.
 *
 *   map_watch [--size WxH] [--hold MS] [--hwm] [--timeout MS] -- program [args...]
 *
 * The watcher selects SubstructureNotify on the root window before the program starts, so no
 * map can be missed; the clock starts just before fork. Prints one line:
 *
 *   map_ms=<ms> [hwm_kb=<kB>]
 *
 * --size   the window to wait for (any size when left out)
 * --hold   keep the program running until MS after launch before reading memory and ending it
 * --hwm    print VmHWM of the program's process at the end of the hold
 * Exits 0 when the window was mapped, 1 on timeout or when the program ended first. The
 * program is always ended (SIGTERM, then SIGKILL) before the watcher exits. */
#define _POSIX_C_SOURCE 200809L

#include <X11/Xlib.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (double)ts.tv_sec * 1e3 + (double)ts.tv_nsec / 1e6;
}

static void sleep_ms(double ms) {
    if (ms <= 0) return;
    struct timespec ts;
    ts.tv_sec = (time_t)(ms / 1e3);
    ts.tv_nsec = (long)((ms - (double)ts.tv_sec * 1e3) * 1e6);
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

/* VmHWM of `pid` in kB, or -1. */
static long read_hwm_kb(pid_t pid) {
    char path[64];
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE* file = fopen(path, "r");
    if (!file) return -1;
    char line[256];
    long kb = -1;
    while (fgets(line, sizeof line, file))
        if (strncmp(line, "VmHWM:", 6) == 0) {
            kb = strtol(line + 6, NULL, 10);
            break;
        }
    fclose(file);
    return kb;
}

/* Ends the child: SIGTERM, up to a second to go, then SIGKILL. */
static void end_child(pid_t pid) {
    if (kill(pid, SIGTERM) != 0) {
        waitpid(pid, NULL, 0);
        return;
    }
    for (int i = 0; i < 100; ++i) {
        if (waitpid(pid, NULL, WNOHANG) == pid) return;
        sleep_ms(10);
    }
    kill(pid, SIGKILL);
    waitpid(pid, NULL, 0);
}

static int child_gone(pid_t pid) {
    return waitpid(pid, NULL, WNOHANG) == pid;
}

static void usage(void) {
    fprintf(
        stderr,
        "usage: map_watch [--size WxH] [--hold MS] [--hwm] [--timeout MS] -- program [args...]\n");
}

int main(int argc, char** argv) {
    int want_w = -1, want_h = -1, hwm = 0;
    double hold = 0, timeout = 20000;
    int i = 1;
    for (; i < argc; ++i) {
        if (strcmp(argv[i], "--") == 0) {
            ++i;
            break;
        } else if (strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            if (sscanf(argv[++i], "%dx%d", &want_w, &want_h) != 2) return usage(), 2;
        } else if (strcmp(argv[i], "--hold") == 0 && i + 1 < argc) {
            hold = atof(argv[++i]);
        } else if (strcmp(argv[i], "--timeout") == 0 && i + 1 < argc) {
            timeout = atof(argv[++i]);
        } else if (strcmp(argv[i], "--hwm") == 0) {
            hwm = 1;
        } else {
            return usage(), 2;
        }
    }
    if (i >= argc) return usage(), 2;

    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "map_watch: cannot open display\n");
        return 2;
    }
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC); /* not the program's */

    const double start = now_ms();
    pid_t pid = fork();
    if (pid < 0) {
        perror("map_watch: fork");
        return 2;
    }
    if (pid == 0) {
        execvp(argv[i], argv + i);
        perror("map_watch: exec");
        _exit(127);
    }

    double mapped = -1;
    const int fd = ConnectionNumber(display);
    while (mapped < 0) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != MapNotify) continue;
            const double at = now_ms();
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(display, event.xmap.window, &attributes)) continue;
            if (want_w >= 0 && (attributes.width != want_w || attributes.height != want_h))
                continue;
            mapped = at - start;
            break;
        }
        if (mapped >= 0) break;
        const int gone = child_gone(pid);
        if (gone || now_ms() - start > timeout) {
            fprintf(stderr, "map_watch: no %dx%d window mapped\n", want_w, want_h);
            if (!gone) end_child(pid);
            return 1;
        }
        struct pollfd wait = {fd, POLLIN, 0};
        poll(&wait, 1, 50);
    }

    printf("map_ms=%.2f", mapped);
    if (hold > 0) sleep_ms(hold - (now_ms() - start));
    if (hwm) printf(" hwm_kb=%ld", read_hwm_kb(pid));
    printf("\n");
    fflush(stdout);
    end_child(pid);
    XCloseDisplay(display);
    return 0;
}
