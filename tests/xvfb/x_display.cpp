#include "x_display.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kStartTimeoutMs = 20000;

Display* Dpy(void* display) {
    return static_cast<Display*>(display);
}

// The display number Xvfb writes to `fd` once it accepts clients; "" when it does not.
std::string ReadDisplayNumber(int fd) {
    std::string number;
    pollfd wait{fd, POLLIN, 0};
    char c = 0;
    while (poll(&wait, 1, kStartTimeoutMs) > 0 && read(fd, &c, 1) == 1 && c != '\n') number += c;
    return c == '\n' ? number : "";
}

}  // namespace

VirtualDisplay::VirtualDisplay() {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return;
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        // The server ends with the tests, however they end.
        if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || getppid() != parent) _exit(127);
        close(pipeFds[0]);
        int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        std::string fd = std::to_string(pipeFds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
               "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    std::string number = pid_ > 0 ? ReadDisplayNumber(pipeFds[0]) : "";
    close(pipeFds[0]);
    if (!number.empty()) name_ = ":" + number;
}

VirtualDisplay::~VirtualDisplay() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
}

void RoundTrip(void* display) {
    XSync(static_cast<Display*>(display), False);
}

XInput::XInput(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
    int event, error, major, minor;
    if (display_ && !XTestQueryExtension(Dpy(display_), &event, &error, &major, &minor)) {
        XCloseDisplay(Dpy(display_));
        display_ = nullptr;
    }
}

XInput::~XInput() {
    if (display_) XCloseDisplay(Dpy(display_));
}

unsigned XInput::KeycodeOf(unsigned long keysym, bool* shifted) {
    KeyCode code = XKeysymToKeycode(Dpy(display_), keysym);
    if (code == 0) {
        // Put the keysym on a key that carries none, as a keyboard layout could.
        int low = 0, high = 0, perKey = 0;
        XDisplayKeycodes(Dpy(display_), &low, &high);
        KeySym* map = XGetKeyboardMapping(Dpy(display_), KeyCode(low), high - low + 1, &perKey);
        for (int key = high; key >= low && code == 0; --key) {
            bool empty = true;
            for (int i = 0; i < perKey; ++i) empty = empty && map[(key - low) * perKey + i] == 0;
            if (empty) code = KeyCode(key);
        }
        XFree(map);
        XChangeKeyboardMapping(Dpy(display_), code, 1, &keysym, 1);
        XSync(Dpy(display_), False);
    }
    *shifted = XkbKeycodeToKeysym(Dpy(display_), code, 0, 0) != keysym &&
               XkbKeycodeToKeysym(Dpy(display_), code, 0, 1) == keysym;
    return code;
}

void XInput::Chord(const std::vector<const char*>& keys) {
    std::vector<unsigned> pressed;
    bool shifted = false;
    for (const char* name : keys) {
        KeySym keysym = XStringToKeysym(name);
        if (keysym == NoSymbol) {
            std::fprintf(stderr, "XInput: no keysym is named %s\n", name);
            std::abort();
        }
        pressed.push_back(KeycodeOf(keysym, &shifted));
        XTestFakeKeyEvent(Dpy(display_), pressed.back(), True, CurrentTime);
    }
    for (auto key = pressed.rbegin(); key != pressed.rend(); ++key)
        XTestFakeKeyEvent(Dpy(display_), *key, False, CurrentTime);
    XFlush(Dpy(display_));
}

void XInput::Type(const std::string& text) {
    for (char c : text) {
        bool shifted = false;
        unsigned code = KeycodeOf(static_cast<unsigned char>(c), &shifted);  // Latin-1 keysyms
        unsigned shift = XKeysymToKeycode(Dpy(display_), XK_Shift_L);
        if (shifted) XTestFakeKeyEvent(Dpy(display_), shift, True, CurrentTime);
        XTestFakeKeyEvent(Dpy(display_), code, True, CurrentTime);
        XTestFakeKeyEvent(Dpy(display_), code, False, CurrentTime);
        if (shifted) XTestFakeKeyEvent(Dpy(display_), shift, False, CurrentTime);
    }
    XFlush(Dpy(display_));
}

void XInput::Click(int x, int y) {
    XTestFakeMotionEvent(Dpy(display_), -1, x, y, CurrentTime);
    XTestFakeButtonEvent(Dpy(display_), Button1, True, CurrentTime);
    XTestFakeButtonEvent(Dpy(display_), Button1, False, CurrentTime);
    XFlush(Dpy(display_));
}

void XInput::RequestClose(unsigned long window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(Dpy(display_), "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] =
        static_cast<long>(XInternAtom(Dpy(display_), "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(Dpy(display_), window, False, NoEventMask, &event);
    XFlush(Dpy(display_));
}

void XInput::Sync() {
    XSync(Dpy(display_), False);
}
